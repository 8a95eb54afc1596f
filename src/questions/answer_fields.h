// F1 and the restore of an answers file: the two operations over every answer
// field, written once over the verdict's controls for the program's question
// panel and the web page, so both show the same verdicts, reveal texts, score
// and code for the same answers. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "judge.h"
#include "quiz_content.h"

// F1 in answer field fieldId: its text (the first 259 bytes) goes into every
// answer field whose feedback label does not read "BRAVO", and the fields are
// judged as the focus moving from field to field judges the one it leaves,
// ending back in fieldId.
void FillUnsolved(QuizContent& quiz, VerdictControls& controls, int fieldId);

// Puts an answers file into the answer fields of rowCount rows and judges
// them as the question panel does when it is built: from a clean state
// (every feedback label "?", every reveal label empty, nothing revealed),
// one saved line per field in field order (ReadSavedLine), then each field
// judged as the focus leaves it, from the first to the last and back to the
// first. A lone field is never left, so it keeps "?"; the score is written
// all the same.
void RestoreAnswers(QuizContent& quiz, VerdictControls& controls, int rowCount, const uint8_t* bytes, size_t size);

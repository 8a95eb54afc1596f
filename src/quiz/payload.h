// The two quiz payloads after decompression: the quiz (texts, counts,
// questions, reveal texts, colour) and the score codes. Portable.
//
// Every scan is bounded by the decompressed length; a payload that ends
// before its grammar does is read as far as it goes:
//  - a text field or code line that runs to the end of the data ends there;
//  - fields and code lines past the end are empty, and the quiz still gets
//    questionCount records, so question numbers and codes keep lining up;
//  - a byte past the end (visibility, count, answers per question, reveal
//    mode) leaves its field as it was; the colour is taken only when all
//    three bytes are there, otherwise the current colour stays;
//  - a text longer than 259 bytes after expansion is cut at 259 bytes, never
//    between the CR and the LF of a line break (it then ends at 258); the rest
//    of the field is still consumed up to its `|`;
//  - a code line longer than 259 bytes is cut at 259 bytes, the rest of the
//    line is consumed up to its CR;
//  - code lines past the 96th are read and dropped: a quiz with more questions
//    than code slots shows no code for those scores.
#pragma once
#include <cstdint>

#include "quiz/quiz_content.h"

// Reads one text field from data[cursor] up to its `|` (or the end of the
// data), expanding backslash-n-X into CR LF and skipping zero bytes. The
// cursor ends on the byte after the `|`, or at length. Returns false when the
// data ended before the `|`.
bool readField(const uint8_t* data, uint32_t length, uint32_t& cursor, char destination[TextSize]);

struct QuizPayloadResult {
  bool colourRead;  // the three colour bytes were there: make the brush from them
  bool complete;    // every byte and field of the grammar was there
};

// Fills the header texts, counts, question list, reveal texts and colour bytes
// of a freshly constructed quiz from the decompressed quiz resource.
QuizPayloadResult ParseQuizPayload(const uint8_t* data, uint32_t length, QuizContent& quiz);

// Fills scoreCodes from the decompressed codes resource: questionCount lines,
// each ended by CR and one more byte. Returns false when the data ended early.
bool ParseScoreCodes(const uint8_t* data, uint32_t length, QuizContent& quiz);

// The quiz played when the program carries no quiz: header texts, 30
// questions without records, colour 53, 203, 163 (the caller makes the brush).
void InstallTestQuiz(QuizContent& quiz);

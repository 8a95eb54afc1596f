// Accepted answers: further spellings an answer field takes as right besides
// its expected answer ("Curie" for "Marie Curie"). They travel in a block of
// their own after the quiz payload's three colour bytes, where a reader of
// the plain format stops reading: such a reader still plays the quiz by its
// expected answers. This file is the block's one owner: the tools write it
// here and the player reads it here. Portable.
//
// The block, integers little-endian:
//   4 bytes  signature "LXAA"
//   1 byte   version, 1
//   2 bytes  number of entries, 1 to MaxAcceptedEntries
//   4 bytes  length of the body in bytes
//   4 bytes  checksum of the body (32-bit FNV-1a)
//   body     the entries, answer fields in increasing order, each:
//              2 bytes  answer field number k (control IDC_ANSWER_BASE + k)
//              1 byte   number of answers, 1 to MaxAcceptedAnswers
//              per answer: 2 bytes length (1 to MaxTextLength), then its
//              bytes (Windows-1252, no zero byte)
// A block that is absent, foreign (another signature or version), cut short,
// over a bound, out of order or whose checksum fails is ignored as a whole,
// as any other bytes after the colour are.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_format.h"

enum : uint32_t {
  AcceptedBlockHeaderSize = 15,
  MaxAcceptedEntries = MaxQuestions * MaxAnswersPerQuestion,
};

// The accepted answers of one answer field.
struct AcceptedAnswers {
  int fieldNumber = 0;  // k: the field's control is IDC_ANSWER_BASE + k
  int count = 0;
  char texts[MaxAcceptedAnswers][TextSize] = {};
};

// An entry as a tool writes it: the answers as the quiz holds them.
struct AcceptedEntry {
  int fieldNumber = 0;
  std::vector<std::string> answers;
};

// Appends the block for entries (fields without answers are left out; no
// block at all when none has any) to a quiz payload that ends with its
// colour bytes. Entries must be within the bounds above; the tools check
// them before (an entry past a bound is cut to it).
void AppendAcceptedBlock(std::vector<uint8_t>& payload, const std::vector<AcceptedEntry>& entries);

// Reads the block at data[cursor], for a quiz of fieldLimit answer fields.
// Returns the bytes it spans and fills answers (ordered by field number),
// or returns 0 and leaves answers empty when there is no valid block there.
uint32_t ReadAcceptedBlock(const uint8_t* data, uint32_t length, uint32_t cursor, int fieldLimit,
                           std::vector<AcceptedAnswers>& answers);

// The accepted answers of answer field k, or null when it has none.
const AcceptedAnswers* AcceptedAnswersOf(const std::vector<AcceptedAnswers>& answers, int fieldNumber);

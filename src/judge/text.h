// Text comparison primitives on zero-terminated byte strings of at most
// MaxTextLength bytes (Windows-1252). No state, no heap.
#pragma once

#include "quiz_format.h"

void TrimSpaces(char* text);                               // trailing, then leading 0x20 bytes, in place
void UpperCaseAscii(char* text);                           // a-z to A-Z only, in place
int FindContained(const char* first, const char* second);  // +2, -2, 0, +1, -1
// Sorts the bytes ascending, compared as signed: 0x80-0xFF before 0x01-0x7F.
void SortLetters(char* text);
// The same bytes, each the same number of times: their sorted copies are equal.
bool AreAnagrams(const char* first, const char* second);

// The Levenshtein distance of the two texts when it is at most bound (0 or more);
// bound + 1 when it is larger.
int BoundedEditDistance(const char* first, const char* second, int bound);
// The distance itself: no two texts of MaxTextLength bytes are farther apart than that.
inline int EditDistance(const char* first, const char* second) {
  return BoundedEditDistance(first, second, MaxTextLength);
}

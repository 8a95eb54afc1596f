#include "text.h"

#include <cstdint>
#include <cstring>

namespace {

// Every text comes from a 260-byte field: nothing past 259 bytes is looked at.
const size_t MaxLength = 259;

size_t BoundedLength(const char* text) { return strnlen(text, MaxLength); }

}  // namespace

void TrimSpaces(char* text) {
  size_t length = BoundedLength(text);
  // The first byte is left to the leading pass, so a text of spaces only
  // keeps one here and loses it below.
  for (size_t p = length; p > 1 && text[p - 1] == ' '; --p) {
    text[p - 1] = 0;
    length = p - 1;
  }
  size_t leading = 0;
  while (leading < length && text[leading] == ' ') ++leading;
  if (leading > 0) std::memmove(text, text + leading, length - leading);
  text[length - leading] = 0;
}

void UpperCaseAscii(char* text) {
  for (size_t i = 0; i < MaxLength && text[i] != 0; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 0x20);
  }
}

void SortLetters(char* text) {
  size_t length = BoundedLength(text);
  if (length < 2) return;
  // After each pass the greatest byte of the pass rests at its end, so the
  // next pass stops one pair earlier.
  bool exchanged = true;
  for (size_t end = length; exchanged && end > 1; --end) {
    exchanged = false;
    for (size_t i = 0; i + 1 < end; ++i) {
      // Signed order: the accented bytes 0x80-0xFF come before 0x01-0x7F.
      signed char left = static_cast<signed char>(text[i]);
      signed char right = static_cast<signed char>(text[i + 1]);
      if (left > right) {
        text[i] = static_cast<char>(right);
        text[i + 1] = static_cast<char>(left);
        exchanged = true;
      }
    }
  }
}

int EditDistance(const char* first, const char* second) {
  size_t firstLength = BoundedLength(first);
  size_t secondLength = BoundedLength(second);
  if (firstLength == 0) return static_cast<int>(secondLength);
  if (secondLength == 0) return static_cast<int>(firstLength);

  // One fixed table in the call's own storage: no allocation per verdict.
  int32_t cells[MaxLength + 1][MaxLength + 1];
  for (size_t i = 0; i <= firstLength; ++i) cells[i][0] = static_cast<int32_t>(i);
  for (size_t j = 0; j <= secondLength; ++j) cells[0][j] = static_cast<int32_t>(j);
  // Cell (i, j) is the least of (i - 1, j) + 1, (i - 1, j - 1) + cost and
  // (i, j - 1) + 1. Unrolled along the row, the last term makes cell (i, j)
  // j plus the least of (best from above at k) - k over k <= j, with cell
  // (i, 0) as the start. Keeping that running least leaves a single compare
  // between neighbouring cells instead of an add-and-compare chain; the
  // cells are the same.
  for (size_t i = 1; i <= firstLength; ++i) {
    const int32_t* above = cells[i - 1];
    int32_t* row = cells[i];
    const char byte = first[i - 1];
    int32_t least = row[0];
    int32_t diagonal = above[0];
    for (size_t j = 1; j <= secondLength; ++j) {
      const int32_t column = static_cast<int32_t>(j);
      int32_t deletion = above[j] + 1;
      int32_t substitution = diagonal + (byte == second[j - 1] ? 0 : 1);
      diagonal = above[j];
      int32_t fromAbove = (deletion < substitution ? deletion : substitution) - column;
      if (fromAbove < least) least = fromAbove;
      row[j] = least + column;
    }
  }
  return cells[firstLength][secondLength];
}

int FindContained(const char* first, const char* second) {
  size_t firstLength = BoundedLength(first);
  size_t secondLength = BoundedLength(second);
  const char* shortText = first;
  const char* longText = second;
  size_t shortLength = firstLength;
  size_t longLength = secondLength;
  int sign = 1;
  if (secondLength < firstLength) {
    shortText = second;
    longText = first;
    shortLength = secondLength;
    longLength = firstLength;
    sign = -1;
  }
  if (shortLength == 0) return sign;

  // One pass, never stepping back: the byte that breaks a run is the next
  // candidate start, so an occurrence beginning inside a failed run is missed.
  size_t j = 0;
  for (;;) {
    while (j < longLength && longText[j] != shortText[0]) ++j;
    if (j == longLength) return 0;
    size_t count = 0;
    while (j < longLength && count < shortLength && longText[j] == shortText[count]) {
      ++j;
      ++count;
    }
    if (count == shortLength) return 2 * sign;
  }
}

bool AreAnagrams(const char* first, const char* second) {
  char firstSorted[MaxLength + 1];
  char secondSorted[MaxLength + 1];
  size_t firstLength = BoundedLength(first);
  size_t secondLength = BoundedLength(second);
  if (firstLength != secondLength) return false;
  std::memcpy(firstSorted, first, firstLength);
  firstSorted[firstLength] = 0;
  std::memcpy(secondSorted, second, secondLength);
  secondSorted[secondLength] = 0;
  SortLetters(firstSorted);
  SortLetters(secondSorted);
  // The sorted copies are at distance 0 exactly when they are the same bytes:
  // comparing them directly gives that answer without a second distance table.
  return std::memcmp(firstSorted, secondSorted, firstLength) == 0;
}

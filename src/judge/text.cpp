#include "text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "quiz_format.h"

namespace {

// Every text comes from a 260-byte field: nothing past its last byte is looked at.
size_t BoundedLength(const char* text) { return strnlen(text, MaxTextLength); }

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
  for (size_t i = 0; i < MaxTextLength && text[i] != 0; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 0x20);
  }
}

int BoundedEditDistance(const char* first, const char* second, int bound) {
  const int firstLength = static_cast<int>(BoundedLength(first));
  const int secondLength = static_cast<int>(BoundedLength(second));
  const int beyond = bound + 1;
  // Cell (i, j) of the table is the distance between the first i bytes of
  // first and the first j of second. Reaching it costs at least |j - i|, and
  // going on from it to the last cell at least |shift - (j - i)| more, where
  // shift = secondLength - firstLength. A cell where the two add up to more
  // than bound lies on no path of cost bound or less, so it is taken as
  // beyond: that keeps the diagonals j - i from low to high, about bound + 1
  // of them. Cells of the paths that cost bound or less keep their values.
  const int shift = secondLength - firstLength;
  if (shift > bound || -shift > bound) return beyond;  // each byte of difference costs one
  if (firstLength == 0 || secondLength == 0) return firstLength + secondLength;
  const int low = -((bound - shift) / 2);  // (shift - bound) / 2 rounded up
  const int high = (bound + shift) / 2;    // rounded down

  int row[MaxTextLength + 1];  // row[j]: cell (i, j) of the row being computed, or of the row above
  for (int j = 0; j <= secondLength; ++j) row[j] = j <= high ? j : beyond;
  for (int i = 1; i <= firstLength; ++i) {
    const int from = std::max(i + low, 1);
    const int to = std::min(i + high, secondLength);
    const char byte = first[i - 1];
    int diagonal = row[from - 1];  // cell (i - 1, j - 1)
    // Cell (i, from - 1): column 0, or outside the band.
    const int before = from - 1 == 0 ? i : beyond;
    row[from - 1] = before;
    // Cell (i, j) is the least of (i - 1, j) + 1, (i - 1, j - 1) + cost and
    // (i, j - 1) + 1. Unrolled along the row, the last term makes it j plus
    // the least of (best from above at k) - k over the row so far: keeping
    // that running least leaves one comparison between neighbouring cells.
    int least = before - (from - 1);
    for (int j = from; j <= to; ++j) {
      const int above = row[j];  // beyond when j has just entered the band
      int fromAbove = diagonal + (byte == second[j - 1] ? 0 : 1);
      if (above + 1 < fromAbove) fromAbove = above + 1;
      diagonal = above;
      if (fromAbove - j < least) least = fromAbove - j;
      row[j] = least + j;
    }
    // Every path to the last cell crosses this row: when all its cells are
    // beyond, so is the distance (looked at every 8 rows, where it is cheap).
    if (i % 8 == 0) {
      int rowLeast = before;
      for (int j = from; j <= to; ++j) rowLeast = row[j] < rowLeast ? row[j] : rowLeast;
      if (rowLeast >= beyond) return beyond;
    }
  }
  return row[secondLength] < beyond ? row[secondLength] : beyond;
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

void SortLetters(char* text) {
  // A counting sort: the same order as sorting by exchanges, in one pass over
  // the text and one over the 256 byte values.
  const size_t length = BoundedLength(text);
  size_t counts[256] = {};
  for (size_t i = 0; i < length; ++i) ++counts[static_cast<unsigned char>(text[i])];
  size_t at = 0;
  for (int value = -128; value < 128; ++value) {
    const unsigned char byte = static_cast<unsigned char>(static_cast<signed char>(value));
    for (size_t n = counts[byte]; n > 0; --n) text[at++] = static_cast<char>(byte);
  }
}

bool AreAnagrams(const char* first, const char* second) {
  const size_t length = BoundedLength(first);
  if (BoundedLength(second) != length) return false;
  char firstSorted[MaxTextLength + 1];
  char secondSorted[MaxTextLength + 1];
  std::memcpy(firstSorted, first, length);
  firstSorted[length] = 0;
  std::memcpy(secondSorted, second, length);
  secondSorted[length] = 0;
  SortLetters(firstSorted);
  SortLetters(secondSorted);
  // Sorted copies at distance 0 are the same bytes.
  return std::memcmp(firstSorted, secondSorted, length) == 0;
}

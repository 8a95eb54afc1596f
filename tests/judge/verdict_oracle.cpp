#include "verdict_oracle.h"

#include <cstdint>
#include <cstring>

#include "verdict.h"

// The oracle shares nothing with the verdict it checks but the words: its
// own copies, trimming, upper-casing, containment scan and distance.
namespace {

const size_t MaxLength = 259;

size_t BoundedLength(const char* text) { return strnlen(text, MaxLength); }

size_t CopyCut(char (&buffer)[MaxLength + 1], const char* text) {
  size_t length = BoundedLength(text);
  std::memcpy(buffer, text, length);
  buffer[length] = 0;
  return length;
}

bool SortedCopiesEqual(const char* first, const char* second) {
  char firstSorted[MaxLength + 1];
  char secondSorted[MaxLength + 1];
  size_t firstLength = CopyCut(firstSorted, first);
  size_t secondLength = CopyCut(secondSorted, second);
  if (firstLength != secondLength) return false;
  BubbleSortLetters(firstSorted);
  BubbleSortLetters(secondSorted);
  return std::memcmp(firstSorted, secondSorted, firstLength) == 0;
}

// Trailing spaces, then leading ones; a text of spaces only becomes empty.
void OracleTrim(char* text) {
  size_t end = BoundedLength(text);
  while (end > 0 && text[end - 1] == ' ') --end;
  size_t begin = 0;
  while (begin < end && text[begin] == ' ') ++begin;
  std::memmove(text, text + begin, end - begin);
  text[end - begin] = 0;
}

void OracleUpperCase(char* text) {
  for (size_t i = 0; i < MaxLength && text[i] != 0; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
  }
}

// The containment scan with its one quirk written out: after a failed run,
// the next start is where the run broke, never inside it.
int OracleContained(const char* first, const char* second) {
  const size_t firstLength = BoundedLength(first), secondLength = BoundedLength(second);
  const bool secondShorter = secondLength < firstLength;
  const char* shortText = secondShorter ? second : first;
  const char* longText = secondShorter ? first : second;
  const size_t shortLength = secondShorter ? secondLength : firstLength;
  const size_t longLength = secondShorter ? firstLength : secondLength;
  const int sign = secondShorter ? -1 : 1;
  if (shortLength == 0) return sign;
  size_t j = 0;
  while (j < longLength) {
    if (longText[j] != shortText[0]) {
      ++j;
      continue;
    }
    size_t matched = 0;
    while (j < longLength && matched < shortLength && longText[j] == shortText[matched]) ++j, ++matched;
    if (matched == shortLength) return 2 * sign;
  }
  return 0;
}

}  // namespace

void BubbleSortLetters(char* text) {
  size_t length = BoundedLength(text);
  if (length < 2) return;
  bool exchanged = true;
  for (size_t end = length; exchanged && end > 1; --end) {
    exchanged = false;
    for (size_t i = 0; i + 1 < end; ++i) {
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

int FullEditDistance(const char* first, const char* second) {
  size_t firstLength = BoundedLength(first);
  size_t secondLength = BoundedLength(second);
  if (firstLength == 0) return static_cast<int>(secondLength);
  if (secondLength == 0) return static_cast<int>(firstLength);
  // Cell (i, j) is the least of (i - 1, j) + 1, (i - 1, j - 1) + cost and
  // (i, j - 1) + 1; the last term is kept as a running least along the row.
  int32_t cells[MaxLength + 1][MaxLength + 1];
  for (size_t i = 0; i <= firstLength; ++i) cells[i][0] = static_cast<int32_t>(i);
  for (size_t j = 0; j <= secondLength; ++j) cells[0][j] = static_cast<int32_t>(j);
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

const char* OracleVerdict(const char* expected, const char* typed) {
  char typedText[MaxLength + 1];
  char expectedText[MaxLength + 1];
  CopyCut(typedText, typed);
  OracleTrim(typedText);
  OracleUpperCase(typedText);
  size_t expectedLength = CopyCut(expectedText, expected);
  OracleUpperCase(expectedText);
  size_t typedLength = std::strlen(typedText);

  if (typedLength == 0) return VerdictEmpty;
  int distance = FullEditDistance(expectedText, typedText);
  if (distance == 0) return VerdictBravo;
  if (SortedCopiesEqual(expectedText, typedText)) return VerdictAnagram;
  if (distance == 1) return VerdictAlmost;
  if (distance == 2) return VerdictNearly;
  int contained = OracleContained(expectedText, typedText);
  if (contained == 2) return VerdictTooLong;
  if (contained == -2) {
    if (expectedLength <= 9) return VerdictWrong;
    if (100 * typedLength > 70 * expectedLength) return VerdictTooShort;
    if (100 * typedLength > 50 * expectedLength) return VerdictNotFar;
    return VerdictWrong;
  }
  size_t larger = expectedLength > typedLength ? expectedLength : typedLength;
  size_t alike = larger - static_cast<size_t>(distance);
  if (100 * alike > 80 * larger) return VerdictSomeIdea;
  return VerdictWrong;
}

const char* OracleBestVerdict(const char* expected, const std::vector<std::string>& accepted, const char* typed) {
  const char* const merit[] = {VerdictBravo,  VerdictAnagram,  VerdictAlmost,  VerdictNearly,   VerdictTooLong,
                               VerdictTooShort, VerdictNotFar, VerdictSomeIdea, VerdictWrong, VerdictEmpty};
  const auto place = [&](const char* word) {
    int k = 0;
    while (std::strcmp(merit[k], word) != 0) ++k;
    return k;
  };
  const char* best = OracleVerdict(expected, typed);
  for (const std::string& answer : accepted) {
    const char* word = OracleVerdict(answer.c_str(), typed);
    if (place(word) < place(best)) best = word;
  }
  return best;
}

#include "verdict.h"

#include <cstring>

#include "accepted_answers.h"
#include "quiz_format.h"
#include "text.h"

const char VerdictBravo[] = "BRAVO";
const char VerdictWrong[] = "FAUX";
const char VerdictAnagram[] = "Anagramme";
const char VerdictAlmost[] = "Quasiment";
const char VerdictNearly[] = "Presque";
const char VerdictTooLong[] = "Trop long";
const char VerdictTooShort[] = "Trop court";
const char VerdictNotFar[] = "pas loin";
// Spelled in bytes: the web page's compiler (clang) writes literals in UTF-8.
const char VerdictSomeIdea[] =
    "y a de l'id\xE9"
    "e";
const char VerdictEmpty[] = "?";

const char* ChooseVerdict(const char* expected, const char* typed) {
  // Both are read as a control read with a 260-byte limit would give them.
  char typedText[TextSize];
  char expectedText[TextSize];
  CopyText(typedText, typed);
  TrimSpaces(typedText);
  UpperCaseAscii(typedText);
  // The expected answer is upper-cased but not trimmed.
  size_t expectedLength = CopyText(expectedText, expected);
  UpperCaseAscii(expectedText);
  size_t typedLength = std::strlen(typedText);

  if (typedLength == 0) return VerdictEmpty;
  // Distance 0 is the same bytes.
  if (typedLength == expectedLength && std::memcmp(typedText, expectedText, typedLength) == 0) return VerdictBravo;
  // Before the distance hints: a swap of two letters costs 2 but is an anagram.
  if (AreAnagrams(expectedText, typedText)) return VerdictAnagram;

  // Past distance 2 the distance decides only "y a de l'idée", which asks for
  // 100 (L - D) / L > 80, that is D <= (L - 1) / 5 (L the larger length). A
  // distance above that bound gives "FAUX" whatever it is, so it is computed
  // only up to the bound: a farther pair comes back as bound + 1, which fails
  // the test below as the real distance would.
  size_t larger = expectedLength > typedLength ? expectedLength : typedLength;
  int bound = static_cast<int>((larger - 1) / 5);
  if (bound < 2) bound = 2;
  int distance = BoundedEditDistance(expectedText, typedText, bound);
  if (distance == 1) return VerdictAlmost;
  if (distance == 2) return VerdictNearly;

  // Percentages are compared in integers, strictly: 100 * a / b > t is
  // 100 * a > t * b, so a value exactly at a threshold does not pass it.
  int contained = FindContained(expectedText, typedText);
  if (contained == 2) return VerdictTooLong;
  if (contained == -2) {
    if (expectedLength <= 9) return VerdictWrong;
    if (100 * typedLength > 70 * expectedLength) return VerdictTooShort;
    if (100 * typedLength > 50 * expectedLength) return VerdictNotFar;
    return VerdictWrong;
  }
  size_t alike = larger - static_cast<size_t>(distance);
  if (100 * alike > 80 * larger) return VerdictSomeIdea;
  return VerdictWrong;
}

namespace {

// Better verdicts come first; "?" never competes (nothing typed is judged
// the same against every answer).
const char* const VerdictsBestFirst[] = {VerdictBravo,   VerdictAnagram,  VerdictAlmost,
                                         VerdictNearly,  VerdictTooLong,  VerdictTooShort,
                                         VerdictNotFar,  VerdictSomeIdea, VerdictWrong};

int RankOf(const char* verdict) {
  int rank = 0;
  for (const char* word : VerdictsBestFirst) {
    if (word == verdict) return rank;
    ++rank;
  }
  return rank;
}

}  // namespace

const char* ChooseBestVerdict(const char* expected, const AcceptedAnswers* accepted, const char* typed) {
  const char* best = ChooseVerdict(expected, typed);
  if (accepted == nullptr || best == VerdictBravo || best == VerdictEmpty) return best;
  for (int k = 0; k < accepted->count && k < MaxAcceptedAnswers; ++k) {
    const char* word = ChooseVerdict(accepted->texts[k], typed);
    if (RankOf(word) < RankOf(best)) best = word;
    if (best == VerdictBravo) break;
  }
  return best;
}

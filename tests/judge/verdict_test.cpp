// The verdict choice: every row, the order of the rows, the strict thresholds,
// and the exact bytes of the words that the labels show.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "judge/verdict.h"

namespace {

// The words as Windows-1252 bytes, written as escapes so that no charset
// setting can make a wrong literal agree with itself.
const char Bravo[] = "BRAVO";
const char Wrong[] = "FAUX";
const char Anagram[] = "Anagramme";
const char Almost[] = "Quasiment";
const char Nearly[] = "Presque";
const char TooLong[] = "Trop long";
const char TooShort[] = "Trop court";
const char NotFar[] = "pas loin";
const char SomeIdea[] = "y a de l'id\xE9" "e";
const char Empty[] = "?";

struct VerdictCase {
  const char* expected;
  const char* typed;
  const char* word;
};

TEST(ChooseVerdict, FollowsTheRowsInOrder) {
  const VerdictCase cases[] = {
      // Nothing typed.
      {"Paris", "", Empty},
      {"Paris", "   ", Empty},
      {"", "", Empty},
      // Right: the typed text is trimmed and upper-cased, the expected one only upper-cased.
      {"Paris", "  paris  ", Bravo},
      {"paris", "PARIS", Bravo},
      {" Paris", "paris", Almost},
      {"Paris", "\tparis", Almost},           // a tab is not trimmed
      {"LA MER", "la  mer", Almost},
      // The anagram row comes before the distance rows.
      {"PARIS", "PRAIS", Anagram},
      {"AB", "BA", Anagram},
      {"NICHE", "chien", Anagram},
      {"LA MER", "merla", Wrong},             // the space counts: no anagram
      {"LA MER", "mer la", Anagram},
      // Distances 1 and 2 come before containment.
      {"PARIS", "PARI", Almost},
      {"PARIS", "PAR", Nearly},
      {"PARIS", "PARISS", Almost},
      {"PARIS", "PARISXX", Nearly},
      {"CONSTANTINOPLE", "CONSTANTINOP", Nearly},
      // Accents are neither folded nor upper-cased.
      {"\xC9lan", "elan", Almost},
      {"\xE9lan", "\xC9LAN", Almost},
      {"\xE9l\xE8ve", "ELEVE", Nearly},
      // Containment.
      {"PARIS", "PARISIENNE", TooLong},
      {"CONSTANTINOPLE", "CONSTANTIN", TooShort},   // 71.4
      {"CONSTANTINOPLE", "constant", NotFar},       // 57.1
      {"CONSTANTINOPLE", "CONST", Wrong},           // 35.7
      {"ABCDEFGHIJ", "ABCDEFG", NotFar},            // exactly 70
      {"ABCDEFGHIJK", "ABCDEFGH", TooShort},        // 72.7
      {"ABCDEFGHIJ", "ABCDEF", NotFar},             // 60
      {"ABCDEFGHIJ", "ABCDE", Wrong},               // exactly 50
      {"ABCDEFGHIJKL", "ABCDEF", Wrong},            // exactly 50
      {"ABCDEFGHIJKLM", "ABCDEFG", NotFar},         // 53.8
      {"BORDEAUX", "BORD", Wrong},                  // expected answer of 9 bytes or less
      {"BORDEAUX", "BORDE", Wrong},
      {"ABCDEFGHI", "ABCDEF", Wrong},
      // Likeness, against the larger length.
      {"ROME", "PARIS", Wrong},
      {"ABCDEFGHIJKLMNOP", "ABCXEFYHIJZLMNOP", SomeIdea},  // 81.25
      {"ABCDEFGHIJKLMNO", "ABCXEFYHIJZLMNO", Wrong},       // exactly 80
      {"ABCDEFGHIJKLMNO", "xbcyefghijklmnoq", SomeIdea},   // 13 of 16, not 12 of 15
      // An empty expected answer.
      {"", "A", Almost},
      {"", "AB", Nearly},
      {"", "ABC", Wrong},
  };
  for (const VerdictCase& c : cases) {
    EXPECT_STREQ(ChooseVerdict(c.expected, c.typed), c.word) << c.expected << " / " << c.typed;
  }
}

TEST(ChooseVerdict, LooksAtNoMoreThan259Bytes) {
  const std::string expected(259, 'A');
  const struct {
    std::string typed;
    const char* word;
  } cases[] = {
      {std::string(400, 'a'), Bravo},                        // the rest is cut, as by the read
      {std::string(258, 'A'), Almost},
      {std::string(259, 'B'), Wrong},
      {std::string(259, 'A') + std::string(40, 'B'), Bravo},
      {std::string(300, ' ') + "A", Empty},                  // the A is past the cut
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(ChooseVerdict(expected.c_str(), c.typed.c_str()), c.word) << c.typed.size();
    std::string longExpected = expected + "XYZ";
    EXPECT_STREQ(ChooseVerdict(longExpected.c_str(), c.typed.c_str()), c.word) << c.typed.size();
  }
}

TEST(VerdictWords, AreTheExactWindows1252Bytes) {
  const struct {
    const char* word;
    const char* bytes;
    size_t length;
  } cases[] = {
      {VerdictBravo, Bravo, 5},
      {VerdictWrong, Wrong, 4},
      {VerdictAnagram, Anagram, 9},
      {VerdictAlmost, Almost, 9},
      {VerdictNearly, Nearly, 7},
      {VerdictTooLong, TooLong, 9},
      {VerdictTooShort, TooShort, 10},
      {VerdictNotFar, NotFar, 8},
      {VerdictSomeIdea, SomeIdea, 13},
      {VerdictEmpty, Empty, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::strlen(c.word), c.length) << c.bytes;
    EXPECT_STREQ(c.word, c.bytes);
  }
  EXPECT_EQ(static_cast<unsigned char>(VerdictSomeIdea[11]), 0xE9u);
  EXPECT_EQ(static_cast<unsigned char>(VerdictSomeIdea[12]), 'e');
}

}  // namespace

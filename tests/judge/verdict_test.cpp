// The verdict choice: every row, the order of the rows, the strict thresholds,
// the 259-byte cut and the exact bytes of the words that the labels show.
#include "verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Escapes, so that no charset setting can make a wrong literal agree with itself.
const char Bravo[] = "BRAVO", Wrong[] = "FAUX", Anagram[] = "Anagramme", Almost[] = "Quasiment", Nearly[] = "Presque",
           TooLong[] = "Trop long", TooShort[] = "Trop court", NotFar[] = "pas loin",
           SomeIdea[] = "y a de l'id\xE9\x65", Empty[] = "?";

TEST(ChooseVerdict, FollowsTheRowsInOrder) {
  const std::string A259(259, 'A');
  // clang-format off
  const struct { std::string expected, typed; const char* word; } cases[] = {
      {"Paris", "   ", Empty},
      {"", "", Empty},
      {"Paris", "  paris  ", Bravo},  // typed text trimmed and upper-cased
      {"paris", "PARIS", Bravo},
      {" Paris", "paris", Almost},    // the expected one only upper-cased
      {"Paris", "\tparis", Almost},   // a tab is not trimmed
      {"AB", "BA", Anagram},          // before the distance rows
      {"NICHE", "chien", Anagram},
      {"LA MER", "merla", Wrong},     // the space counts: no anagram
      {"PARIS", "PARI", Almost},
      {"PARIS", "PAR", Nearly},
      {"PARIS", "PARISS", Almost},    // distances before containment
      {"CONSTANTINOPLE", "CONSTANTINOP", Nearly},
      {"\xC9lan", "elan", Almost},    // accents neither folded nor upper-cased
      {"\xE9lan", "\xC9LAN", Almost},
      {"PARIS", "PARISIENNE", TooLong},
      {"CONSTANTINOPLE", "CONSTANTIN", TooShort},  // 71.4
      {"ABCDEFGHIJ", "ABCDEFG", NotFar},           // exactly 70
      {"CONSTANTINOPLE", "constant", NotFar},      // 57.1
      {"ABCDEFGHIJ", "ABCDE", Wrong},              // exactly 50
      {"BORDEAUX", "BORDE", Wrong},                // expected answer of 9 bytes or less
      {"ABCDEFGHI", "ABCDEF", Wrong},
      {"ROME", "PARIS", Wrong},
      {"ABCDEFGHIJKLMNOP", "ABCXEFYHIJZLMNOP", SomeIdea},  // 81.25
      {"ABCDEFGHIJKLMNO", "ABCXEFYHIJZLMNO", Wrong},       // exactly 80
      {"ABCDEFGHIJKLMNO", "xbcyefghijklmnoq", SomeIdea},   // 13 of 16, not 12 of 15
      {"", "A", Almost},
      {"", "ABC", Wrong},
      {A259 + "XYZ", std::string(400, 'a'), Bravo},  // both cut, as by the read
      {A259, std::string(258, 'A'), Almost},
      {A259, std::string(300, ' ') + "A", Empty},    // the A is past the cut
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_STREQ(ChooseVerdict(c.expected.c_str(), c.typed.c_str()), c.word) << c.expected << "/" << c.typed;
  }
}

}  // namespace

// The verdict choice: every row, the order of the rows, the strict thresholds,
// the 259-byte cut and the exact bytes of the words that the labels show; and
// the player's verdict and bounded distance against the oracle on many pairs:
// long answers with a few edits (distances around the verdict's bound), and
// texts that share little.
#include "verdict.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/accepted_answer_cases.h"
#include "text.h"
#include "verdict_oracle.h"

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

TEST(FastVerdict, GivesTheOraclesWordAndDistance) {
  std::mt19937 random(2024);
  auto letter = [&] { return "ABCab \xE9"[random() % 7]; };
  for (int n = 0; n < 4000; ++n) {
    std::string expected(random() % 260, ' ');
    for (char& c : expected) c = letter();
    std::string typed = expected;
    for (int edits = random() % 70; edits > 0; --edits) {
      size_t place = random() % (typed.size() + 1);
      switch (random() % 3) {
        case 0:
          if (place < typed.size()) typed[place] = letter();
          break;
        case 1: typed.insert(place, 1, letter()); break;
        default:
          if (place < typed.size()) typed.erase(place, 1);
          break;
      }
    }
    if (n % 4 == 0) typed.resize(random() % (typed.size() + 1));  // cut: contained, or not
    const char *e = expected.c_str(), *t = typed.c_str();         // both read at most 259 bytes
    ASSERT_STREQ(ChooseVerdict(e, t), OracleVerdict(e, t)) << expected << " / " << typed;
    const int distance = FullEditDistance(e, t), bound = n % 8 ? static_cast<int>(random() % 60) : 259;
    ASSERT_EQ(BoundedEditDistance(e, t, bound), distance <= bound ? distance : bound + 1) << bound;
  }
}

// Real answers with the spellings a teacher accepts: the verdict and its
// oracle give the case's word; without accepted answers, the plain verdict.
TEST(ChooseBestVerdict, TakesTheBestWordOverEveryAcceptedAnswer) {
  for (const AcceptedAnswerCase& c : AcceptedAnswerCases()) {
    const std::vector<AcceptedAnswers> accepted = ReadThroughBlock(c.accepted);
    ASSERT_EQ(accepted.empty(), c.accepted.empty()) << c.name;
    const AcceptedAnswers* list = accepted.empty() ? nullptr : &accepted[0];
    EXPECT_STREQ(ChooseBestVerdict(c.expected.c_str(), list, c.typed.c_str()), c.verdict) << c.name;
    EXPECT_STREQ(OracleBestVerdict(c.expected.c_str(), c.accepted, c.typed.c_str()), c.verdict) << c.name;
    EXPECT_STREQ(ChooseBestVerdict(c.expected.c_str(), nullptr, c.typed.c_str()),
                 ChooseVerdict(c.expected.c_str(), c.typed.c_str()))
        << c.name;
  }
}

TEST(ChooseBestVerdict, GivesTheOraclesWord) {
  std::mt19937 random(33);
  auto text = [&](size_t most) {
    std::string made(random() % most, ' ');
    for (char& c : made) c = "ABCab \xE9"[random() % 7];
    return made;
  };
  for (int n = 0; n < 3000; ++n) {
    const std::string expected = text(24), typed = text(24);
    std::vector<std::string> accepted;
    for (int k = random() % (MaxAcceptedAnswers + 1); k > 0; --k) {
      std::string answer = text(24);
      if (!answer.empty()) accepted.push_back(answer);
    }
    const std::vector<AcceptedAnswers> read = ReadThroughBlock(accepted);
    ASSERT_STREQ(ChooseBestVerdict(expected.c_str(), read.empty() ? nullptr : &read[0], typed.c_str()),
                 OracleBestVerdict(expected.c_str(), accepted, typed.c_str()))
        << expected << " / " << typed;
  }
}

}  // namespace

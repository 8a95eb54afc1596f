// The text primitives on the cases that tell a faithful implementation from a
// plausible one: signed byte order, the single-pass containment scan, the
// trimming that keeps tabs and inner spaces.
#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "judge/text.h"

namespace {

struct EditCase {
  const char* text;
  const char* result;
};

std::string Apply(void (*operation)(char*), const char* text) {
  char buffer[260] = {};
  std::strncpy(buffer, text, 259);
  operation(buffer);
  return buffer;
}

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
  const EditCase cases[] = {
      {"  A B  ", "A B"},
      {"   ", ""},
      {" ", ""},
      {"", ""},
      {"A", "A"},
      {"\tA\t", "\tA\t"},
      {" \tA ", "\tA"},
      {"\xA0" "A\xA0", "\xA0" "A\xA0"},   // no-break space is not a space
      {"A  ", "A"},
      {"  A", "A"},
      {"A  B", "A  B"},
  };
  for (const EditCase& c : cases) EXPECT_EQ(Apply(TrimSpaces, c.text), c.result) << '[' << c.text << ']';
}

TEST(TrimSpaces, StopsAt259Bytes) {
  char buffer[300];
  std::memset(buffer, 'A', sizeof buffer);
  buffer[0] = ' ';
  buffer[299] = 0;
  TrimSpaces(buffer);
  EXPECT_EQ(std::strlen(buffer), 258u);  // the 259 bytes looked at, less the space
}

TEST(UpperCaseAscii, LiftsOnlyAToZ) {
  const EditCase cases[] = {
      {"\xE9l\xE8ve 2b", "\xE9L\xE8VE 2B"},  // élève 2b: accents stay as they are
      {"abcxyz", "ABCXYZ"},
      {"`{@[", "`{@["},                      // the neighbours of a-z and A-Z
      {"\xE0\xFF\xC9", "\xE0\xFF\xC9"},
      {"", ""},
  };
  for (const EditCase& c : cases) EXPECT_EQ(Apply(UpperCaseAscii, c.text), c.result) << c.text;
}

TEST(SortLetters, SortsBytesAsSigned) {
  const EditCase cases[] = {
      {"NICHE", "CEHIN"},
      {"CHIEN", "CEHIN"},
      {"LA MER", " AELMR"},
      {"A\xE9", "\xE9" "A"},                 // 0xE9 is negative: before 'A'
      {"\x01\xFF\x80\x7F", "\x80\xFF\x01\x7F"},
      {"BA", "AB"},
      {"Z", "Z"},
      {"", ""},
      {"BBAA", "AABB"},
  };
  for (const EditCase& c : cases) EXPECT_EQ(Apply(SortLetters, c.text), c.result) << c.text;
}

struct DistanceCase {
  const char* first;
  const char* second;
  int distance;
};

TEST(EditDistance, CountsInsertionsDeletionsAndSubstitutions) {
  const DistanceCase cases[] = {
      {"", "ABC", 3},
      {"ABC", "", 3},
      {"", "", 0},
      {"PARIS", "PARIS", 0},
      {"AB", "BA", 2},
      {"CHAT", "CHATS", 1},
      {"MAISON", "RAISONS", 2},
      {"KITTEN", "SITTING", 3},
      {"\xC9LAN", "ELAN", 1},
      {"ABCDEFGHIJ", "ABCDEFG", 3},
  };
  for (const DistanceCase& c : cases) {
    EXPECT_EQ(EditDistance(c.first, c.second), c.distance) << c.first << " / " << c.second;
    EXPECT_EQ(EditDistance(c.second, c.first), c.distance) << c.second << " / " << c.first;
  }
}

TEST(EditDistance, HandlesTwoFullLengthTexts) {
  std::string first(259, 'A');
  std::string second(259, 'B');
  EXPECT_EQ(EditDistance(first.c_str(), second.c_str()), 259);
  second[100] = 'A';
  EXPECT_EQ(EditDistance(first.c_str(), second.c_str()), 258);
  // Longer texts are looked at only up to 259 bytes.
  std::string longer(400, 'A');
  EXPECT_EQ(EditDistance(first.c_str(), longer.c_str()), 0);
}

// The textbook recurrence, one row at a time, as the reference for many
// pairs over a small alphabet, where matches and mismatches mix.
int ReferenceDistance(const std::string& first, const std::string& second) {
  std::vector<int> above(second.size() + 1), row(second.size() + 1);
  for (size_t j = 0; j <= second.size(); ++j) above[j] = static_cast<int>(j);
  for (size_t i = 1; i <= first.size(); ++i) {
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= second.size(); ++j) {
      int cost = first[i - 1] == second[j - 1] ? 0 : 1;
      row[j] = std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + cost});
    }
    above = row;
  }
  return above[second.size()];
}

TEST(EditDistance, AgreesWithTheRecurrenceOnManyPairs) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> letter(0, 3);
  for (int n = 0; n < 2000; ++n) {
    std::string first(length(random), ' ');
    std::string second(length(random), ' ');
    for (char& c : first) c = static_cast<char>("AB\xE9 "[letter(random)]);
    for (char& c : second) c = static_cast<char>("AB\xE9 "[letter(random)]);
    ASSERT_EQ(EditDistance(first.c_str(), second.c_str()), ReferenceDistance(first, second))
        << first << " / " << second;
  }
}

TEST(FindContained, ScansOnceWithoutSteppingBack) {
  const DistanceCase cases[] = {
      {"PARIS", "PARISIEN", 2},
      {"PARISIEN", "PARIS", -2},
      {"PARIS", "PARIS", 2},
      {"ROME", "PARIS", 0},
      {"AAB", "AAAB", 0},        // the occurrence starts inside a failed run
      {"ABC", "ABABC", 2},       // the breaking byte starts the next run
      {"ANA", "BANANA", 2},
      {"", "", 1},
      {"X", "", -1},
      {"", "X", 1},
      {"IS", "PARIS", 2},        // found at the very end
      {"PARIS", "IS", -2},
      {"ABC", "XAB", 0},         // a run that reaches the end of the long text
      {"XYZ", "ABCXY", 0},
      {"AB", "BA", 0},           // same length, not contained
  };
  for (const DistanceCase& c : cases) {
    EXPECT_EQ(FindContained(c.first, c.second), c.distance) << c.first << " / " << c.second;
  }
}

TEST(AreAnagrams, SameBytesSameCounts) {
  struct Case {
    const char* first;
    const char* second;
    bool anagrams;
  };
  const Case cases[] = {
      {"NICHE", "CHIEN", true},
      {"LA MER", "MERLA", false},   // the space counts
      {"LA MER", "MER LA", true},
      {"", "", true},
      {"", "A", false},
      {"AAB", "ABB", false},        // same letters, other counts
      {"PARIS", "PRAIS", true},
      {"12!", "!21", true},
      {"\xE9T\xE9", "T\xE9\xE9", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AreAnagrams(c.first, c.second), c.anagrams) << c.first << " / " << c.second;
  }
}

}  // namespace

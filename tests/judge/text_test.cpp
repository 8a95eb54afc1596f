// The text primitives on the cases that tell a faithful implementation from a
// plausible one: signed byte order, the single-pass containment scan, the
// trimming that keeps tabs and inner spaces, the 259-byte cut.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text.h"

namespace {

const std::string A259(259, 'A');

TEST(TextEdits, TrimUpperCaseAndSortInPlace) {
  // clang-format off
  const struct { void (*operation)(char*); std::string text, result; } cases[] = {
      {TrimSpaces, "  A B  ", "A B"}, {TrimSpaces, "AB ", "AB"}, {TrimSpaces, "   ", ""}, {TrimSpaces, "", ""}, {TrimSpaces, " \tA\t ", "\tA\t"},
      {TrimSpaces, "A  B", "A  B"}, {TrimSpaces, "\xA0" "A\xA0", "\xA0" "A\xA0"},  // no-break space is not a space
      {TrimSpaces, " " + std::string(298, 'A'), std::string(258, 'A')},  // cut at 259
      {UpperCaseAscii, "\xE9l\xE8ve 2b", "\xE9L\xE8VE 2B"},  // accents stay as they are
      {UpperCaseAscii, "az`{@[", "AZ`{@["},                  // the neighbours of a-z
      {SortLetters, "LA MER", " AELMR"}, {SortLetters, "A\xE9", "\xE9" "A"},  // 0xE9 is negative: before 'A'
      {SortLetters, "\x01\xFF\x80\x7F", "\x80\xFF\x01\x7F"}, {SortLetters, "", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    char buffer[400];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, c.text.data(), c.text.size());
    buffer[c.text.size()] = 0;
    c.operation(buffer);
    EXPECT_EQ(std::string(buffer), c.result) << '[' << c.text << ']';
    EXPECT_EQ(std::string(buffer + c.text.size() + 1, 4), "####") << "written past the text: [" << c.text << ']';
  }
}

TEST(TextEditDistance, CountsEditsBothWaysUpTo259Bytes) {
  // clang-format off
  const struct { std::string first, second; int distance; } cases[] = {
      {"", "ABC", 3}, {"AB", "BA", 2}, {"KITTEN", "SITTING", 3}, {"\xC9LAN", "ELAN", 1}, {A259, std::string(259, 'B'), 259},
      {A259, std::string(400, 'A'), 0},  // looked at only up to 259 bytes
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(EditDistance(c.first.c_str(), c.second.c_str()), c.distance) << c.first << " / " << c.second;
    EXPECT_EQ(EditDistance(c.second.c_str(), c.first.c_str()), c.distance) << c.second << " / " << c.first;
  }
}

int Anagrams(const char* first, const char* second) { return AreAnagrams(first, second); }

TEST(TextContainmentAndAnagrams, ScanOnceAndCountBytes) {
  // clang-format off
  const struct { int (*compare)(const char*, const char*); const char *first, *second; int result; } cases[] = {
      {FindContained, "PARIS", "PARISIEN", 2}, {FindContained, "PARISIEN", "PARIS", -2}, {FindContained, "PARIS", "PARIS", 2},
      {FindContained, "IS", "PARIS", 2},   // found at the very end
      {FindContained, "ROME", "PARIS", 0},
      {FindContained, "AAB", "AAAB", 0},   // the occurrence starts inside a failed run
      {FindContained, "ABC", "ABABC", 2},  // the breaking byte starts the next run
      {FindContained, "ABC", "XAB", 0},    // a run that reaches the end of the long text
      {FindContained, "AB", "BA", 0}, {FindContained, "", "", 1}, {FindContained, "X", "", -1},
      {Anagrams, "NICHE", "CHIEN", 1}, {Anagrams, "LA MER", "MERLA", 0},  // the space counts
      {Anagrams, "AAB", "ABB", 0},         // same letters, other counts
      {Anagrams, "\xE9T\xE9", "T\xE9\xE9", 1}, {Anagrams, "", "", 1}, {Anagrams, "", "A", 0}, {Anagrams, "CAB", "BAD", 0},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(c.compare(c.first, c.second), c.result) << c.first << " / " << c.second;
}

}  // namespace

// The answers file without a disk: its name from the program path, and its
// lines as the question panel reads them back.
#include "answers_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(AnswersFile, NameIsTheProgramFileWithItsLastThreeCharactersReplaced) {
  const std::string dir = "C:\\" + std::string(250, 'd') + "\\";  // 254 bytes
  // clang-format off
  const struct { std::string path, name; } cases[] = {
      {"C:\\jeux\\capitales.exe", "capitales.txt"}, {"ludex.exe", "ludex.txt"},
      {"C:\\a.b\\quiz", "qtxt"}, {"C:\\jeux\\ab", "xt"}, {"C:\\jeux\\a", "t"},
      {"C:\\jeux\\", ""}, {"", ""}, {"C:/jeux/ludex.exe", "C:/jeux/ludex.txt"},
      {dir + "q.exe", "q.txt"},            // 259 bytes: whole
      {dir + "qu.exe", "qutxt"},           // the 260th byte is not read
      {dir + "abcde\\x.exe", "abtxt"},  // nor a backslash past it
  };
  // clang-format on
  for (const auto& c : cases) {
    char name[300];
    std::memset(name, 'Z', sizeof name);
    AnswersFileName(c.path.c_str(), name);
    EXPECT_EQ(std::string(name), c.name) << c.path;
    EXPECT_EQ(name[260], 'Z') << "wrote past the 260 bytes";
  }
}

TEST(AnswersFile, LinesEndAtCrAndTheirEndSkipsToTheNextLf) {
  const std::string a300(300, 'a');
  // clang-format off
  const struct { const char* name; std::string data; std::vector<std::string> lines; std::vector<size_t> positions; } cases[] = {
      {"crlf lines", "Paris\r\n\r\n42\r\n", {"Paris", "", "42", ""}, {7, 9, 13, 14}},
      {"lone lf kept", "a\nb\r\n", {"a\nb", ""}, {5, 6}},
      {"bytes between cr and lf skipped", "abc\rx\ndef", {"abc", "def", ""}, {6, 10, 10}},
      {"lone crs", "R1\rjunk\r\r\nR2\nx\r\n\n\r\n", {"R1", "R2\nx", "\n", ""}, {10, 16, 19, 20}},
      {"only crs", "\r\r\r\r", {"", ""}, {5, 5}},
      {"only lfs", "\n\n\n\n", {"\n\n\n\n", ""}, {5, 5}},
      {"cr last", "ab\r", {"ab", ""}, {4, 4}},
      {"zero bytes dropped", std::string("P\0a\r\n", 5) + std::string(300, '\0') + "b", {"Pa", "b"}, {5, 307}},
      {"cut to 271 bytes", a300 + "\r\nr2\r\n" + a300, {std::string(271, 'a'), "r2", std::string(271, 'a')}, {302, 306, 607}},
      {"empty", "", {"", ""}, {1, 1}},
  };
  // clang-format on
  for (const auto& c : cases) {
    size_t position = 0;
    for (size_t k = 0; k < c.lines.size(); ++k) {
      char line[SavedLineSize + 8];
      std::memset(line, 'Z', sizeof line);
      ReadSavedLine(reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size(), position, line);
      EXPECT_EQ(std::string(line), c.lines[k]) << c.name << ", line " << k;
      EXPECT_EQ(position, c.positions[k]) << c.name << ", line " << k;
      EXPECT_EQ(line[SavedLineSize], 'Z') << c.name << ": wrote past the line";
    }
  }
}

}  // namespace

// The names the editor gives built quizzes, and its list of the last files.
#include <gtest/gtest.h>

#include "file_names.h"

namespace {

TEST(FileNamesTest, QuizFileStemFromTitle) {
  // clang-format off
  const struct { const char *title, *stem; } cases[] = {
      {"Les capitales d'Europe", "Les-capitales-d'Europe"}, {"  Chimie : 2 r\xE9ponses ?  ", "Chimie-2-r\xE9ponses"},
      {"a/b\\c*d|e\"f<g>h\r\ni\tj", "a-b-c-d-e-f-g-h-i-j"}, {"...", "quiz"}, {"", "quiz"}, {"con", "quiz-con"},
      {"LPT3", "quiz-LPT3"}, {"COM10", "COM10"}, {"Vive la fin.", "Vive-la-fin"},
      {"\xAB Le Cid \xBB acte I", "Le-Cid-acte-I"}, {"\x93" "Citations\x94 #2 : 100 %", "Citations-2-100"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(QuizFileStem(c.title), c.stem) << c.title;
  EXPECT_EQ(QuizFileStem(std::string(100, 'x') + " y"), std::string(60, 'x'));
}

TEST(FileNamesTest, RecentFilesReadWrittenAndAdded) {
  std::vector<std::string> paths =
      ReadRecentFiles("# comment\r\nC:\\a.txt\r\n\r\nc:\\A.TXT\nC:\\b\xC3\xA9.txt\nC:\\bad\xE9.txt\n" +
                      std::string(200000, 'x') + "\n");
  EXPECT_EQ(paths, (std::vector<std::string>{"C:\\a.txt", "C:\\b\xC3\xA9.txt"}));
  EXPECT_EQ(ReadRecentFiles(WriteRecentFiles(paths)), paths);
  for (int i = 0; i < MaxRecentFiles; ++i) AddRecentFile(paths, "C:\\" + std::to_string(i) + ".txt");
  AddRecentFile(paths, "C:\\3.TXT");
  ASSERT_EQ(paths.size(), static_cast<size_t>(MaxRecentFiles));
  EXPECT_EQ(paths[0], "C:\\3.TXT");
  EXPECT_EQ(paths[1], "C:\\5.txt");
  EXPECT_EQ(paths.back(), "C:\\0.txt");
}

}  // namespace

// Where a program keeps its answers, against the source it was built from.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "file_paths.h"

namespace {

// The program's answers file, named after it in its folder, must not be the
// source, however either path is written.
TEST(FilePaths, AnswersFileOverTheSource) {
  char folder[] = "/tmp/ludex-paths.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string here = folder, previous = FullPath(".");
  ASSERT_EQ(chdir(folder), 0);
  ASSERT_EQ(symlink(folder, "lien"), 0);
  ASSERT_EQ(mkdir("sous", 0700), 0);
  for (const char* name : {"quiz.txt", "\xC3\xA9t\xC3\xA9.txt"}) std::ofstream(name) << "titre: T\n";
  // clang-format off
  const struct { const char* source; std::string program; bool clash; } cases[] = {
      {"quiz.txt", "quiz.exe", true}, {"quiz.txt", "./sous/../quiz.exe", true}, {"quiz.txt", here + "/quiz.exe", true},
      {"quiz.txt", "lien/quiz.exe", true}, {"sous/../quiz.txt", "quiz.exe", true}, {"neuf.txt", "sous/../neuf.exe", true},
      {"quiz.txt", "quiz-jeu.exe", false}, {"quiz.txt", "sous/quiz.exe", false}, {"quiz.txt", "quiz", false},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(AnswersFileClash(c.source, c.program).empty(), !c.clash) << c.program;
  EXPECT_EQ(AnswersFileClash("\xC3\xA9t\xC3\xA9.txt", "\xC3\xA9t\xC3\xA9.exe"),
            "le programme \xE9t\xE9.exe garderait les réponses des élèves dans \xE9t\xE9.txt, sa source, et "
            "l'écraserait : donnez un autre nom à la source ou au programme");
  EXPECT_EQ(FullPath("a/./b//../c"), here + "/a/c");
  EXPECT_EQ(FullPath("/x/../../y/"), "/y");
  EXPECT_EQ(FullPath("/.."), "/");
  ASSERT_EQ(chdir(previous.c_str()), 0);
  EXPECT_EQ(system(("rm -rf " + here).c_str()), 0);
}

}  // namespace

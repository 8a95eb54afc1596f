// SaveAnswers on a real question panel and a real disk: one CR LF line per
// answer field, written through a temporary file named after the answers
// file, which then replaces it.
#include <gtest/gtest.h>

#include <fstream>

#include "support/windows_fixture.h"

namespace {

const QuestionRow Three[] = {{"PARIS", "", "q1"}, {"ROME", "", "q2"}, {"MADRID", "", "q3"}};

void SetAnswers(HWND panel, const std::string& first, const std::string& second, const std::string& third) {
  const std::string* texts[] = {&first, &second, &third};
  for (int k = 1; k <= 3; ++k) SetDlgItemTextA(panel, IDC_ANSWER_BASE + k, texts[k - 1]->c_str());
}

// Rows run in order in one folder: each save must replace the previous file whole,
// so a shorter content follows a longer one.
TEST(SaveAnswers, WritesOneLinePerAnswerField) {
  // clang-format off
  const struct { const char* name; std::string first, second, third; int questionCount, answersPerQuestion; std::string expected; } cases[] = {
      {"cut to 259 bytes", std::string(300, 'x'), "", "", 3, 1, std::string(259, 'x') + "\r\n\r\n\r\n"},
      {"second answers name no control", "Paris", "", "42", 3, 2, "Paris\r\n\r\n42\r\n\r\n\r\n\r\n"},
      {"count below the fields", "Paris", "Rome", "42", 2, 1, "Paris\r\nRome\r\n"},
      {"code page bytes kept", "\xC9t\xE9", " deux  mots ", "%s%d", 3, 1, "\xC9t\xE9\r\n deux  mots \r\n%s%d\r\n"},
      {"no questions: empty file", "Paris", "", "42", 0, 1, ""},
  };
  // clang-format on
  WindowsFixture f;
  f.OpenPanel([](Quiz& quiz) { AddQuestions(quiz, Three, 3, 3); });
  for (const auto& c : cases) {
    SetAnswers(f.panel, c.first, c.second, c.third);
    currentQuiz->questionCount = c.questionCount;
    currentQuiz->answersPerQuestion = c.answersPerQuestion;
    SaveAnswers(f.panel);
    EXPECT_EQ(f.ReadAnswersFile(), c.expected) << c.name;
    EXPECT_EQ(CountFiles(), 1) << c.name << ": only the answers file remains";
  }
}

// Held open without sharing by someone else, or read-only: the old file stays,
// and once it is free again saving works.
TEST(SaveAnswers, AnAnswersFileThatCannotBeReplacedIsKept) {
  WindowsFixture f;
  f.OpenPanel([](Quiz& quiz) { AddQuestions(quiz, Three, 3, 3); });
  const char* name = f.answersFile.c_str();
  for (bool held : {true, false}) {
    f.WriteAnswersFile("ancienne\r\nr\xE9ponse\r\n\r\n");
    SetAnswers(f.panel, "nouvelle", "", "");
    HANDLE holder = held ? CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
    ASSERT_TRUE(held ? holder != INVALID_HANDLE_VALUE : SetFileAttributesA(name, FILE_ATTRIBUTE_READONLY));
    SaveAnswers(f.panel);
    if (held)
      CloseHandle(holder);
    else
      SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(f.ReadAnswersFile(), "ancienne\r\nr\xE9ponse\r\n\r\n") << "held " << held;
    EXPECT_EQ(CountFiles(), 1) << "the unfinished copy is removed";
    SaveAnswers(f.panel);
    EXPECT_EQ(f.ReadAnswersFile(), "nouvelle\r\n\r\n\r\n") << "held " << held;
  }
}

// The hidden and archive attributes survive the replacement, a temporary left
// by a crash is taken over, and with no temporary possible the answers go in
// place, unless the answers file is read-only.
TEST(SaveAnswers, TemporaryAttributesAndWritingInPlace) {
  enum class Temporary { None, Stale, Blocked };
  // clang-format off
  const struct { const char* name; DWORD attributes; Temporary temporary; bool saved; } cases[] = {
      {"archive", FILE_ATTRIBUTE_ARCHIVE, Temporary::None, true},
      {"hidden and archive", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, Temporary::None, true},
      {"hidden, a hidden temporary left by a crash", FILE_ATTRIBUTE_HIDDEN, Temporary::Stale, true},
      {"no temporary possible: in place", FILE_ATTRIBUTE_ARCHIVE, Temporary::Blocked, true},
      {"hidden, in place", FILE_ATTRIBUTE_HIDDEN, Temporary::Blocked, true},
      {"read-only, no temporary possible: kept", FILE_ATTRIBUTE_READONLY, Temporary::Blocked, false},
  };
  // clang-format on
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  WindowsFixture f;
  f.OpenPanel([](Quiz& quiz) { AddQuestions(quiz, Three, 3, 3); });
  SetAnswers(f.panel, "Paris", "", "42");
  const char* answers = f.answersFile.c_str();
  const std::string temporary = f.answersFile + ".tmp";
  for (const auto& c : cases) {
    f.WriteAnswersFile("ancienne\r\n");
    SetFileAttributesA(answers, c.attributes);
    const DWORD before = GetFileAttributesA(answers);
    ASSERT_EQ(before & FILE_ATTRIBUTE_HIDDEN, c.attributes & FILE_ATTRIBUTE_HIDDEN) << "the folder keeps attributes";
    if (c.temporary == Temporary::Stale) {
      std::ofstream(temporary, std::ios::binary) << "une sauvegarde interrompue";
      SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    if (c.temporary == Temporary::Blocked) CreateDirectoryA(temporary.c_str(), nullptr);
    SaveAnswers(f.panel);
    EXPECT_EQ(GetFileAttributesA(answers) & kept, before & kept) << c.name;
    EXPECT_EQ(f.ReadAnswersFile(), c.saved ? "Paris\r\n\r\n42\r\n" : "ancienne\r\n") << c.name;
    RemoveDirectoryA(temporary.c_str());
    EXPECT_EQ(CountFiles(), 1) << c.name << ": no temporary is left";
    SetFileAttributesA(answers, FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace

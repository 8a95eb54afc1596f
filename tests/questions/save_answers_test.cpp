// SaveAnswers on a real question panel and a real disk: one CR LF line per
// answer field, written through a temporary file that replaces the old one.
#include <gtest/gtest.h>

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

}  // namespace

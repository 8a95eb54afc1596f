// The answers file written from the real question panel's fields.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/player_fixture.h"
#include "resource.h"

namespace {

class SaveAnswersTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions));
    PumpMessages();
  }
  void TearDown() override { EndPlayer(); }
  void SetAnswers(const char* first, const char* second, const char* third) {
    SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + 1, first);
    SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + 2, second);
    SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + 3, third);
  }

  ScratchDirectory scratch;
};

struct SaveCase {
  const char* name;
  std::string first, second, third;
  int questionCount;
  int answersPerQuestion;
  std::string expected;
};

const std::string longAnswer(300, 'x');

const SaveCase saveCases[] = {
    {"three fields", "Paris", "", "42", 3, 1, "Paris\r\n\r\n42\r\n"},
    {"second answers name no control", "Paris", "", "42", 3, 2, "Paris\r\n\r\n42\r\n\r\n\r\n\r\n"},
    {"no questions: empty file", "Paris", "", "42", 0, 1, ""},
    {"count below the fields", "Paris", "Rome", "42", 2, 1, "Paris\r\nRome\r\n"},
    {"count beyond the fields", "a", "b", "c", 4, 1, "a\r\nb\r\nc\r\n\r\n"},
    {"cut to 259 bytes", longAnswer, "", "", 3, 1, std::string(259, 'x') + "\r\n\r\n\r\n"},
    {"code page bytes kept", "\xC9t\xE9", " deux  mots ", "%s%d", 3, 1, "\xC9t\xE9\r\n deux  mots \r\n%s%d\r\n"},
};

TEST_F(SaveAnswersTest, WritesOneLinePerAnswerField) {
  for (const SaveCase& c : saveCases) {
    SCOPED_TRACE(c.name);
    SetAnswers(c.first.c_str(), c.second.c_str(), c.third.c_str());
    currentQuiz->questionCount = c.questionCount;
    currentQuiz->answersPerQuestion = c.answersPerQuestion;
    SaveAnswers(questionPanelWindow);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), c.expected);
    EXPECT_EQ(CountFiles(), 1) << "only the answers file remains";
  }
}

TEST_F(SaveAnswersTest, SavingTwiceKeepsOnlyTheSecondState) {
  SetAnswers("Madrid et Barcelone", "Rome", "Paris");
  SaveAnswers(questionPanelWindow);
  SetAnswers("a", "", "");
  SaveAnswers(questionPanelWindow);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "a\r\n\r\n\r\n");
}

TEST_F(SaveAnswersTest, AFailedSaveLeavesThePreviousFile) {
  WriteWholeFile(testAnswersFile, "ancienne\r\nr\xE9ponse\r\n\r\n");
  SetAnswers("nouvelle", "", "");
  // Held open without sharing by someone else: the file cannot be replaced.
  HANDLE holder = CreateFileA(testAnswersFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  SaveAnswers(questionPanelWindow);
  CloseHandle(holder);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "ancienne\r\nr\xE9ponse\r\n\r\n");
  EXPECT_EQ(CountFiles(), 1) << "the unfinished copy is removed";

  // Once the file is free again, saving works.
  SaveAnswers(questionPanelWindow);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "nouvelle\r\n\r\n\r\n");
}

TEST_F(SaveAnswersTest, AReadOnlyAnswersFileIsNotReplaced) {
  WriteWholeFile(testAnswersFile, "garde\r\n");
  SetFileAttributesA(testAnswersFile, FILE_ATTRIBUTE_READONLY);
  SetAnswers("nouvelle", "", "");
  SaveAnswers(questionPanelWindow);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "garde\r\n");
  EXPECT_EQ(CountFiles(), 1);
}

}  // namespace

// The score counts the feedback labels that the panel made without reading
// them at every verdict: whatever changes a label from outside (any way of
// setting its text, replacing it) must show in the next count, and controls
// made in the panel after its building must still be found.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "support/windows_fixture.h"

namespace {

const QuestionRow Capitals[] = {{"PARIS", "", "?"}, {"ROME", "", "?"}, {"BERLIN", "", "?"}};

HWND AddStatic(HWND panel, int id, const char* text) {
  return CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, panel,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// The player on a quiz of count questions and the given answers file.
Quiz& StartWith(WindowsFixture& fixture, int count, const char* answers) {
  fixture.WriteAnswersFile(answers);
  fixture.StartPlayer([count](Quiz& quiz) {
    AddQuestions(quiz, Capitals, count, count);
    for (int s = 0; s < count; ++s) std::snprintf(quiz.scoreCodes[s], TextSize, "CODE%d", s + 1);
  });
  return *currentQuiz;
}

std::string HeaderText(const Quiz& quiz, int id) {
  char text[64] = {};
  GetDlgItemTextA(quiz.headerPanel, id, text, sizeof text);
  return text;
}

// The building writes the score once, when it is over: with one row no verdict follows it.
TEST(ScoreCount, ShownOnceTheRowsAreBuilt) {
  const struct {
    int count;
    const char *answers, *score, *code;
  } cases[] = {
      {1, "paris\r\n", " 0 / 1", "      "},  // its only field is never left: "?" and no score
      {3, "paris\r\nlyon\r\nberlin\r\n", " 2 / 3", "CODE2"},
  };
  for (const auto& c : cases) {
    WindowsFixture fixture;
    Quiz& quiz = StartWith(fixture, c.count, c.answers);
    EXPECT_EQ(HeaderText(quiz, IDC_SCORE), c.score);
    EXPECT_EQ(HeaderText(quiz, IDC_SCORE_CODE), c.code);
  }
}

TEST(ScoreCount, FollowsLabelsChangedOrReplacedFromOutside) {
  WindowsFixture fixture;
  Quiz& quiz = StartWith(fixture, 3, "paris\r\nlyon\r\nberlin\r\n");
  HWND panel = fixture.panel;
  auto header = [&](int id) { return HeaderText(quiz, id); };

  auto label = [&](int k) { return GetDlgItem(panel, IDC_FEEDBACK_BASE + k); };
  const struct {
    const char* what;
    std::function<void()> change;
    const char *score, *word1;
  } steps[] = {
      {"SetDlgItemTextA", [&] { SetDlgItemTextA(panel, 5002, "BRAVO"); }, " 3 / 3", "BRAVO"},
      {"WM_SETTEXT", [&] { SendMessageA(label(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("FAUX")); }, " 2 / 3",
       "FAUX"},
      {"SetWindowTextW", [&] { SetWindowTextW(label(1), L"BRAVO"); }, " 3 / 3", "BRAVO"},
      {"a verdict over it",
       [&] {
         SetDlgItemTextA(panel, 4001, "lyon");
         quiz.JudgeAnswer(panel, 4001);
       },
       " 2 / 3", "FAUX"},
      {"right again",
       [&] {
         SetDlgItemTextA(panel, 4001, "Paris");
         quiz.JudgeAnswer(panel, 4001);
       },
       " 3 / 3", "BRAVO"},
      {"replaced by a label reading FAUX",
       [&] {
         DestroyWindow(label(3));
         AddStatic(panel, 5003, "FAUX");
       },
       " 2 / 3", "BRAVO"},
      {"its replacement judged", [&] { quiz.JudgeAnswer(panel, 4003); }, " 3 / 3", "BRAVO"},
      {"replaced by none", [&] { DestroyWindow(label(2)); }, " 2 / 3", "BRAVO"},
  };
  for (const auto& step : steps) {
    step.change();
    quiz.UpdateScore(panel);
    EXPECT_EQ(header(IDC_SCORE), step.score) << step.what;
    EXPECT_EQ(fixture.Text(5001), step.word1) << step.what;
  }
  EXPECT_EQ(fixture.Text(5003), "BRAVO");

  AddStatic(panel, IDC_REVEAL_BASE + 1, "kept");  // a reveal label made after the building
  SetDlgItemTextA(panel, 4001, "lyon");
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(fixture.Text(IDC_REVEAL_BASE + 1), "");  // a wrong answer empties its question's reveal label
}

}  // namespace

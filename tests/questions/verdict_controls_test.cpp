// The verdict on the real panels: the controls it reads and writes are found
// through remembered lookups, and the score counts the feedback labels that
// the panel made without reading them at every verdict: whatever changes a
// label or the panel from outside (any way of setting a text, renumbering,
// moving, replacing) must show in the next verdict and count.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "support/windows_fixture.h"

namespace {

const QuestionRow Two[] = {{"PARIS", "", "q1"}, {"ROME", "", "q2"}};
const QuestionRow Capitals[] = {{"PARIS", "", "?"}, {"ROME", "", "?"}, {"BERLIN", "", "?"}};

void Judge(HWND panel, int field, const char* typed) {
  SetDlgItemTextA(panel, field, typed);
  currentQuiz->JudgeAnswer(panel, field);
}

std::string Score() { return WindowsFixture::Text(headerPanelWindow, IDC_SCORE); }

HWND AddControl(HWND parent, const char* className, int id, const char* text) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

TEST(VerdictControls, ControlsRenumberedMovedOrReplacedAreFoundAfresh) {
  WindowsFixture f;
  ASSERT_TRUE(f.StartPlayer([](Quiz& quiz) {
    AddQuestions(quiz, Two, 2, 2);
    lstrcpyA(quiz.lastQuestion->revealText, "r2");
  }));
  HWND panel = f.panel;
  Judge(panel, 4001, "paris");
  Judge(panel, 4002, "rome");
  EXPECT_EQ(Score(), " 2 / 2");
  HWND label = f.Item(5002);
  SetWindowLongPtrA(label, GWLP_ID, 5009);
  currentQuiz->UpdateScore(panel);
  EXPECT_EQ(Score(), " 1 / 2");  // a renumbered label no longer counts
  SetWindowLongPtrA(label, GWLP_ID, 5002);
  currentQuiz->UpdateScore(panel);
  EXPECT_EQ(Score(), " 2 / 2");
  SetParent(label, mainWindow);
  currentQuiz->UpdateScore(panel);
  EXPECT_EQ(Score(), " 1 / 2");  // nor does one moved out of the panel
  DestroyWindow(label);
  AddControl(panel, "Static", 5002, "?");
  Judge(panel, 4002, "rome");
  EXPECT_EQ(f.Text(5002), "BRAVO");  // its successor gets the verdict
  EXPECT_EQ(Score(), " 2 / 2");
  currentQuiz->revealMode = 2;
  for (int made = 1; made <= 2; ++made) {  // a reveal label made after verdicts missed it, then its successor
    if (HWND old = f.Item(8002)) DestroyWindow(old);
    AddControl(panel, "Static", 8002, "");
    Judge(panel, 4002, "rome");
    EXPECT_EQ(f.Text(8002), "r2") << made;
  }
  Judge(panel, 4002, (std::string(30000, 'x') + "rome").c_str());
  EXPECT_EQ(f.Text(5002), "FAUX");  // the field is read up to its 259 bytes
  DestroyWindow(f.Item(4002));
  AddControl(panel, "Edit", 4002, "lyon");
  currentQuiz->JudgeAnswer(panel, 4002);
  EXPECT_EQ(f.Text(5002), "FAUX");  // a replaced field is read afresh
  // A second panel with the same identifiers, then the first again.
  HWND second = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUESTION_PANEL), mainWindow,
                                   QuestionPanelProc, 0);
  Judge(second, 4002, "rome");
  EXPECT_EQ(WindowsFixture::Text(second, 5002), "BRAVO");
  EXPECT_EQ(f.Text(5002), "FAUX");
  Judge(panel, 4002, "rome");
  EXPECT_EQ(f.Text(5002), "BRAVO");
  EXPECT_EQ(Score(), " 2 / 2");
  DestroyWindow(second);
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

TEST(VerdictControls, FollowsLabelsChangedOrReplacedFromOutside) {
  WindowsFixture fixture;
  Quiz& quiz = StartWith(fixture, 3, "paris\r\nlyon\r\nberlin\r\n");
  HWND panel = fixture.panel;

  auto label = [&](int k) { return GetDlgItem(panel, IDC_FEEDBACK_BASE + k); };
  // clang-format off
  const struct { const char* what; std::function<void()> change; const char *score, *word1; } steps[] = {
      {"SetDlgItemTextA", [&] { SetDlgItemTextA(panel, 5002, "BRAVO"); }, " 3 / 3", "BRAVO"},
      {"WM_SETTEXT", [&] { SendMessageA(label(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("FAUX")); }, " 2 / 3", "FAUX"},
      {"SetWindowTextW", [&] { SetWindowTextW(label(1), L"BRAVO"); }, " 3 / 3", "BRAVO"},
      {"a verdict over it", [&] { SetDlgItemTextA(panel, 4001, "lyon"); quiz.JudgeAnswer(panel, 4001); }, " 2 / 3", "FAUX"},
      {"right again", [&] { SetDlgItemTextA(panel, 4001, "Paris"); quiz.JudgeAnswer(panel, 4001); }, " 3 / 3", "BRAVO"},
      {"replaced by a label reading FAUX", [&] { DestroyWindow(label(3)); AddControl(panel, "Static", 5003, "FAUX"); }, " 2 / 3", "BRAVO"},
      {"its replacement judged", [&] { quiz.JudgeAnswer(panel, 4003); }, " 3 / 3", "BRAVO"},
      {"replaced by none", [&] { DestroyWindow(label(2)); }, " 2 / 3", "BRAVO"},
  };
  // clang-format on
  for (const auto& step : steps) {
    step.change();
    quiz.UpdateScore(panel);
    EXPECT_EQ(Score(), step.score) << step.what;
    EXPECT_EQ(fixture.Text(5001), step.word1) << step.what;
  }
  EXPECT_EQ(fixture.Text(5003), "BRAVO");

  AddControl(panel, "Static", IDC_REVEAL_BASE + 1, "kept");  // a reveal label made after the building
  SetDlgItemTextA(panel, 4001, "lyon");
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(fixture.Text(IDC_REVEAL_BASE + 1), "");  // a wrong answer empties its question's reveal label
}

}  // namespace

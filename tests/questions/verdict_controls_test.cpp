// The verdict on the real panels: the controls it reads and writes are found
// through remembered lookups, which must notice every change of the panel.
#include <gtest/gtest.h>

#include "support/windows_fixture.h"

namespace {

const QuestionRow Two[] = {{"PARIS", "", "q1"}, {"ROME", "", "q2"}};

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

}  // namespace

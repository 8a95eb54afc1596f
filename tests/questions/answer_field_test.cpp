#include <gtest/gtest.h>

#include <vector>

#include "panel_fixture.h"

namespace {

const QuestionData Four[] = {
    {"PARIS", "", "q1"}, {"ROME", "", "q2"}, {"BERLIN", "", "q3"}, {"PARIS", "", "q4"},
};

// Stands in for the standard edit procedure to see what is passed on to it.
WNDPROC realEditProc = nullptr;
std::vector<std::pair<UINT, WPARAM>> passedOn;
LRESULT CALLBACK RecordingEditProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  passedOn.push_back({message, wParam});
  return CallWindowProcA(realEditProc, field, message, wParam, lParam);
}
bool WasPassedOn(UINT message, WPARAM wParam) {
  for (const auto& m : passedOn)
    if (m.first == message && m.second == wParam) return true;
  return false;
}

class AnswerField : public testing::Test {
 protected:
  void Open(int questionCount = 4, const char* saved = "") {
    fixture.MakeQuiz(Four, 4, questionCount);
    fixture.WriteAnswersFile(saved);
    fixture.OpenPanel(500, 300);
  }
  HWND Field(int id) const { return GetDlgItem(fixture.panel, id); }
  LRESULT Key(int id, UINT message, WPARAM key) { return SendMessageA(Field(id), message, key, 0); }
  PanelFixture fixture;
};

TEST_F(AnswerField, EnterJudgesAndIsNotPassedOn) {
  Open();
  const UINT messages[] = {WM_KEYUP, WM_SYSKEYDOWN};
  const char* typed[] = {"paris", "ROMA"};
  const char* verdicts[] = {"BRAVO", "Quasiment"};
  for (int k = 0; k < 2; ++k) {
    SetWindowTextA(Field(4001 + k), typed[k]);  // setting a text judges nothing
    EXPECT_EQ(fixture.Text(5001 + k), "?");
    realEditProc = standardEditProc;
    standardEditProc = RecordingEditProc;
    passedOn.clear();
    EXPECT_EQ(Key(4001 + k, messages[k], VK_RETURN), 1);
    standardEditProc = realEditProc;
    EXPECT_FALSE(WasPassedOn(messages[k], VK_RETURN));
    EXPECT_EQ(fixture.Text(5001 + k), verdicts[k]);
  }
}

TEST_F(AnswerField, CarriageReturnAndTabCharactersAreSwallowed) {
  Open(4, "Rome\r\n");
  struct Case { WPARAM character; bool passed; };
  const Case cases[] = {{'\r', false}, {'\t', false}, {'x', true}, {'\n', true}};
  for (const Case& c : cases) {
    realEditProc = standardEditProc;
    standardEditProc = RecordingEditProc;
    passedOn.clear();
    LRESULT result = Key(4001, WM_CHAR, c.character);
    standardEditProc = realEditProc;
    EXPECT_EQ(WasPassedOn(WM_CHAR, c.character), c.passed) << c.character;
    if (!c.passed) EXPECT_EQ(result, 0);
  }
  realEditProc = standardEditProc;
  standardEditProc = RecordingEditProc;
  passedOn.clear();
  Key(4001, WM_KEYDOWN, VK_RETURN);
  Key(4001, WM_KEYUP, 'A');
  standardEditProc = realEditProc;
  EXPECT_TRUE(WasPassedOn(WM_KEYDOWN, VK_RETURN));
  EXPECT_TRUE(WasPassedOn(WM_KEYUP, 'A'));
}

TEST_F(AnswerField, LeavingAFieldJudgesItAndEnteringSelectsAll) {
  Open(4, "\r\nBerlin\r\n");
  SetFocus(Field(4001));
  SetWindowTextA(Field(4001), "ROME");
  SetFocus(Field(4002));
  EXPECT_EQ(fixture.Text(5001), "FAUX");
  DWORD start = 0, end = 0;
  SendMessageA(Field(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
  // Judged even when the text has not changed since the last verdict.
  SetWindowTextA(Field(4002), "");
  SetFocus(Field(4003));
  EXPECT_EQ(fixture.Text(5002), "?");
}

TEST_F(AnswerField, F1FillsTheUnsolvedFieldsOnly) {
  Open(4, "Paris\r\n\r\nBerlin\r\nLondres\r\n");
  ASSERT_EQ(fixture.Text(5001), "BRAVO");
  ASSERT_EQ(fixture.Text(5003), "BRAVO");
  SetFocus(Field(4001));
  Key(4001, WM_KEYUP, VK_F1);
  const char* texts[] = {"Paris", "Paris", "Berlin", "Paris"};
  const char* verdicts[] = {"BRAVO", "FAUX", "BRAVO", "BRAVO"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(fixture.Text(4001 + k), texts[k]) << k;
    EXPECT_EQ(fixture.Text(5001 + k), verdicts[k]) << k;
  }
  EXPECT_EQ(GetFocus(), Field(4001));
}

TEST_F(AnswerField, F1FromAnUnsolvedFieldJudgesItToo) {
  Open(4, "\r\n\r\nBerlin\r\n");
  SetFocus(Field(4002));
  SetWindowTextA(Field(4002), "Rome");
  FillUnsolvedFields(Field(4002));
  EXPECT_EQ(fixture.Text(5002), "BRAVO");
  EXPECT_EQ(fixture.Text(4001), "Rome");
  EXPECT_EQ(fixture.Text(5001), "FAUX");
  EXPECT_EQ(fixture.Text(4003), "Berlin");
  EXPECT_EQ(GetFocus(), Field(4002));
}

TEST_F(AnswerField, F1WithEverythingSolvedChangesNothing) {
  Open(4, "Paris\r\nRome\r\nBerlin\r\nParis\r\n");
  SetFocus(Field(4003));
  SetWindowTextA(Field(4003), "BERLIN");
  FillUnsolvedFields(Field(4003));
  const char* texts[] = {"Paris", "Rome", "BERLIN", "Paris"};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(fixture.Text(4001 + k), texts[k]);
  EXPECT_EQ(GetFocus(), Field(4003));
}

TEST_F(AnswerField, F1WithAHugeAnswerCountStaysWithinTheFields) {
  Open(4);
  fixture.quiz->answersPerQuestion = 255;  // played as one field per question
  SetWindowTextA(Field(4001), "Rome");
  FillUnsolvedFields(Field(4001));
  EXPECT_EQ(fixture.Text(4004), "Rome");
  EXPECT_EQ(GetFocus(), Field(4001));
}

TEST_F(AnswerField, F2WritesTheAnswersFile) {
  Open(3);
  SetWindowTextA(Field(4001), "Paris");
  SetWindowTextA(Field(4003), "42");
  Key(4002, WM_KEYUP, VK_F2);
  EXPECT_EQ(fixture.ReadAnswersFile(), "Paris\r\n\r\n42\r\n");
  SetWindowTextA(Field(4001), "");
  Key(4001, WM_SYSKEYDOWN, VK_F2);
  EXPECT_EQ(fixture.ReadAnswersFile(), "\r\n\r\n42\r\n");
}

void HoldShift(bool held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

class TabInLongPanel : public AnswerField {
 protected:
  void SetUp() override {
    fixture.MakeQuiz(Four, 4, 40);
    fixture.OpenPanel(500, 300);
  }
};

TEST_F(TabInLongPanel, JumpsToTopWhenTheRemainderIsOne) {
  struct Case { int id; bool shift; bool top; };
  // 40 questions: Tab in 4040 gives t = 41, Shift+Tab in 4002 gives t = 1.
  const Case cases[] = {{4040, false, true}, {4002, true, true}, {4038, true, false}, {4039, false, false}};
  for (const Case& c : cases) {
    SendMessageA(fixture.panel, WM_VSCROLL, SB_BOTTOM, 0);
    HoldShift(c.shift);
    Key(c.id, WM_KEYUP, VK_TAB);
    HoldShift(false);
    if (c.top) EXPECT_EQ(fixture.Position(SB_VERT), 0) << c.id;
    else EXPECT_NE(fixture.Position(SB_VERT), 0) << c.id;
  }
}

TEST_F(TabInLongPanel, ScrollsToTheTargetOnlyWhenTheFieldIsOutside) {
  RECT field;
  GetWindowRect(Field(4003), &field);
  scrollTarget = -1;
  Key(4003, WM_KEYUP, VK_TAB);  // wholly inside: only the target changes
  EXPECT_EQ(scrollTarget, field.top - 360);
  EXPECT_EQ(fixture.Position(SB_VERT), 0);

  GetWindowRect(Field(4030), &field);
  Key(4030, WM_KEYUP, VK_TAB);
  SCROLLINFO bar = fixture.Info(SB_VERT);
  int expected = field.top - 360;
  if (expected > bar.nMax - static_cast<int>(bar.nPage) + 1) expected = bar.nMax - static_cast<int>(bar.nPage) + 1;
  if (expected < 0) expected = 0;
  EXPECT_EQ(scrollTarget, field.top - 360);
  EXPECT_EQ(bar.nPos, expected);
  EXPECT_GT(bar.nPos, 0);
}

TEST_F(TabInLongPanel, PagingKeysPageThePanel) {
  const int page = static_cast<int>(fixture.Info(SB_VERT).nPage);
  struct Step { WPARAM key; UINT message; int position; };
  const Step steps[] = {
      {VK_NEXT, WM_KEYUP, page}, {VK_DOWN, WM_KEYUP, 2 * page}, {VK_UP, WM_KEYUP, page},
      {VK_DOWN, WM_KEYDOWN, page}, {VK_PRIOR, WM_SYSKEYDOWN, 0},
  };
  for (const Step& s : steps) {
    Key(4001, s.message, s.key);
    EXPECT_EQ(fixture.Position(SB_VERT), s.position) << s.key;
  }
}

}  // namespace

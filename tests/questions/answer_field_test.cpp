#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "panel_fixture.h"

namespace {

const QuestionData Four[] = {{"PARIS", "", "q1"}, {"ROME", "", "q2"}, {"BERLIN", "", "q3"}, {"PARIS", "", "q4"}};
using Texts = std::vector<std::string>;

void Open(PanelFixture& fixture, int questionCount, const char* saved = "") {
  fixture.MakeQuiz(Four, 4, questionCount);
  fixture.WriteAnswersFile(saved);
  fixture.OpenPanel(500, 300);
}
LRESULT Key(PanelFixture& fixture, int id, UINT message, WPARAM key) {
  return SendMessageA(fixture.Item(id), message, key, 0);
}
void ExpectFields(const PanelFixture& fixture, const Texts& texts, const Texts& verdicts, const char* name = "") {
  for (size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(fixture.Text(4001 + k), texts[k]) << name << " " << k;
  for (size_t k = 0; k < verdicts.size(); ++k) EXPECT_EQ(fixture.Text(5001 + k), verdicts[k]) << name << " " << k;
}

// Stands in for the standard edit procedure to see what is passed on to it.
WNDPROC realEditProc = nullptr;
std::vector<std::pair<UINT, WPARAM>> passedOn;
LRESULT CALLBACK RecordingEditProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  passedOn.push_back({message, wParam});
  return CallWindowProcA(realEditProc, field, message, wParam, lParam);
}

TEST(AnswerField, KeysJudgedSwallowedOrPassedOn) {
  PanelFixture fixture;
  Open(fixture, 4);
  SetWindowTextA(fixture.Item(4001), "paris");  // setting a text judges nothing
  SetWindowTextA(fixture.Item(4002), "ROMA");
  ExpectFields(fixture, {}, {"?", "?"});
  const struct { int id; UINT message; WPARAM key; bool passed; LRESULT result; } cases[] = {
      {4001, WM_KEYUP, VK_RETURN, false, 1}, {4002, WM_SYSKEYDOWN, VK_RETURN, false, 1},
      {4003, WM_CHAR, '\r', false, 0}, {4003, WM_CHAR, '\t', false, 0}, {4003, WM_CHAR, 'x', true, -1},
      {4003, WM_CHAR, '\n', true, -1}, {4003, WM_KEYDOWN, VK_RETURN, true, -1}, {4003, WM_KEYUP, 'A', true, -1},
  };
  for (const auto& c : cases) {
    realEditProc = standardEditProc;
    standardEditProc = RecordingEditProc;
    passedOn.clear();
    LRESULT result = Key(fixture, c.id, c.message, c.key);
    standardEditProc = realEditProc;
    bool passed = false;
    for (const auto& m : passedOn) passed |= m.first == c.message && m.second == c.key;
    EXPECT_EQ(passed, c.passed) << c.message << " " << c.key;
    if (c.result >= 0) EXPECT_EQ(result, c.result) << c.message << " " << c.key;
  }
  ExpectFields(fixture, {}, {"BRAVO", "Quasiment"});
}

TEST(AnswerField, LeavingAFieldJudgesItAndEnteringSelectsAll) {
  PanelFixture fixture;
  Open(fixture, 4, "\r\nBerlin\r\n");
  SetFocus(fixture.Item(4001));
  SetWindowTextA(fixture.Item(4001), "ROME");
  SetFocus(fixture.Item(4002));
  EXPECT_EQ(fixture.Text(5001), "FAUX");
  DWORD start = 1, end = 0;
  SendMessageA(fixture.Item(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
  SetWindowTextA(fixture.Item(4002), "");  // judged even when unchanged since the last verdict
  SetFocus(fixture.Item(4003));
  EXPECT_EQ(fixture.Text(5002), "?");
}

TEST(AnswerField, F1FillsTheUnsolvedFieldsAndKeepsTheFocus) {
  const struct { const char* saved; int id; const char* typed; int answers; Texts texts, verdicts; } cases[] = {
      {"Paris\r\n\r\nBerlin\r\nLondres\r\n", 4001, nullptr, 1,
       {"Paris", "Paris", "Berlin", "Paris"}, {"BRAVO", "FAUX", "BRAVO", "BRAVO"}},
      {"\r\n\r\nBerlin\r\n", 4002, "Rome", 1, {"Rome", "Rome", "Berlin", "Rome"}, {"FAUX", "BRAVO", "BRAVO", "FAUX"}},
      {"Paris\r\nRome\r\nBerlin\r\nParis\r\n", 4003, "BERLIN", 1, {"Paris", "Rome", "BERLIN", "Paris"}, {}},
      {"", 4001, "Rome", 255, {"Rome", "Rome", "Rome", "Rome"}, {}},  // played as one field per question
  };
  for (const auto& c : cases) {
    PanelFixture fixture;
    Open(fixture, 4, c.saved);
    fixture.quiz->answersPerQuestion = c.answers;
    SetFocus(fixture.Item(c.id));
    if (c.typed) SetWindowTextA(fixture.Item(c.id), c.typed);
    Key(fixture, c.id, WM_KEYUP, VK_F1);
    ExpectFields(fixture, c.texts, c.verdicts, c.saved);
    EXPECT_EQ(GetFocus(), fixture.Item(c.id)) << c.saved;
  }
}

TEST(AnswerField, F2WritesTheAnswersFile) {
  PanelFixture fixture;
  Open(fixture, 3);
  SetWindowTextA(fixture.Item(4001), "Paris");
  SetWindowTextA(fixture.Item(4003), "42");
  Key(fixture, 4002, WM_KEYUP, VK_F2);
  EXPECT_EQ(fixture.ReadAnswersFile(), "Paris\r\n\r\n42\r\n");
  SetWindowTextA(fixture.Item(4001), "");
  Key(fixture, 4001, WM_SYSKEYDOWN, VK_F2);
  EXPECT_EQ(fixture.ReadAnswersFile(), "\r\n\r\n42\r\n");
}

TEST(AnswerField, TabAndPagingKeysInALongPanel) {
  PanelFixture fixture;
  Open(fixture, 40);
  // 40 questions: Tab in 4040 gives t = 41, Shift+Tab in 4002 gives t = 1.
  const struct { int id; bool shift, top; } cases[] = {{4040, false, true}, {4002, true, true}, {4038, true, false}, {4039, false, false}};
  for (const auto& c : cases) {
    SendMessageA(fixture.panel, WM_VSCROLL, SB_BOTTOM, 0);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = c.shift ? 0x80 : 0;
    SetKeyboardState(keys);
    Key(fixture, c.id, WM_KEYUP, VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(fixture.Position(SB_VERT) == 0, c.top) << c.id;
  }
  // Tab scrolls to the target only when the field is not wholly inside the panel.
  SendMessageA(fixture.panel, WM_VSCROLL, SB_TOP, 0);
  for (int id : {4003, 4030}) {  // wholly inside, then below the panel
    RECT field;
    GetWindowRect(fixture.Item(id), &field);
    scrollTarget = -1;
    Key(fixture, id, WM_KEYUP, VK_TAB);
    SCROLLINFO bar = fixture.Info(SB_VERT);
    int last = bar.nMax - static_cast<int>(bar.nPage) + 1;
    EXPECT_EQ(scrollTarget, field.top - 360) << id;
    EXPECT_EQ(bar.nPos, id == 4003 ? 0 : std::max(0, std::min<int>(field.top - 360, last))) << id;
  }
  EXPECT_GT(fixture.Position(SB_VERT), 0);
  SendMessageA(fixture.panel, WM_VSCROLL, SB_TOP, 0);
  const int page = static_cast<int>(fixture.Info(SB_VERT).nPage);
  const struct { WPARAM key; UINT message; int position; } steps[] = {
      {VK_NEXT, WM_KEYUP, page}, {VK_DOWN, WM_KEYUP, 2 * page}, {VK_UP, WM_KEYUP, page},
      {VK_DOWN, WM_KEYDOWN, page}, {VK_PRIOR, WM_SYSKEYDOWN, 0},
  };
  for (const auto& s : steps) {
    Key(fixture, 4001, s.message, s.key);
    EXPECT_EQ(fixture.Position(SB_VERT), s.position) << s.key;
  }
}

}  // namespace

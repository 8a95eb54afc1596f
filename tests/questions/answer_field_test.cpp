// The answer fields' keys on a real question panel: what is judged, swallowed
// or passed on, F1, F2, Tab and the paging keys.
#include <gtest/gtest.h>

#include <vector>

#include "support/accepted_answer_cases.h"
#include "support/windows_fixture.h"

namespace {

const QuestionRow Four[] = {{"PARIS", "", "q1"}, {"ROME", "", "q2"}, {"BERLIN", "", "q3"}, {"PARIS", "", "q4"}};
using Texts = std::vector<std::string>;

void Open(WindowsFixture& f, int questionCount, const char* saved = "") {
  f.WriteAnswersFile(saved);
  f.OpenPanel([=](Quiz& quiz) { AddQuestions(quiz, Four, 4, questionCount); }, 500, 300);
}
LRESULT Key(WindowsFixture& f, int id, UINT message, WPARAM key) { return SendMessageA(f.Item(id), message, key, 0); }
void ExpectFields(const WindowsFixture& f, const Texts& texts, const Texts& verdicts, const char* name = "") {
  for (size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(f.Text(4001 + int(k)), texts[k]) << name << " " << k;
  for (size_t k = 0; k < verdicts.size(); ++k) EXPECT_EQ(f.Text(5001 + int(k)), verdicts[k]) << name << " " << k;
}

// Stands in for the standard edit procedure to see what is passed on to it.
WNDPROC realEditProc = nullptr;
std::vector<std::pair<UINT, WPARAM>> passedOn;
LRESULT CALLBACK RecordingEditProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  passedOn.push_back({message, wParam});
  return CallWindowProcA(realEditProc, field, message, wParam, lParam);
}

TEST(AnswerField, KeysJudgedSwallowedOrPassedOn) {
  WindowsFixture f;
  Open(f, 4);
  SetWindowTextA(f.Item(4001), "paris");  // setting a text judges nothing
  SetWindowTextA(f.Item(4002), "ROMA");
  ExpectFields(f, {}, {"?", "?"});
  // clang-format off
  const struct { int id; UINT message; WPARAM key; bool passed; LRESULT result; } cases[] = {
      {4001, WM_KEYUP, VK_RETURN, false, 1}, {4002, WM_SYSKEYDOWN, VK_RETURN, false, 1},
      {4003, WM_CHAR, '\r', false, 0}, {4003, WM_CHAR, '\t', false, 0}, {4003, WM_CHAR, 'x', true, -1},
      {4003, WM_CHAR, '\n', true, -1}, {4003, WM_KEYDOWN, VK_RETURN, true, -1}, {4003, WM_KEYUP, 'A', true, -1},
  };
  // clang-format on
  for (const auto& c : cases) {
    realEditProc = standardEditProc;
    standardEditProc = RecordingEditProc;
    passedOn.clear();
    LRESULT result = Key(f, c.id, c.message, c.key);
    standardEditProc = realEditProc;
    bool passed = false;
    for (const auto& m : passedOn) passed |= m.first == c.message && m.second == c.key;
    EXPECT_EQ(passed, c.passed) << c.message << " " << c.key;
    if (c.result >= 0) EXPECT_EQ(result, c.result) << c.message << " " << c.key;
  }
  ExpectFields(f, {}, {"BRAVO", "Quasiment"});
}

// Enter in a real field judges its text against the field's accepted
// answers too, as read from the quiz's block: each case is one question.
TEST(AnswerField, AcceptedAnswersJudgedAsOnThePage) {
  const std::vector<AcceptedAnswerCase>& cases = AcceptedAnswerCases();
  std::vector<QuestionRow> rows;
  std::vector<AcceptedEntry> entries;
  for (const AcceptedAnswerCase& c : cases) {
    rows.push_back({c.expected.c_str(), "", c.name});
    entries.push_back({int(rows.size()), c.accepted});
  }
  std::vector<uint8_t> block;
  AppendAcceptedBlock(block, entries);
  WindowsFixture f;
  f.WriteAnswersFile("");
  f.OpenPanel([&](Quiz& quiz) {
    AddQuestions(quiz, rows.data(), int(rows.size()), int(rows.size()));
    ReadAcceptedBlock(block.data(), uint32_t(block.size()), 0, int(rows.size()), quiz.acceptedAnswers);
  });
  for (size_t k = 0; k < cases.size(); ++k) {
    const int id = IDC_ANSWER_BASE + 1 + int(k);
    SetWindowTextA(f.Item(id), cases[k].typed.c_str());
    Key(f, id, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(f.Text(FeedbackLabelId(id)), cases[k].verdict) << cases[k].name;
  }
}

TEST(AnswerField, LeavingAFieldJudgesItAndEnteringSelectsAll) {
  WindowsFixture f;
  Open(f, 4, "\r\nBerlin\r\n");
  SetFocus(f.Item(4001));
  SetWindowTextA(f.Item(4001), "ROME");
  SetFocus(f.Item(4002));
  EXPECT_EQ(f.Text(5001), "FAUX");
  DWORD start = 1, end = 0;
  SendMessageA(f.Item(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
  SetWindowTextA(f.Item(4002), "");  // judged even when unchanged since the last verdict
  SetFocus(f.Item(4003));
  EXPECT_EQ(f.Text(5002), "?");
}

// What F1 fills and judges is tabled with the web page's (fill_restore_test.cpp).
TEST(AnswerField, F1KeepsTheFocusAndPlaysOtherCountsAsOneField) {
  WindowsFixture f;
  Open(f, 4);
  currentQuiz->answersPerQuestion = 255;
  SetFocus(f.Item(4002));
  SetWindowTextA(f.Item(4002), "Rome");
  Key(f, 4002, WM_KEYUP, VK_F1);
  ExpectFields(f, {"Rome", "Rome", "Rome", "Rome"}, {"FAUX", "BRAVO", "FAUX", "FAUX"});
  EXPECT_EQ(GetFocus(), f.Item(4002));
}

TEST(AnswerField, F2SavesTheAnswers) {
  WindowsFixture f;
  Open(f, 3);
  SetWindowTextA(f.Item(4001), "Paris");
  Key(f, 4002, WM_KEYUP, VK_F2);
  EXPECT_EQ(f.ReadAnswersFile(), "Paris\r\n\r\n\r\n");
  SetWindowTextA(f.Item(4003), "42");
  Key(f, 4001, WM_SYSKEYDOWN, VK_F2);
  EXPECT_EQ(f.ReadAnswersFile(), "Paris\r\n\r\n42\r\n");
}

void PressTab(WindowsFixture& f, int id, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  Key(f, id, WM_KEYUP, VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

TEST(AnswerField, TabAndPagingKeysInALongPanel) {
  WindowsFixture f;
  Open(f, 40);
  // Tab released in the last field came from the first: the panel goes to its top; Shift+Tab does not.
  for (bool shift : {true, false}) {
    SendMessageA(f.panel, WM_VSCROLL, SB_BOTTOM, 0);
    PressTab(f, 4040, shift);
    EXPECT_EQ(f.Position(SB_VERT) == 0, !shift);
  }
  // Tab scrolls to the target only when the field is not wholly inside the panel.
  SendMessageA(f.panel, WM_VSCROLL, SB_TOP, 0);
  for (int id : {4003, 4030}) {  // wholly inside, then below the panel
    RECT field;
    GetWindowRect(f.Item(id), &field);
    scrollTarget = -1;
    PressTab(f, id, false);
    EXPECT_EQ(scrollTarget, field.top - 360) << id;
    EXPECT_EQ(f.Position(SB_VERT), id == 4003 ? 0 : field.top - 360) << id;
  }
  SendMessageA(f.panel, WM_VSCROLL, SB_TOP, 0);
  SCROLLINFO bar = {sizeof bar, SIF_PAGE};
  GetScrollInfo(f.panel, SB_VERT, &bar);
  const int page = static_cast<int>(bar.nPage);
  // clang-format off
  const struct { WPARAM key; UINT message; int position; } steps[] = {
      {VK_NEXT, WM_KEYUP, page}, {VK_DOWN, WM_KEYUP, 2 * page}, {VK_UP, WM_KEYUP, page}, {VK_DOWN, WM_KEYDOWN, page}, {VK_PRIOR, WM_SYSKEYDOWN, 0},
  };
  // clang-format on
  for (const auto& s : steps) {
    Key(f, 4001, s.message, s.key);
    EXPECT_EQ(f.Position(SB_VERT), s.position) << s.key;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "panel_fixture.h"

namespace {

const QuestionData Capitals[] = {
    {"PARIS", "", "Capitale de la France ?"}, {"ROME", "", "Capitale de l'Italie ?"},
    {"BERLIN", "", "Capitale de l'Allemagne ?"},
};

std::vector<HWND> Children(HWND panel) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

TEST(QuestionPanel, BuildsEveryRowAsTabled) {
  const struct { const char* className; DWORD style; int x, dy, width, height, id; } controls[] = {
      {"Static", 0x50000002, 26, 2, 19, 17, 153}, {"Static", 0x50800000, 50, 0, 550, 0, 3000},
      {"Edit", 0x50810081, 610, 0, 300, 0, -4000}, {"Static", 0x50800201, 920, 0, 100, 0, -5000},
  };  // height 0: the row height; a negative id counts from the row
  const int tops[] = {5, 30, 90}, heights[] = {20, 55, 20};
  PanelFixture fixture;
  fixture.MakeQuiz(Capitals, 3, 3);
  fixture.OpenPanel();
  std::vector<HWND> children = Children(fixture.panel);
  ASSERT_EQ(children.size(), 12u);
  for (int row = 0; row < 3; ++row) {
    for (int k = 0; k < 4; ++k) {
      const auto& wanted = controls[k];
      HWND control = children[row * 4 + k];
      char className[32];
      GetClassNameA(control, className, sizeof className);
      EXPECT_STRCASEEQ(className, wanted.className);
      // Wine keeps an edit control's border in its extended style.
      DWORD mask = k == 2 ? ~static_cast<DWORD>(WS_BORDER) : ~0u;
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & mask, wanted.style & mask) << row << "/" << k;
      EXPECT_EQ(GetDlgCtrlID(control), wanted.id > 0 ? wanted.id : row + 1 - wanted.id);
      RECT box = fixture.ClientBox(control);
      EXPECT_EQ(box.left, wanted.x);
      EXPECT_EQ(box.top, tops[row] + wanted.dy);
      EXPECT_EQ(box.right - box.left, wanted.width);
      EXPECT_EQ(box.bottom - box.top, wanted.height ? wanted.height : heights[row]);
    }
    char text[64];
    GetWindowTextA(children[row * 4], text, sizeof text);
    EXPECT_EQ(std::string(text), std::to_string(row + 1) + ".");
    GetWindowTextA(children[row * 4 + 1], text, sizeof text);
    EXPECT_STREQ(text, Capitals[row].text);
  }
  EXPECT_EQ(SendMessageA(children[0], WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(children[1], WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(children[2], WM_GETFONT, 0, 0)), fixture.quiz->answerFont);
  EXPECT_EQ(contentHeight, 115);
  EXPECT_EQ(contentWidth, 1050);
  EXPECT_EQ(GetFocus(), fixture.Item(4001));
  EXPECT_EQ(standardEditProc, reinterpret_cast<WNDPROC>(GetClassLongPtrA(children[2], GCLP_WNDPROC)));
}

TEST(QuestionPanel, TwoAnswersPerQuestionGetTwoFieldsRestoredInFieldOrder) {
  const QuestionData pairs[] = {{"A", "B", "q1"}, {"C", "D", "q2"}, {"E", "F", "q3"}};
  PanelFixture fixture;
  fixture.MakeQuiz(pairs, 3, 3, 2);
  fixture.WriteAnswersFile("a\r\nb\r\nx\r\nd\r\n\r\nf\r\n");
  fixture.OpenPanel();
  EXPECT_EQ(contentWidth, 1110);
  EXPECT_EQ(contentHeight, 115);
  const char* texts[] = {"a", "b", "x", "d", "", "f"};
  const char* verdicts[] = {"BRAVO", "BRAVO", "Quasiment", "BRAVO", "?", "BRAVO"};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(fixture.Text(4001 + k), texts[k]) << k;
    EXPECT_EQ(fixture.Text(5001 + k), verdicts[k]) << k;
    RECT field = fixture.ClientBox(fixture.Item(4001 + k)), label = fixture.ClientBox(fixture.Item(5001 + k));
    EXPECT_EQ(field.top, label.top);
    EXPECT_LT(field.right, label.left);
    EXPECT_LE(label.right, contentWidth);
  }
  EXPECT_EQ(fixture.ClientBox(fixture.Item(4005)).top, 90);
  EXPECT_LT(fixture.ClientBox(fixture.Item(5001)).right, fixture.ClientBox(fixture.Item(4002)).left);
  EXPECT_EQ(fixture.Item(4007), nullptr);
}

TEST(QuestionPanel, RestoresSavedLinesAndTheirVerdicts) {
  const struct { const char* name; std::string bytes; bool writeFile; std::vector<std::string> fields, verdicts; } cases[] = {
      {"crlf lines", "Paris\r\n\r\n42\r\n", true, {"Paris", "", "42"}, {"BRAVO", "?", "FAUX"}},
      {"lone lf stays", "a\nb\r\n", true, {"a\nb", "", ""}, {}},
      {"junk before lf", "abc\rx\ndef", true, {"abc", "def", ""}, {}},
      {"last line unended", "x\r\ny\r\nROME", true, {"x", "y", "ROME"}, {"FAUX", "FAUX", "FAUX"}},
      {"zero bytes dropped", std::string("P\0a\r\n", 5), true, {"Pa", "", ""}, {}},
      {"more lines than rows", "1\r\n2\r\n3\r\n4\r\n", true, {"1", "2", "3"}, {}},
      {"near answers", "paris\r\nROMA\r\n", true, {"paris", "ROMA", ""}, {"BRAVO", "Quasiment", "?"}},
      {"empty file", "", true, {"", "", ""}, {}},
      {"no file", "", false, {"", "", ""}, {"?", "?", "?"}},
  };
  for (const auto& c : cases) {
    PanelFixture fixture;
    fixture.MakeQuiz(Capitals, 3, 3);
    if (c.writeFile) fixture.WriteAnswersFile(c.bytes);
    fixture.OpenPanel();
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(fixture.Text(4001 + k), c.fields[k]) << c.name << " field " << k;
      if (!c.verdicts.empty()) EXPECT_EQ(fixture.Text(5001 + k), c.verdicts[k]) << c.name << " verdict " << k;
    }
  }
}

TEST(QuestionPanel, RevealLabelsOnlyForRevealModes) {
  for (int mode = 0; mode <= 5; ++mode) {
    PanelFixture fixture;
    Quiz& quiz = fixture.MakeQuiz(Capitals, 3, 3);
    quiz.revealMode = mode;
    lstrcpyA(quiz.questionAt(0)->revealText, "La Seine");
    fixture.WriteAnswersFile("Paris\r\n");
    fixture.OpenPanel();
    bool shown = mode >= 2 && mode <= 4;
    EXPECT_EQ(fixture.Item(8001) != nullptr, shown) << mode;
    EXPECT_EQ(fixture.Item(8003) != nullptr, shown) << mode;
    EXPECT_EQ(contentWidth, shown ? 1460 : 1050) << mode;
    if (mode == 2 || mode == 3) EXPECT_EQ(fixture.Text(8001), "La Seine") << mode;
    if (!shown) continue;
    RECT reveal = fixture.ClientBox(fixture.Item(8001));
    EXPECT_GT(reveal.left, fixture.ClientBox(fixture.Item(5001)).right);
    EXPECT_LE(reveal.right, contentWidth);
  }
}

TEST(QuestionPanel, NoRowsWhenHiddenOrEmpty) {
  const struct { int records, count, hidden, answers, width; size_t children; } cases[] = {
      {3, 3, 1, 1, 20, 0}, {3, 0, 0, 1, 20, 0}, {3, 3, 2, 2, 80, 0}, {3, 0, 0, 2, 80, 0},
      {0, 2, 0, 1, 1050, 8},  // a count without records: rows with empty question labels
  };
  for (const auto& c : cases) {
    PanelFixture fixture;
    fixture.MakeQuiz(Capitals, c.records, c.count, c.answers).questionsHidden = c.hidden;
    fixture.OpenPanel();
    std::vector<HWND> children = Children(fixture.panel);
    ASSERT_EQ(children.size(), c.children) << c.count << "/" << c.hidden;
    EXPECT_EQ(contentWidth, c.width);
    if (c.children) {
      EXPECT_EQ(fixture.Text(3000), "");
      continue;
    }
    EXPECT_EQ(contentHeight, 0);
    SendMessageA(fixture.panel, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(fixture.panel, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(fixture.Position(SB_VERT), 0);
    EXPECT_EQ(fixture.Position(SB_HORZ), 0);
  }
}

TEST(QuestionPanel, EveryScrollCodeAndResizeMoveTheContent) {
  PanelFixture fixture;  // 40 questions: rows from 34 on are 50 high, the content is 1503 pixels
  fixture.MakeQuiz(Capitals, 3, 40);
  fixture.OpenPanel(500, 300);
  RECT client;
  GetClientRect(fixture.panel, &client);
  auto Question = [&] { return fixture.ClientBox(fixture.Item(3000)); };
  ASSERT_EQ(contentHeight, 1503);
  const int bottom = contentHeight - client.bottom, down = client.bottom - 1;
  const int right = contentWidth - client.right, across = client.right - 1;
  const auto V = WM_VSCROLL, H = WM_HSCROLL, W = WM_MOUSEWHEEL;
  const WPARAM notchUp = MAKEWPARAM(0, 120), notchDown = MAKEWPARAM(0, static_cast<WORD>(-120));
  const struct { UINT message; WPARAM code; int position; } steps[] = {
      {V, SB_LINEDOWN, 310}, {V, SB_THUMBPOSITION, 310}, {V, ScrollWheelDown, 360}, {V, ScrollWheelUp, 310},
      {V, SB_PAGEDOWN, 310 + down}, {V, SB_PAGEUP, 310}, {V, SB_LINEUP, 0}, {V, SB_LINEUP, 0},
      {V, SB_ENDSCROLL, 0}, {V, SB_BOTTOM, bottom}, {V, SB_LINEDOWN, bottom}, {V, ScrollWheelDown, bottom},
      {V, SB_TOP, 0}, {V, ScrollWheelUp, 0},
      {W, notchDown, 50}, {W, notchDown, 100}, {W, MAKEWPARAM(0, static_cast<WORD>(-240)), 100}, {W, notchUp, 50},
      {W, MAKEWPARAM(0, 240), 50}, {W, MAKEWPARAM(0, 1), 50},
      {H, SB_LINERIGHT, 1}, {H, SB_LINERIGHT, 2}, {H, SB_LINELEFT, 1}, {H, SB_THUMBPOSITION, 1}, {H, SB_RIGHT, 1},
      {H, SB_PAGERIGHT, 1 + across}, {H, SB_PAGERIGHT, right}, {H, SB_LEFT, right}, {H, SB_PAGELEFT, right - across},
      {H, ScrollWheelDown, right - across}, {H, SB_PAGELEFT, 0},
  };
  int vertical = 0;
  for (const auto& s : steps) {
    SendMessageA(fixture.panel, s.message, s.code, 0);
    fixture.Pump();
    if (s.message != H) vertical = s.position;
    EXPECT_EQ(fixture.Position(s.message == H ? SB_HORZ : SB_VERT), s.position) << s.message << " " << s.code;
    EXPECT_EQ(Question().top, 5 - vertical) << s.message << " " << s.code;
    EXPECT_EQ(Question().left, 50 - (s.message == H ? s.position : 0)) << s.message << " " << s.code;
  }
  const struct { int target, position; } targets[] = {{123, 123}, {99999, bottom}};
  for (const auto& t : targets) {
    scrollTarget = t.target;
    SendMessageA(fixture.panel, WM_VSCROLL, ScrollToTarget, 0);
    EXPECT_EQ(fixture.Position(SB_VERT), t.position);
  }
  // At the bottom, the content ends 5 pixels below the last row, at the client's edge.
  EXPECT_EQ(fixture.ClientBox(fixture.Item(4040)).bottom + 5, client.bottom);
  // Resizing keeps the content with the bar.
  SetWindowPos(fixture.panel, nullptr, 0, 0, 500, 600, SWP_NOZORDER | SWP_NOMOVE);
  GetClientRect(fixture.panel, &client);
  EXPECT_EQ(fixture.Position(SB_VERT), contentHeight - client.bottom);
  EXPECT_EQ(Question().top, 5 - (contentHeight - client.bottom));
  SetWindowPos(fixture.panel, nullptr, 0, 0, 1200, 1600, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(fixture.Position(SB_VERT), 0);
  EXPECT_EQ(Question().top, 5);
}

HBRUSH Colour(HWND panel, HWND label, HDC context) {
  return reinterpret_cast<HBRUSH>(
      SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(label)));
}

TEST(QuestionPanel, LabelColours) {
  PanelFixture fixture;
  Quiz& quiz = fixture.MakeQuiz(Capitals, 3, 3);
  quiz.revealMode = 2;
  fixture.OpenPanel();
  HWND label = fixture.Item(5002), question = fixture.Item(3000);
  const struct { const char* word; HBRUSH brush; } cases[] = {
      {"Anagramme", quiz.brushOrange}, {"BRAVO", quiz.brushGreen}, {"FAUX", quiz.brushRed},
      {"Presque", quiz.brushGold}, {"y a de l'idée", quiz.brushGold}, {"bravo", quiz.brushGold},
  };
  HDC context = GetDC(label);
  for (const auto& c : cases) {
    SetWindowTextA(label, c.word);
    EXPECT_EQ(Colour(fixture.panel, label, context), c.brush) << c.word;
  }
  SetWindowTextA(label, "?");
  HBRUSH fallback = Colour(fixture.panel, label, context);
  for (HBRUSH brush : {quiz.brushOrange, quiz.brushGreen, quiz.brushRed, quiz.brushGold, quiz.brushPaleYellow,
                       quiz.backgroundBrush})
    EXPECT_NE(fallback, brush);
  EXPECT_EQ(Colour(fixture.panel, question, context), quiz.brushPaleYellow);
  ReleaseDC(label, context);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(fixture.panel, WM_CTLCOLORDLG, 0, 0)), quiz.backgroundBrush);
  // Number and reveal labels: white text only on a dark red and green.
  const struct { BYTE red, green, blue; COLORREF text; } backgrounds[] = {
      {59, 59, 200, RGB(255, 255, 255)}, {60, 0, 0, RGB(0, 0, 0)}, {59, 60, 0, RGB(0, 0, 0)},
      {0, 0, 0, RGB(255, 255, 255)}, {90, 95, 150, RGB(0, 0, 0)},
  };
  for (int id : {153, 8002})
    for (const auto& c : backgrounds) {
      quiz.setBackground(c.red, c.green, c.blue);
      context = GetDC(label = fixture.Item(id));
      SetBkMode(context, OPAQUE);
      SetTextColor(context, RGB(1, 2, 3));
      EXPECT_EQ(Colour(fixture.panel, label, context), quiz.backgroundBrush) << id;
      EXPECT_EQ(GetTextColor(context), c.text) << id << " " << int(c.red) << "," << int(c.green);
      EXPECT_EQ(GetBkMode(context), TRANSPARENT);
      ReleaseDC(label, context);
    }
}

}  // namespace

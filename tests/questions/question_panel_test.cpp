#include <gtest/gtest.h>

#include <vector>

#include "panel_fixture.h"

namespace {

const QuestionData Capitals[] = {
    {"PARIS", "", "Capitale de la France ?"},
    {"ROME", "", "Capitale de l'Italie ?"},
    {"BERLIN", "", "Capitale de l'Allemagne ?"},
};

std::vector<HWND> Children(HWND panel) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

struct ExpectedControl {
  const char* className;
  DWORD style;
  int x, dy, width, height;  // height 0: the row height
  int id;                    // 0: answer field 4000 + i, 1: feedback 5000 + i
};
const ExpectedControl RowControls[] = {
    {"Static", 0x50000002, 26, 2, 19, 17, 153},
    {"Static", 0x50800000, 50, 0, 550, 0, 3000},
    {"Edit", 0x50810081, 610, 0, 300, 0, 0},
    {"Static", 0x50800201, 920, 0, 100, 0, 1},
};

TEST(QuestionPanel, BuildsEveryRowAsTabled) {
  PanelFixture fixture;
  fixture.MakeQuiz(Capitals, 3, 3);
  fixture.OpenPanel();
  std::vector<HWND> children = Children(fixture.panel);
  ASSERT_EQ(children.size(), 12u);
  const int tops[] = {5, 30, 90};
  const int heights[] = {20, 55, 20};
  for (int row = 0; row < 3; ++row) {
    for (int k = 0; k < 4; ++k) {
      const ExpectedControl& wanted = RowControls[k];
      HWND control = children[row * 4 + k];
      char className[32];
      GetClassNameA(control, className, sizeof className);
      EXPECT_STRCASEEQ(className, wanted.className);
      DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
      // Wine keeps an edit control's border in its extended style.
      DWORD mask = k == 2 ? ~static_cast<DWORD>(WS_BORDER) : ~0u;
      EXPECT_EQ(style & mask, wanted.style & mask) << row << "/" << k;
      int id = wanted.id == 0 ? 4001 + row : wanted.id == 1 ? 5001 + row : wanted.id;
      EXPECT_EQ(GetDlgCtrlID(control), id);
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
  LOGFONTA font = {};
  GetObjectA(fixture.quiz->answerFont, sizeof font, &font);
  EXPECT_EQ(font.lfHeight, 15);
  EXPECT_EQ(font.lfWeight, 100);
  EXPECT_EQ(contentHeight, 115);
  EXPECT_EQ(contentWidth, 1050);
  EXPECT_EQ(GetFocus(), GetDlgItem(fixture.panel, 4001));
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
    RECT field = fixture.ClientBox(GetDlgItem(fixture.panel, 4001 + k));
    RECT label = fixture.ClientBox(GetDlgItem(fixture.panel, 5001 + k));
    EXPECT_EQ(field.top, label.top);
    EXPECT_LT(field.right, label.left);
    EXPECT_LE(label.right, contentWidth);
  }
  EXPECT_EQ(fixture.ClientBox(GetDlgItem(fixture.panel, 4005)).top, 90);
  EXPECT_LT(fixture.ClientBox(GetDlgItem(fixture.panel, 5001)).right,
            fixture.ClientBox(GetDlgItem(fixture.panel, 4002)).left);
  EXPECT_EQ(GetDlgItem(fixture.panel, 4007), nullptr);
}

struct RestoreCase {
  const char* name;
  std::string bytes;
  bool writeFile;
  std::vector<std::string> fields;
};

TEST(QuestionPanel, RestoresSavedLines) {
  const RestoreCase cases[] = {
      {"crlf lines", std::string("Paris\r\n\r\n42\r\n"), true, {"Paris", "", "42"}},
      {"lone lf stays", std::string("a\nb\r\n"), true, {"a\nb", "", ""}},
      {"junk before lf", std::string("abc\rx\ndef"), true, {"abc", "def", ""}},
      {"last line unended", std::string("x\r\ny\r\nROME"), true, {"x", "y", "ROME"}},
      {"zero bytes dropped", std::string("P\0a\r\n", 5), true, {"Pa", "", ""}},
      {"more lines than rows", std::string("1\r\n2\r\n3\r\n4\r\n"), true, {"1", "2", "3"}},
      {"empty file", std::string(), true, {"", "", ""}},
      {"no file", std::string(), false, {"", "", ""}},
  };
  for (const RestoreCase& c : cases) {
    PanelFixture fixture;
    fixture.MakeQuiz(Capitals, 3, 3);
    if (c.writeFile) fixture.WriteAnswersFile(c.bytes);
    fixture.OpenPanel();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(fixture.Text(4001 + k), c.fields[k]) << c.name << " field " << k;
  }
}

TEST(QuestionPanel, RestoredAnswersShowTheirVerdicts) {
  PanelFixture fixture;
  fixture.MakeQuiz(Capitals, 3, 3);
  fixture.WriteAnswersFile("paris\r\nROMA\r\n\r\n");
  fixture.OpenPanel();
  EXPECT_EQ(fixture.Text(5001), "BRAVO");
  EXPECT_EQ(fixture.Text(5002), "Quasiment");
  EXPECT_EQ(fixture.Text(5003), "?");
}

TEST(QuestionPanel, RevealLabelsOnlyForRevealModes) {
  const int modes[] = {0, 1, 2, 3, 4, 5};
  for (int mode : modes) {
    PanelFixture fixture;
    Quiz& quiz = fixture.MakeQuiz(Capitals, 3, 3);
    quiz.revealMode = mode;
    lstrcpyA(quiz.questionAt(0)->revealText, "La Seine");
    fixture.WriteAnswersFile("Paris\r\n");
    fixture.OpenPanel();
    bool shown = mode >= 2 && mode <= 4;
    EXPECT_EQ(GetDlgItem(fixture.panel, 8001) != nullptr, shown) << mode;
    EXPECT_EQ(GetDlgItem(fixture.panel, 8003) != nullptr, shown) << mode;
    EXPECT_EQ(contentWidth, shown ? 1460 : 1050) << mode;
    if (mode == 2 || mode == 3) EXPECT_EQ(fixture.Text(8001), "La Seine") << mode;
    if (shown) {
      RECT reveal = fixture.ClientBox(GetDlgItem(fixture.panel, 8001));
      EXPECT_GT(reveal.left, fixture.ClientBox(GetDlgItem(fixture.panel, 5001)).right);
      EXPECT_LE(reveal.right, contentWidth);
    }
  }
}

TEST(QuestionPanel, NoRowsWhenHiddenOrEmpty) {
  struct Case { int count, hidden, answers, width; };
  const Case cases[] = {{3, 1, 1, 20}, {0, 0, 1, 20}, {3, 2, 2, 80}, {0, 0, 2, 80}};
  for (const Case& c : cases) {
    PanelFixture fixture;
    Quiz& quiz = fixture.MakeQuiz(Capitals, 3, c.count, c.answers);
    quiz.questionsHidden = c.hidden;
    fixture.OpenPanel();
    EXPECT_EQ(GetWindow(fixture.panel, GW_CHILD), nullptr);
    EXPECT_EQ(contentWidth, c.width);
    EXPECT_EQ(contentHeight, 0);
    SendMessageA(fixture.panel, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(fixture.panel, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(fixture.Position(SB_VERT), 0);
    EXPECT_EQ(fixture.Position(SB_HORZ), 0);
  }
}

TEST(QuestionPanel, MissingRecordsGiveEmptyQuestionLabels) {
  PanelFixture fixture;
  fixture.MakeQuiz(Capitals, 0, 2);  // the built-in test quiz has a count and no records
  fixture.OpenPanel();
  std::vector<HWND> children = Children(fixture.panel);
  ASSERT_EQ(children.size(), 8u);
  char text[16] = "x";
  GetWindowTextA(children[5], text, sizeof text);
  EXPECT_STREQ(text, "");
}

// 40 questions: rows from 34 on are 50 high, the content is 1503 pixels.
class ScrollingPanel : public testing::Test {
 protected:
  void SetUp() override {
    fixture.MakeQuiz(Capitals, 3, 40);
    fixture.OpenPanel(500, 300);
    RECT client;
    GetClientRect(fixture.panel, &client);
    clientHeight = client.bottom;
    clientWidth = client.right;
    firstQuestion = Children(fixture.panel)[1];
  }
  int QuestionTop() const { return fixture.ClientBox(firstQuestion).top; }
  int QuestionLeft() const { return fixture.ClientBox(firstQuestion).left; }
  PanelFixture fixture;
  int clientHeight = 0, clientWidth = 0;
  HWND firstQuestion = nullptr;
};

TEST_F(ScrollingPanel, VerticalCodesMoveTheContent) {
  ASSERT_EQ(contentHeight, 1503);
  const int last = contentHeight - clientHeight;
  const int page = clientHeight - 1;
  struct Step { int code; int position; };
  const Step steps[] = {
      {SB_LINEDOWN, 310}, {SB_THUMBPOSITION, 310}, {ScrollWheelDown, 360}, {ScrollWheelUp, 310},
      {SB_PAGEDOWN, 310 + page}, {SB_PAGEUP, 310}, {SB_LINEUP, 0}, {SB_LINEUP, 0}, {SB_ENDSCROLL, 0},
      {SB_BOTTOM, last}, {SB_LINEDOWN, last}, {ScrollWheelDown, last}, {SB_TOP, 0}, {ScrollWheelUp, 0},
  };
  for (const Step& s : steps) {
    SendMessageA(fixture.panel, WM_VSCROLL, static_cast<WPARAM>(s.code), 0);
    EXPECT_EQ(fixture.Position(SB_VERT), s.position) << s.code;
    EXPECT_EQ(QuestionTop(), 5 - s.position) << s.code;
  }
  scrollTarget = 123;
  SendMessageA(fixture.panel, WM_VSCROLL, ScrollToTarget, 0);
  EXPECT_EQ(fixture.Position(SB_VERT), 123);
  scrollTarget = 99999;
  SendMessageA(fixture.panel, WM_VSCROLL, ScrollToTarget, 0);
  EXPECT_EQ(fixture.Position(SB_VERT), last);
  // At the bottom, the content ends 5 pixels below the last row, at the client's edge.
  RECT lastRow = fixture.ClientBox(GetDlgItem(fixture.panel, 4040));
  EXPECT_EQ(lastRow.bottom + 5, clientHeight);
}

TEST_F(ScrollingPanel, HorizontalCodesMoveTheContent) {
  const int page = clientWidth - 1;
  const int last = contentWidth - clientWidth;
  struct Step { int code; int position; };
  const Step steps[] = {
      {SB_LINERIGHT, 1}, {SB_LINERIGHT, 2}, {SB_LINELEFT, 1}, {SB_THUMBPOSITION, 1}, {SB_RIGHT, 1},
      {SB_PAGERIGHT, 1 + page}, {SB_PAGERIGHT, last}, {SB_LEFT, last}, {SB_PAGELEFT, last - page},
      {ScrollWheelDown, last - page}, {SB_PAGELEFT, 0},
  };
  for (const Step& s : steps) {
    SendMessageA(fixture.panel, WM_HSCROLL, static_cast<WPARAM>(s.code), 0);
    EXPECT_EQ(fixture.Position(SB_HORZ), s.position) << s.code;
    EXPECT_EQ(QuestionLeft(), 50 - s.position) << s.code;
  }
}

TEST_F(ScrollingPanel, OneWheelNotchMovesFiftyPixels) {
  struct Step { int delta; int position; };
  const Step steps[] = {{-120, 50}, {-120, 100}, {-240, 100}, {120, 50}, {240, 50}, {1, 50}};
  for (const Step& s : steps) {
    SendMessageA(fixture.panel, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(s.delta)), 0);
    fixture.Pump();
    EXPECT_EQ(fixture.Position(SB_VERT), s.position) << s.delta;
  }
}

TEST_F(ScrollingPanel, ResizingKeepsTheContentWithTheBar) {
  SendMessageA(fixture.panel, WM_VSCROLL, SB_BOTTOM, 0);
  SetWindowPos(fixture.panel, nullptr, 0, 0, 500, 600, SWP_NOZORDER | SWP_NOMOVE);
  RECT client;
  GetClientRect(fixture.panel, &client);
  EXPECT_EQ(fixture.Position(SB_VERT), contentHeight - client.bottom);
  EXPECT_EQ(QuestionTop(), 5 - (contentHeight - client.bottom));
  SetWindowPos(fixture.panel, nullptr, 0, 0, 1200, 1600, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(fixture.Position(SB_VERT), 0);
  EXPECT_EQ(QuestionTop(), 5);
}

HBRUSH Colour(HWND panel, HWND label, HDC context) {
  return reinterpret_cast<HBRUSH>(
      SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(label)));
}

TEST(QuestionPanel, FeedbackLabelsColouredByWord) {
  PanelFixture fixture;
  Quiz& quiz = fixture.MakeQuiz(Capitals, 3, 3);
  fixture.OpenPanel();
  HWND label = GetDlgItem(fixture.panel, 5002);
  struct Case { const char* word; HBRUSH brush; };
  const Case cases[] = {
      {"Anagramme", quiz.brushOrange}, {"BRAVO", quiz.brushGreen}, {"FAUX", quiz.brushRed},
      {"Presque", quiz.brushGold}, {"y a de l'idée", quiz.brushGold}, {"bravo", quiz.brushGold},
  };
  HDC context = GetDC(label);
  for (const Case& c : cases) {
    SetWindowTextA(label, c.word);
    EXPECT_EQ(Colour(fixture.panel, label, context), c.brush) << c.word;
  }
  SetWindowTextA(label, "?");
  HBRUSH fallback = Colour(fixture.panel, label, context);
  const HBRUSH quizBrushes[] = {quiz.brushOrange, quiz.brushGreen, quiz.brushRed, quiz.brushGold,
                                quiz.brushPaleYellow, quiz.backgroundBrush};
  for (HBRUSH brush : quizBrushes) EXPECT_NE(fallback, brush);
  ReleaseDC(label, context);

  HWND question = GetDlgItem(fixture.panel, 3000);
  context = GetDC(question);
  EXPECT_EQ(Colour(fixture.panel, question, context), quiz.brushPaleYellow);
  ReleaseDC(question, context);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(fixture.panel, WM_CTLCOLORDLG, 0, 0)), quiz.backgroundBrush);
}

TEST(QuestionPanel, NumberLabelsWhiteOnlyOnDarkRedAndGreen) {
  struct Case { BYTE red, green, blue; COLORREF text; };
  const Case cases[] = {
      {59, 59, 200, RGB(255, 255, 255)}, {60, 0, 0, RGB(0, 0, 0)}, {59, 60, 0, RGB(0, 0, 0)},
      {0, 0, 0, RGB(255, 255, 255)}, {90, 95, 150, RGB(0, 0, 0)},
  };
  PanelFixture fixture;
  Quiz& quiz = fixture.MakeQuiz(Capitals, 3, 3);
  quiz.revealMode = 2;
  fixture.OpenPanel();
  const int ids[] = {153, 8002};
  for (int id : ids) {
    HWND label = GetDlgItem(fixture.panel, id);
    for (const Case& c : cases) {
      quiz.setBackground(c.red, c.green, c.blue);
      HDC context = GetDC(label);
      SetBkMode(context, OPAQUE);
      SetTextColor(context, RGB(1, 2, 3));
      EXPECT_EQ(Colour(fixture.panel, label, context), quiz.backgroundBrush) << id;
      EXPECT_EQ(GetTextColor(context), c.text) << id << " " << int(c.red) << "," << int(c.green);
      EXPECT_EQ(GetBkMode(context), TRANSPARENT);
      ReleaseDC(label, context);
    }
  }
}

}  // namespace

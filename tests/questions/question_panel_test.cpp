// The real question panel: the rows it builds from the quiz and the answers
// file, its scrolling and its label colours. The arithmetic behind them
// (row heights, boxes, scroll positions, colour choices) has native tables.
#include <gtest/gtest.h>

#include <vector>

#include "support/windows_fixture.h"

namespace {

const QuestionRow Capitals[] = {
    {"PARIS", "FRANCE", "Capitale de la France ?"},
    {"ROME", "ITALIE", "Capitale de l'Italie ?"},
    {"BERLIN", "ALLEMAGNE", "Capitale de l'Allemagne ?"},
};

std::vector<HWND> Children(HWND panel) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

TEST(QuestionPanel, BuildsEveryRowAsTabled) {
  // height 0: the row height; a negative id counts from the row
  // clang-format off
  const struct { const char* className; DWORD style; int x, dy, width, height, id; } controls[] = {
      {"Static", 0x50000002, 26, 2, 19, 17, 153}, {"Static", 0x50800000, 50, 0, 550, 0, 3000},
      {"Edit", 0x50810081, 610, 0, 300, 0, -4000}, {"Static", 0x50800201, 920, 0, 100, 0, -5000},
  };
  // clang-format on
  const int tops[] = {5, 30, 90}, heights[] = {20, 55, 20};
  WindowsFixture f;
  f.OpenPanel([](Quiz& quiz) { AddQuestions(quiz, Capitals, 3, 3); });
  std::vector<HWND> children = Children(f.panel);
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
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & mask, wanted.style & mask) << row << k;
      EXPECT_EQ(GetDlgCtrlID(control), wanted.id > 0 ? wanted.id : row + 1 - wanted.id);
      EXPECT_EQ(Place(control), std::make_tuple(wanted.x, tops[row] + wanted.dy, wanted.width,
                                                wanted.height ? wanted.height : heights[row]));
    }
    char number[8], question[64];
    GetWindowTextA(children[row * 4], number, sizeof number);
    GetWindowTextA(children[row * 4 + 1], question, sizeof question);
    EXPECT_EQ(std::make_pair(std::string(number), std::string(question)),
              std::make_pair(std::to_string(row + 1) + ".", std::string(Capitals[row].text)));
  }
  EXPECT_EQ(SendMessageA(children[0], WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(children[1], WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(children[2], WM_GETFONT, 0, 0)), currentQuiz->answerFont);
  EXPECT_EQ(contentHeight, 115);
  EXPECT_EQ(contentWidth, 1050);
  EXPECT_EQ(GetFocus(), f.Item(4001));
  EXPECT_EQ(standardEditProc, reinterpret_cast<WNDPROC>(GetClassLongPtrA(children[2], GCLP_WNDPROC)));
}

// Saved lines go to the answer fields in field order, each judged; reveal
// labels only in the reveal modes, showing a restored right answer's text in mode 2.
TEST(QuestionPanel, RestoresTheAnswersFileIntoTheFieldsAndJudgesThem) {
  using Texts = std::vector<std::string>;
  // clang-format off
  const struct { int answers, mode; const char* saved; Texts fields, verdicts; const char* reveal; } cases[] = {
      {1, 1, "Paris\r\n\r\n42\r\nBERLIN\r\n", {"Paris", "", "42"}, {"BRAVO", "?", "FAUX"}, nullptr},
      {2, 0, "paris\r\nfrance\r\nx\r\nitalie\r\n\r\nALLEMAGNE", {"paris", "france", "x", "italie", "", "ALLEMAGNE"},
       {"BRAVO", "BRAVO", "FAUX", "BRAVO", "?", "BRAVO"}, nullptr},
      {1, 0, nullptr, {"", "", ""}, {"?", "?", "?"}, nullptr},
      {1, 2, "Paris\r\n", {"Paris", "", ""}, {"BRAVO", "?", "?"}, "La Seine"},
      {1, 4, "Paris\r\n", {"Paris", "", ""}, {"BRAVO", "?", "?"}, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    WindowsFixture f;
    if (c.saved != nullptr) f.WriteAnswersFile(c.saved);
    f.OpenPanel([&](Quiz& quiz) {
      AddQuestions(quiz, Capitals, 3, 3, c.answers);
      quiz.revealMode = c.mode;
      lstrcpyA(quiz.questionAt(0)->revealText, "La Seine");
    });
    for (size_t k = 0; k < c.fields.size(); ++k)
      EXPECT_EQ(std::make_pair(f.Text(4001 + int(k)), f.Text(5001 + int(k))),
                std::make_pair(c.fields[k], c.verdicts[k]));
    EXPECT_EQ(f.Item(4001 + int(c.fields.size())), f.Item(5001 + int(c.fields.size())));  // neither exists
    EXPECT_EQ(f.Item(8003) != nullptr && f.Item(8004) == nullptr, c.reveal != nullptr) << c.mode;
    EXPECT_EQ(contentWidth, ContentWidth(3, c.answers, c.reveal != nullptr)) << c.mode;
    if (c.reveal != nullptr) EXPECT_EQ(f.Text(8001), c.reveal) << c.mode;
  }
}

TEST(QuestionPanel, NoRowsWhenHiddenOrEmpty) {
  // clang-format off
  const struct { int records, count, hidden; size_t children; } cases[] = {
      {3, 3, 1, 0}, {3, 0, 0, 0}, {3, 3, 2, 0}, {0, 2, 0, 8},  // a count without records: empty question labels
  };
  // clang-format on
  for (const auto& c : cases) {
    WindowsFixture f;
    f.OpenPanel([&](Quiz& quiz) {
      AddQuestions(quiz, Capitals, c.records, c.count);
      quiz.questionsHidden = c.hidden;
    });
    ASSERT_EQ(Children(f.panel).size(), c.children) << c.count << "/" << c.hidden;
    if (c.children) {
      EXPECT_EQ(f.Text(3000), "");
      continue;
    }
    SendMessageA(f.panel, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(f.panel, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(f.Position(SB_VERT) + f.Position(SB_HORZ), 0);
  }
}

TEST(QuestionPanel, ScrollRequestsAndResizesMoveTheContent) {
  WindowsFixture f;  // 40 questions: rows from 34 on are 50 high, the content is 1503 pixels
  f.OpenPanel([](Quiz& quiz) { AddQuestions(quiz, Capitals, 3, 40); }, 500, 300);
  RECT client;
  GetClientRect(f.panel, &client);
  auto Question = [&] { return std::make_pair(ChildRect(f.Item(3000)).left, ChildRect(f.Item(3000)).top); };
  ASSERT_EQ(contentHeight, 1503);
  const int bottom = contentHeight - client.bottom, across = client.right - 1, down = client.bottom - 1;
  const auto V = WM_VSCROLL, H = WM_HSCROLL, W = WM_MOUSEWHEEL;
  // clang-format off
  const struct { UINT message; WPARAM code; int position; } steps[] = {
      {V, SB_LINEDOWN, 310}, {V, ScrollWheelDown, 360}, {V, SB_PAGEDOWN, 360 + down}, {V, SB_BOTTOM, bottom},
      {V, SB_TOP, 0}, {W, MAKEWPARAM(0, WORD(-120)), 50}, {W, MAKEWPARAM(0, 240), 50}, {W, MAKEWPARAM(0, 120), 0},
      {H, SB_PAGERIGHT, across}, {H, SB_LINELEFT, across - 1},
  };
  // clang-format on
  int vertical = 0;
  for (const auto& s : steps) {
    SendMessageA(f.panel, s.message, s.code, 0);
    PumpMessages();  // the wheel posts its request
    if (s.message != H) vertical = s.position;
    EXPECT_EQ(f.Position(s.message == H ? SB_HORZ : SB_VERT), s.position) << s.message << " " << s.code;
    EXPECT_EQ(Question(), std::make_pair(50L - (s.message == H ? s.position : 0), 5L - vertical)) << s.code;
  }
  scrollTarget = 123;
  SendMessageA(f.panel, WM_VSCROLL, ScrollToTarget, 0);
  EXPECT_EQ(f.Position(SB_VERT), 123);
  SendMessageA(f.panel, WM_VSCROLL, SB_BOTTOM, 0);
  // At the bottom, the content ends 5 pixels below the last row, at the client's edge.
  EXPECT_EQ(ChildRect(f.Item(4040)).bottom + 5, client.bottom);
  // Resizing keeps the content with the bar.
  SetWindowPos(f.panel, nullptr, 0, 0, 500, 600, SWP_NOZORDER | SWP_NOMOVE);
  GetClientRect(f.panel, &client);
  EXPECT_EQ(f.Position(SB_VERT), contentHeight - client.bottom);
  EXPECT_EQ(Question().second, 5 - (contentHeight - client.bottom));
  SetWindowPos(f.panel, nullptr, 0, 0, 1200, 1600, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(Question(), std::make_pair(50L, 5L));
}

HBRUSH Colour(HWND panel, HWND label, HDC context) {
  return reinterpret_cast<HBRUSH>(
      SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(label)));
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH logBrush = {};
  if (GetObjectA(brush, sizeof logBrush, &logBrush) != sizeof logBrush || logBrush.lbStyle != BS_SOLID)
    return CLR_INVALID;
  return logBrush.lbColor;
}

TEST(QuestionPanel, LabelColours) {
  WindowsFixture f;
  f.OpenPanel([](Quiz& quiz) {
    AddQuestions(quiz, Capitals, 3, 3);
    quiz.revealMode = 2;
  });
  const Quiz& quiz = *currentQuiz;
  HWND label = f.Item(5002);
  HDC context = GetDC(label);
  // clang-format off
  const struct { const char* word; COLORREF colour; } cases[] = {
      {"Anagramme", RGB(255, 100, 0)}, {"BRAVO", RGB(0, 255, 0)}, {"FAUX", RGB(255, 0, 0)}, {"Presque", RGB(255, 203, 38)},
      {"Quasiment", RGB(255, 203, 38)}, {"Trop long", RGB(255, 203, 38)}, {"Trop court", RGB(255, 203, 38)},
      {"pas loin", RGB(255, 203, 38)}, {"y a de l'idée", RGB(255, 203, 38)}};
  // clang-format on
  for (const auto& c : cases) {
    SetWindowTextA(label, c.word);
    SetBkMode(context, OPAQUE);
    EXPECT_EQ(BrushColour(Colour(f.panel, label, context)), c.colour) << c.word;
    EXPECT_EQ(GetBkMode(context), TRANSPARENT) << c.word;
  }
  SetWindowTextA(label, "?");  // the system's colours
  SetBkMode(context, OPAQUE);
  EXPECT_NE(Colour(f.panel, label, context), quiz.brushGold);
  EXPECT_EQ(GetBkMode(context), OPAQUE);
  EXPECT_EQ(BrushColour(Colour(f.panel, f.Item(3000), context)), RGB(255, 255, 192));
  ReleaseDC(label, context);
  EXPECT_EQ(BrushColour(reinterpret_cast<HBRUSH>(SendMessageA(f.panel, WM_CTLCOLORDLG, 0, 0))), RGB(90, 95, 150));
  // Number and reveal labels: on the background, white text only on a dark one.
  for (int id : {153, 8002})
    for (BYTE level : {0, 200}) {
      currentQuiz->setBackground(level, level, 255);
      context = GetDC(label = f.Item(id));
      SetBkMode(context, OPAQUE);
      EXPECT_EQ(Colour(f.panel, label, context), quiz.backgroundBrush) << id;
      EXPECT_EQ(GetTextColor(context), level ? RGB(0, 0, 0) : RGB(255, 255, 255)) << id << " " << int(level);
      EXPECT_EQ(GetBkMode(context), TRANSPARENT);
      ReleaseDC(label, context);
    }
}

}  // namespace

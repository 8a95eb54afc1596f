// The real header panel, created from its template inside a plain parent window.
#include <gtest/gtest.h>

#include <tuple>

#include "header_layout.h"
#include "header_panel.h"
#include "support/windows_fixture.h"

namespace {

HWND OpenHeader(WindowsFixture& f) {
  return f.OpenPanel(
      [](Quiz& quiz) {
        lstrcpyA(quiz.title, "Les fleuves");
        lstrcpyA(quiz.author, "Andr\xE9");
        lstrcpyA(quiz.explanation, "Un fleuve par r\xE9gion.");
        quiz.questionCount = 30;
      },
      600, 49, IDD_HEADER_PANEL, HeaderPanelProc);
}

// The controls that follow the right edge stand where LayoutHeader puts them
// for the panel's width; the others where they were made.
TEST(HeaderPanel, TheTwelveControls) {
  WindowsFixture f;
  HWND panel = OpenHeader(f);
  const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT), link = reinterpret_cast<HGDIOBJ>(-1);  // its own font
  const HGDIOBJ title = currentQuiz->titleFont, score = currentQuiz->scoreFont;
  const std::tuple<int, int, int, int> moved;
  // clang-format off
  const struct { int id; const char *className, *text; DWORD style; HGDIOBJ font; std::tuple<int, int, int, int> place; } cases[] = {
      {IDC_WEB_LINK, "Static", webSiteAddress, 0x50000100, link, moved},
      {IDC_BY_LABEL, "Static", "Par :", 0x50000000, gui, moved},
      {IDC_AUTHOR, "Static", "Andr\xE9", 0x50000000, gui, moved},
      {IDC_SAVE_BUTTON, "Button", "Sauver", 0x50000000, gui, moved},
      {IDC_EXPLANATION, "Static", "Un fleuve par r\xE9gion.", 0x50000000, gui, moved},
      {IDC_TITLE, "Static", "Les fleuves", 0x50000000, title, {110, 3, 260, 18}},
      {IDC_CODE_LABEL, "Static", " Code :", 0x50000000, gui, {7, 29, 36, 15}},
      {IDC_SCORE, "Static", " 0 / 30", 0x50000001, score, {10, 1, 80, 20}},
      {IDC_SCORE_CODE, "Edit", "", 0x50000800, gui, {44, 29, 53, 16}},
      {IDC_SEPARATOR_SCORE, "Static", "", 0x50800000, nullptr, {0, 26, 100, 1}},
      {IDC_SEPARATOR_LEFT, "Static", "", 0x50800000, nullptr, {100, 0, 1, 50}},
      {IDC_SEPARATOR_RIGHT, "Static", "", 0x50800000, nullptr, moved},
  };
  // clang-format on
  RECT client;
  GetClientRect(panel, &client);
  HeaderPlace places[HeaderPlaceCount];
  LayoutHeader(client.right, places);
  int children = 0;
  for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 12);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    HWND control = GetDlgItem(panel, c.id);
    ASSERT_NE(control, nullptr);
    char text[300] = "";
    GetClassNameA(control, text, sizeof text);
    EXPECT_EQ(lstrcmpiA(text, c.className), 0) << text;
    EXPECT_EQ(f.Text(c.id), c.text);
    // The edit's frame bits are the system's business; read-only and no border are ours.
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    EXPECT_EQ(style & (c.id == IDC_SCORE_CODE ? WS_CHILD | WS_VISIBLE | ES_READONLY : 0xFFFF0FFF), c.style);
    EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (c.font != link) EXPECT_EQ(font, c.font);
    auto place = c.place;
    for (const HeaderPlace& p : places)
      if (p.id == c.id) place = std::make_tuple(p.x, p.y, p.width, p.height);
    EXPECT_EQ(Place(control), place);
  }
}

TEST(HeaderPanel, ColoursComeFromThePanelBrushDeletedWithThePanel) {
  WindowsFixture f;
  HWND panel = OpenHeader(f);
  HDC dc = GetDC(panel);
  LRESULT panelBrush = SendMessageA(panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0);
  LOGBRUSH fill = {};
  ASSERT_NE(GetObjectA(reinterpret_cast<HBRUSH>(panelBrush), sizeof fill, &fill), 0);
  EXPECT_EQ(fill.lbColor, RGB(128, 128, 255));
  const COLORREF kept = RGB(1, 2, 3), lines = GetSysColor(COLOR_WINDOWTEXT);
  // text: afterwards, starting from kept; the lines keep the system's defaults.
  // clang-format off
  const struct { int id; bool panelColours; COLORREF text; } cases[] = {
      {IDC_WEB_LINK, true, RGB(50, 50, 255)}, {IDC_BY_LABEL, true, kept}, {IDC_SCORE, true, kept}, {IDC_SCORE_CODE, true, kept},
      {IDC_SEPARATOR_SCORE, false, lines},
  };
  // clang-format on
  for (const auto& c : cases) {
    SetTextColor(dc, kept);
    SetBkMode(dc, OPAQUE);
    LRESULT brush = SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(panel, c.id)));
    EXPECT_EQ(std::make_tuple(brush == panelBrush, GetBkMode(dc), GetTextColor(dc)),
              std::make_tuple(c.panelColours, c.panelColours ? TRANSPARENT : OPAQUE, c.text))
        << "control " << c.id;
  }
  ReleaseDC(panel, dc);
  DestroyWindow(panel);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(panelBrush)), 0u) << "deleted with the panel";
}

// The link: an underlined face three quarters of its 18-pixel height, and the
// hand cursor; the save button does nothing.
TEST(HeaderPanel, TheLinkAndTheInertSaveButton) {
  WindowsFixture f;
  HWND panel = OpenHeader(f);
  LOGFONTA face = {};
  LRESULT font = SendDlgItemMessageA(panel, IDC_WEB_LINK, WM_GETFONT, 0, 0);
  GetObjectA(reinterpret_cast<HGDIOBJ>(font), sizeof face, &face);
  EXPECT_EQ(std::make_tuple(face.lfHeight, face.lfWeight, face.lfUnderline, face.lfItalic),
            std::make_tuple(-13L, 400L, BYTE{TRUE}, BYTE{FALSE}));
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
  EXPECT_EQ(GetClassLongPtrA(GetDlgItem(panel, IDC_WEB_LINK), GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(hand));
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_EQ(std::make_pair(info.xHotspot, info.yHotspot), std::make_pair(6ul, 0ul));
  DeleteObject(info.hbmMask);

  SendDlgItemMessageA(panel, IDC_SAVE_BUTTON, BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(f.ReadAnswersFile(), "<missing>");
  EXPECT_TRUE(IsWindow(panel));
}

}  // namespace

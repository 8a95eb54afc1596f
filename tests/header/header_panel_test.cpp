// The real header panel, created from its template inside a bare parent window.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "app/player_fixture.h"
#include "header_panel.h"
#include "resource.h"

namespace {

std::tuple<int, int, int, int> Place(HWND control) {
  RECT r = ChildRect(control);
  return std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

class HeaderPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    currentQuiz = new Quiz();
    lstrcpyA(currentQuiz->title, "Les fleuves");
    lstrcpyA(currentQuiz->author, "Andr\xE9");
    lstrcpyA(currentQuiz->explanation, "Un fleuve par r\xE9gion.");
    currentQuiz->questionCount = 30;
    parent = CreateWindowExA(0, "Static", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HEADER_PANEL), parent,
                               HeaderPanelProc, 0);
    ASSERT_NE(panel, nullptr);
    ShowWindow(panel, SW_SHOWNORMAL);
    PumpMessages();
  }
  void TearDown() override {
    DestroyWindow(panel);
    DestroyWindow(parent);
    PumpMessages();
    delete currentQuiz;
    currentQuiz = nullptr;
  }

  HWND parent = nullptr;
  HWND panel = nullptr;
};

TEST_F(HeaderPanelTest, TheTwelveControlsInOrderAndAtWidth600) {
  const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT), link = reinterpret_cast<HGDIOBJ>(-1);  // its own font
  const HGDIOBJ title = currentQuiz->titleFont, score = currentQuiz->scoreFont;
  const char* explanation = "Un fleuve par r\xE9gion.";
  const struct {
    int id;
    const char *className, *text;
    DWORD style;
    HGDIOBJ font;
    std::tuple<int, int, int, int> created, at600;
  } cases[] = {
      {IDC_WEB_LINK, "Static", webSiteAddress, 0x50000100, link, {736, 5, 115, 18}, {466, 0, 115, 18}},
      {IDC_BY_LABEL, "Static", "Par :", 0x50000000, gui, {736, 25, 27, 18}, {466, 25, 26, 18}},
      {IDC_AUTHOR, "Static", "Andr\xE9", 0x50000000, gui, {763, 25, 85, 18}, {493, 25, 105, 18}},
      {IDC_SAVE_BUTTON, "Button", "Sauver", 0x50000000, gui, {666, 25, 55, 18}, {396, 25, 55, 18}},
      {IDC_EXPLANATION, "Static", explanation, 0x50000000, gui, {110, 19, 490, 27}, {110, 19, 276, 28}},
      {IDC_TITLE, "Static", "Les fleuves", 0x50000000, title, {110, 3, 260, 18}, {110, 3, 260, 18}},
      {IDC_CODE_LABEL, "Static", " Code :", 0x50000000, gui, {7, 29, 36, 15}, {7, 29, 36, 15}},
      {IDC_SCORE, "Static", " 0 / 30", 0x50000001, score, {10, 1, 80, 20}, {10, 1, 80, 20}},
      {IDC_SCORE_CODE, "Edit", "", 0x50000800, gui, {44, 29, 53, 16}, {44, 29, 53, 16}},
      {IDC_SEPARATOR_SCORE, "Static", "", 0x50800000, nullptr, {0, 26, 100, 1}, {0, 26, 100, 1}},
      {IDC_SEPARATOR_LEFT, "Static", "", 0x50800000, nullptr, {100, 0, 1, 50}, {100, 0, 1, 50}},
      {IDC_SEPARATOR_RIGHT, "Static", "", 0x50800000, nullptr, {730, 0, 1, 50}, {455, 0, 1, 50}},
  };
  HWND control = GetWindow(panel, GW_CHILD);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetDlgCtrlID(control), c.id) << "creation order";
    char text[300] = "";
    GetClassNameA(control, text, sizeof text);
    EXPECT_EQ(lstrcmpiA(text, c.className), 0) << text;
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    // The edit's frame bits are the system's business; read-only and no border are ours.
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    EXPECT_EQ(style & (c.id == IDC_SCORE_CODE ? WS_CHILD | WS_VISIBLE | ES_READONLY : 0xFFFF0FFF), c.style);
    EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (c.font != link) EXPECT_EQ(font, c.font);
    EXPECT_EQ(Place(control), c.created);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "no thirteenth control";

  SetClientSize(panel, 600, 49);
  for (const auto& c : cases) EXPECT_EQ(Place(GetDlgItem(panel, c.id)), c.at600) << "control " << c.id;
}

TEST_F(HeaderPanelTest, ColoursComeFromThePanelBrushDeletedWithThePanel) {
  HDC dc = GetDC(panel);
  LRESULT panelBrush = SendMessageA(panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0);
  LOGBRUSH fill = {};
  ASSERT_NE(GetObjectA(reinterpret_cast<HBRUSH>(panelBrush), sizeof fill, &fill), 0);
  EXPECT_EQ(fill.lbColor, RGB(128, 128, 255));
  const COLORREF kept = RGB(1, 2, 3), lines = GetSysColor(COLOR_WINDOWTEXT);
  const struct {
    int id;
    bool panelColours;
    COLORREF text;  // afterwards, starting from kept
  } cases[] = {
      {IDC_WEB_LINK, true, RGB(50, 50, 255)}, {IDC_BY_LABEL, true, kept}, {IDC_SCORE, true, kept},
      {IDC_SCORE_CODE, true, kept}, {IDC_SEPARATOR_SCORE, false, lines},  // the lines keep the system's defaults
  };
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
  panel = nullptr;
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(panelBrush)), 0u) << "deleted with the panel";
}

// The link: an underlined face three quarters of its 18-pixel height, and the
// hand cursor; the save button does nothing.
TEST_F(HeaderPanelTest, TheLinkAndTheInertSaveButton) {
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
  EXPECT_FALSE(FileExists("header_windows_test.txt"));
  EXPECT_TRUE(IsWindow(panel));
}

}  // namespace

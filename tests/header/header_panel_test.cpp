// The real header panel, created from its template inside a bare parent window.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/app.h"
#include "header/header_panel.h"
#include "resource.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int Written(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

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
    Pump();
  }
  void TearDown() override {
    DestroyWindow(panel);
    DestroyWindow(parent);
    Pump();
    delete currentQuiz;
    currentQuiz = nullptr;
  }
  // Resizes the panel so that its client area is width pixels wide.
  void SetPanelClientWidth(int width) {
    RECT outer, client;
    GetWindowRect(panel, &outer);
    GetClientRect(panel, &client);
    int frame = (outer.right - outer.left) - client.right;
    SetWindowPos(panel, nullptr, 0, 0, width + frame, 49, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(panel, &client);
    ASSERT_EQ(client.right, width);
  }
  LRESULT Colour(UINT message, HWND control, HDC dc) {
    return SendMessageA(panel, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }

  HWND parent = nullptr;
  HWND panel = nullptr;
};

struct ControlCase {
  int id;
  const char* className;
  const char* text;
  DWORD style;
  int x, y, width, height;
};

TEST_F(HeaderPanelTest, TheTwelveControlsInOrder) {
  const ControlCase cases[] = {
      {IDC_WEB_LINK, "Static", webSiteAddress, 0x50000100, 736, 5, 115, 18},
      {IDC_BY_LABEL, "Static", "Par :", 0x50000000, 736, 25, 27, 18},
      {IDC_AUTHOR, "Static", "Andr\xE9", 0x50000000, 763, 25, 85, 18},
      {IDC_SAVE_BUTTON, "Button", "Sauver", 0x50000000, 666, 25, 55, 18},
      {IDC_EXPLANATION, "Static", "Un fleuve par r\xE9gion.", 0x50000000, 110, 19, 490, 27},
      {IDC_TITLE, "Static", "Les fleuves", 0x50000000, 110, 3, 260, 18},
      {IDC_CODE_LABEL, "Static", " Code :", 0x50000000, 7, 29, 36, 15},
      {IDC_SCORE, "Static", " 0 / 30", 0x50000001, 10, 1, 80, 20},
      {IDC_SCORE_CODE, "Edit", "", 0x50000800, 44, 29, 53, 16},
      {IDC_SEPARATOR_SCORE, "Static", "", 0x50800000, 0, 26, 100, 1},
      {IDC_SEPARATOR_LEFT, "Static", "", 0x50800000, 100, 0, 1, 50},
      {IDC_SEPARATOR_RIGHT, "Static", "", 0x50800000, 730, 0, 1, 50},
  };
  HWND control = GetWindow(panel, GW_CHILD);
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetDlgCtrlID(control), c.id) << "creation order";
    char text[300] = "";
    GetClassNameA(control, text, sizeof text);
    EXPECT_EQ(lstrcmpiA(text, c.className), 0) << text;
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    if (c.id == IDC_SCORE_CODE) {
      // The edit's frame bits are the system's business; read-only and no border are ours.
      EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | ES_READONLY), c.style);
      EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    } else {
      EXPECT_EQ(style & 0xFFFF0FFF, c.style) << std::hex << style;
    }
    RECT place = ChildRect(control);
    EXPECT_EQ(place.left, c.x);
    EXPECT_EQ(place.top, c.y);
    EXPECT_EQ(place.right - place.left, c.width);
    EXPECT_EQ(place.bottom - place.top, c.height);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "no thirteenth control";
}

TEST_F(HeaderPanelTest, FontsOfTheControls) {
  const HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
  const struct {
    int id;
    HGDIOBJ font;
  } cases[] = {
      {IDC_BY_LABEL, guiFont},      {IDC_AUTHOR, guiFont},
      {IDC_SAVE_BUTTON, guiFont},   {IDC_EXPLANATION, guiFont},
      {IDC_TITLE, currentQuiz->titleFont}, {IDC_CODE_LABEL, guiFont},
      {IDC_SCORE, currentQuiz->scoreFont}, {IDC_SCORE_CODE, guiFont},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendDlgItemMessageA(panel, c.id, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(c.font))
        << "control " << c.id;
  }
  // The link: an underlined face three quarters of its 18-pixel height.
  HFONT linkFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(panel, IDC_WEB_LINK, WM_GETFONT, 0, 0));
  ASSERT_NE(linkFont, nullptr);
  LOGFONTA description = {};
  ASSERT_NE(GetObjectA(linkFont, sizeof description, &description), 0);
  EXPECT_EQ(description.lfHeight, -13);
  EXPECT_EQ(description.lfWeight, 400);
  EXPECT_TRUE(description.lfUnderline);
  EXPECT_FALSE(description.lfItalic);
}

TEST_F(HeaderPanelTest, StaticControlsShowTheHandCursor) {
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(GetClassLongPtrA(GetDlgItem(panel, IDC_WEB_LINK), GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(hand));
  EXPECT_EQ(GetClassLongPtrA(GetDlgItem(panel, IDC_TITLE), GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(hand))
      << "the whole Static class shares it";
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 6u);
  EXPECT_EQ(info.yHotspot, 0u);
  EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
  BITMAP mask = {};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64) << "AND and XOR masks of a 32 x 32 cursor";
  DeleteObject(info.hbmMask);
}

TEST_F(HeaderPanelTest, ResizingMovesTheRightHandControls) {
  struct Case {
    int width;
    int linkX, byX, authorX, saveX, separatorX, explanationWidth;
  } cases[] = {
      {600, 466, 466, 493, 396, 455, 276},
      {800, 666, 666, 693, 596, 655, 476},
      {200, 66, 66, 93, -4, 55, 0},  // narrower than 324: the explanation shrinks to nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width);
    SetPanelClientWidth(c.width);
    RECT link = ChildRect(GetDlgItem(panel, IDC_WEB_LINK));
    EXPECT_EQ(link.left, c.linkX);
    EXPECT_EQ(link.top, 0);
    EXPECT_EQ(link.right - link.left, 115);
    RECT by = ChildRect(GetDlgItem(panel, IDC_BY_LABEL));
    EXPECT_EQ(by.left, c.byX);
    EXPECT_EQ(by.right - by.left, 26);
    RECT author = ChildRect(GetDlgItem(panel, IDC_AUTHOR));
    EXPECT_EQ(author.left, c.authorX);
    EXPECT_EQ(author.right - author.left, 105);
    EXPECT_EQ(ChildRect(GetDlgItem(panel, IDC_SAVE_BUTTON)).left, c.saveX);
    EXPECT_EQ(ChildRect(GetDlgItem(panel, IDC_SEPARATOR_RIGHT)).left, c.separatorX);
    RECT explanation = ChildRect(GetDlgItem(panel, IDC_EXPLANATION));
    EXPECT_EQ(explanation.left, 110);
    EXPECT_EQ(explanation.right - explanation.left, c.explanationWidth);
    EXPECT_EQ(explanation.bottom - explanation.top, 28);
    // The score block keeps its creation place.
    RECT score = ChildRect(GetDlgItem(panel, IDC_SCORE));
    EXPECT_EQ(score.left, 10);
    EXPECT_EQ(score.top, 1);
  }
}

TEST_F(HeaderPanelTest, ColourMessagesPaintOnThePanelBrush) {
  HDC dc = GetDC(panel);
  LRESULT panelBrush = Colour(WM_CTLCOLORDLG, panel, dc);
  ASSERT_NE(panelBrush, 0);
  LOGBRUSH fill = {};
  GetObjectA(reinterpret_cast<HBRUSH>(panelBrush), sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, RGB(128, 128, 255));

  const struct {
    int id;
    bool panelColours;
    COLORREF text;  // expected afterwards, starting from RGB(1, 2, 3)
  } cases[] = {
      {IDC_WEB_LINK, true, RGB(50, 50, 255)}, {IDC_BY_LABEL, true, RGB(1, 2, 3)},
      {IDC_AUTHOR, true, RGB(1, 2, 3)},       {IDC_TITLE, true, RGB(1, 2, 3)},
      {IDC_SCORE, true, RGB(1, 2, 3)},        {IDC_SCORE_CODE, true, RGB(1, 2, 3)},
      // The lines get the system's default colours.
      {IDC_SEPARATOR_SCORE, false, GetSysColor(COLOR_WINDOWTEXT)},
      {IDC_SEPARATOR_RIGHT, false, GetSysColor(COLOR_WINDOWTEXT)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    LRESULT brush = Colour(WM_CTLCOLORSTATIC, GetDlgItem(panel, c.id), dc);
    EXPECT_EQ(brush == panelBrush, c.panelColours);
    EXPECT_EQ(GetBkMode(dc), c.panelColours ? TRANSPARENT : OPAQUE);
    EXPECT_EQ(GetTextColor(dc), c.text);
  }
  ReleaseDC(panel, dc);
}

TEST_F(HeaderPanelTest, TheBrushIsDeletedOnceWhenThePanelCloses) {
  HDC dc = GetDC(panel);
  HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(Colour(WM_CTLCOLORDLG, panel, dc));
  ReleaseDC(panel, dc);
  ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  DestroyWindow(panel);
  panel = nullptr;
  EXPECT_EQ(GetObjectType(brush), 0u) << "deleted with the panel";
}

TEST_F(HeaderPanelTest, TheSaveButtonDoesNothing) {
  SendDlgItemMessageA(panel, IDC_SAVE_BUTTON, BM_CLICK, 0, 0);
  Pump();
  EXPECT_FALSE(Written("header_windows_test.txt"));
  char text[64] = "";
  GetDlgItemTextA(panel, IDC_SCORE, text, sizeof text);
  EXPECT_STREQ(text, " 0 / 30");
  EXPECT_TRUE(IsWindow(panel));
}

}  // namespace

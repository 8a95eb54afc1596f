// The whole player opened in-process: the main window, its credit label, the
// layout of the panels, the wheel and the session's end.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "layout.h"
#include "support/windows_fixture.h"

namespace {

const QuestionRow Three[] = {{"PARIS", "", "France ?"}, {"ROME", "", "Italie ?"}, {"MADRID", "", "Espagne ?"}};

void ThreeCapitals(Quiz& quiz) { AddQuestions(quiz, Three, 3, 3); }

std::vector<int> seenScrollCodes;
WNDPROC questionPanelProcBefore = nullptr;

// Sits in front of the question panel and notes every vertical scroll request.
LRESULT CALLBACK ScrollRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_VSCROLL) seenScrollCodes.push_back(LOWORD(wParam));
  return CallWindowProcA(questionPanelProcBefore, window, message, wParam, lParam);
}

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(windows.StartPlayer(ThreeCapitals)); }
  WindowsFixture windows;
};

// The caption, closing and the answers file's name are checked end to end (tests/e2e).
TEST_F(PlayerTest, MainWindowSizeAndCentring) {
  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(mainWindow, &own);
  EXPECT_EQ(std::make_tuple(own.left, own.top, own.right - own.left, own.bottom - own.top),
            std::make_tuple((desktop.right - 544) / 2, (desktop.bottom - 375) / 2, 544L, 375L));
  EXPECT_EQ(currentQuiz->headerPanel, headerPanelWindow);
  EXPECT_TRUE(IsWindowVisible(headerPanelWindow) && IsWindowVisible(questionPanelWindow));
}

TEST_F(PlayerTest, CreditLabelTextFontAndColours) {
  HWND label = GetDlgItem(mainWindow, IDC_CREDIT_LABEL);
  EXPECT_EQ(WindowsFixture::Text(mainWindow, IDC_CREDIT_LABEL),
            "R\xE9"
            "alis\xE9 avec la version 2.1.3  ");
  EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
  LOGBRUSH fill = {};
  GetObjectA(creditLabelBrush, sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, RGB(212, 208, 200));
  // Only the credit label is painted; any other child is left alone.
  HDC dc = GetDC(mainWindow);
  for (HWND control : {label, headerPanelWindow}) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    LRESULT brush =
        SendMessageA(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const bool credit = control == label;
    EXPECT_EQ(std::make_tuple(brush, GetTextColor(dc), GetBkMode(dc)),
              credit ? std::make_tuple(reinterpret_cast<LRESULT>(creditLabelBrush), RGB(0, 0, 0), TRANSPARENT)
                     : std::make_tuple(LRESULT{0}, RGB(1, 2, 3), OPAQUE));
  }
  ReleaseDC(mainWindow, dc);
}

TEST_F(PlayerTest, PanelsFollowTheClientSizeButNotAMinimisedWindow) {
  // A 600 x 400 client area: the panels 5 pixels in, the credit label in the bottom corner.
  auto expectLayout = [](const char* when) {
    EXPECT_EQ(Place(questionPanelWindow), std::make_tuple(5, 50, 589, 332)) << when;
    EXPECT_EQ(Place(headerPanelWindow), std::make_tuple(5, 2, 589, 49)) << when;
    EXPECT_EQ(Place(GetDlgItem(mainWindow, IDC_CREDIT_LABEL)), std::make_tuple(455, 384, 140, 15)) << when;
  };
  SetClientSize(mainWindow, 600, 400);
  expectLayout("600 x 400");
  ShowWindow(mainWindow, SW_MINIMIZE);
  PumpMessages();
  ASSERT_TRUE(IsIconic(mainWindow));
  expectLayout("minimised");
  // Displaced while minimised: only a new layout brings them back.
  SetWindowPos(questionPanelWindow, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
  SetWindowPos(headerPanelWindow, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
  ShowWindow(mainWindow, SW_RESTORE);
  PumpMessages();
  expectLayout("restored");
}

// Pixels of colour inside a control, as drawn on screen.
int CountScreenPixels(HWND control, COLORREF colour) {
  RECT r;
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += GetPixel(screen, x, y) == colour;
  ReleaseDC(nullptr, screen);
  return count;
}

// Moved by the resize into an area that their parent erases: the link, "Par :"
// and the credit label still show text pixels there, not only their background.
TEST_F(PlayerTest, TextIsDrawnAtTheNewPlacesAfterGrowingAndShrinking) {
  RECT before;
  GetWindowRect(mainWindow, &before);
  // clang-format off
  const struct { const char* name; int x, y, width, height; } sizes[] = {
      {"grown", 0, 0, 960, 700}, {"shrunk back", before.left, before.top, before.right - before.left, before.bottom - before.top}};
  const struct { HWND control; COLORREF text; } labels[] = {
      {GetDlgItem(headerPanelWindow, IDC_WEB_LINK), RGB(50, 50, 255)}, {GetDlgItem(headerPanelWindow, IDC_BY_LABEL), RGB(0, 0, 0)},
      {GetDlgItem(mainWindow, IDC_CREDIT_LABEL), RGB(0, 0, 0)}};
  // clang-format on
  for (const auto& size : sizes) {
    SetWindowPos(mainWindow, nullptr, size.x, size.y, size.width, size.height, SWP_NOZORDER);
    UpdateWindow(mainWindow);
    PumpMessages();
    for (const auto& label : labels)
      EXPECT_GT(CountScreenPixels(label.control, label.text), 0)
          << size.name << ", control " << GetDlgCtrlID(label.control);
  }
}

TEST_F(PlayerTest, OneWheelNotchIsPostedToTheQuestionPanel) {
  questionPanelProcBefore = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(questionPanelWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollRecorder)));
  for (auto [delta, codes] : {std::pair<short, std::vector<int>>{-120, {ScrollWheelDown}}, {240, {}}}) {
    seenScrollCodes.clear();
    SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(300, 300));
    EXPECT_TRUE(seenScrollCodes.empty()) << "posted, not sent: delta " << delta;
    PumpMessages();
    EXPECT_EQ(seenScrollCodes, codes) << "delta " << delta;
  }
}

TEST_F(PlayerTest, SessionEndSavesOnlyWhenTheSessionReallyEnds) {
  SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + 1, "Madrid");
  for (auto c : {std::make_pair(FALSE, "<missing>"), std::make_pair(TRUE, "Madrid\r\n\r\n\r\n")}) {
    SendMessageA(mainWindow, WM_ENDSESSION, c.first, 0);
    EXPECT_EQ(windows.ReadAnswersFile(), c.second) << "wParam " << c.first;
  }
}

TEST(PlayerResources, TheProgramIconHasBothSizes) {
  for (int size : {32, 16}) {
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LUDEX), IMAGE_ICON, size, size, 0);
    ICONINFO info = {};
    BITMAP colour = {};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info)) << size;
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(std::make_pair(colour.bmWidth, colour.bmHeight), std::make_pair(LONG(size), LONG(size)));
  }
}

}  // namespace

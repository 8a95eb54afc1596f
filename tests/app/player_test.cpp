// The real main window and panels, opened in-process and driven with messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/player_fixture.h"
#include "resource.h"
#include "support/message_box_watch.h"

namespace {

std::vector<int> seenScrollCodes;
WNDPROC questionPanelProcBefore = nullptr;

// Sits in front of the question panel and notes every vertical scroll request.
LRESULT CALLBACK ScrollRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_VSCROLL) seenScrollCodes.push_back(LOWORD(wParam));
  return CallWindowProcA(questionPanelProcBefore, window, message, wParam, lParam);
}

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions));
    PumpMessages();
  }
  void TearDown() override {
    if (questionPanelProcBefore != nullptr) {
      SetWindowLongPtrA(questionPanelWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(questionPanelProcBefore));
      questionPanelProcBefore = nullptr;
    }
    EndPlayer();
  }
  void RecordScrolls() {
    seenScrollCodes.clear();
    questionPanelProcBefore = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(questionPanelWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollRecorder)));
  }
  void SetAnswer(int k, const char* text) { SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + k, text); }

  ScratchDirectory scratch;
};

void ExpectRectAt(RECT actual, int x, int y, int width, int height, const char* what) {
  EXPECT_EQ(actual.left, x) << what;
  EXPECT_EQ(actual.top, y) << what;
  EXPECT_EQ(actual.right - actual.left, width) << what;
  EXPECT_EQ(actual.bottom - actual.top, height) << what;
}

TEST_F(PlayerTest, MainWindowClassSizeAndCentring) {
  char text[300] = "";
  GetWindowTextA(mainWindow, text, sizeof text);
  EXPECT_STREQ(text, "Capitales d'Europe");
  GetClassNameA(mainWindow, text, sizeof text);
  EXPECT_STREQ(text, "WindowsApp");
  EXPECT_EQ(GetClassLongPtrA(mainWindow, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
  EXPECT_EQ(GetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_SCROLLBAR + 1));
  EXPECT_EQ(GetClassLongPtrA(mainWindow, GCLP_HCURSOR),
            reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(mainWindow, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW));

  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(mainWindow, &own);
  EXPECT_EQ(own.right - own.left, 544);
  EXPECT_EQ(own.bottom - own.top, 375);
  EXPECT_EQ(own.left, (desktop.right - desktop.left - 544) / 2);
  EXPECT_EQ(own.top, (desktop.bottom - desktop.top - 375) / 2);

  // The big icon is the question mark, the small one stays the class's.
  EXPECT_EQ(SendMessageA(mainWindow, WM_GETICON, ICON_BIG, 0),
            reinterpret_cast<LRESULT>(LoadIconA(nullptr, MAKEINTRESOURCEA(32514))));
  EXPECT_EQ(GetClassLongPtrA(mainWindow, GCLP_HICONSM),
            reinterpret_cast<ULONG_PTR>(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));

  EXPECT_EQ(GetParent(headerPanelWindow), mainWindow);
  EXPECT_EQ(GetParent(questionPanelWindow), mainWindow);
  EXPECT_EQ(currentQuiz->headerPanel, headerPanelWindow);
  EXPECT_TRUE(IsWindowVisible(headerPanelWindow));
  EXPECT_TRUE(IsWindowVisible(questionPanelWindow));
}

TEST_F(PlayerTest, CreditLabelTextFontAndColours) {
  HWND label = GetDlgItem(mainWindow, IDC_CREDIT_LABEL);
  ASSERT_NE(label, nullptr);
  char text[64] = "";
  GetWindowTextA(label, text, sizeof text);
  EXPECT_STREQ(text, "R\xE9" "alis\xE9 avec la version 2.1.3  ");
  EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));

  HDC dc = GetDC(label);
  SetTextColor(dc, RGB(1, 2, 3));
  LRESULT brush = SendMessageA(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(creditLabelBrush));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  LOGBRUSH fill = {};
  GetObjectA(creditLabelBrush, sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, RGB(212, 208, 200));
  ReleaseDC(label, dc);

  // Any other static control of the main window is left alone.
  HWND other = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, mainWindow,
                               reinterpret_cast<HMENU>(8001), GetModuleHandleA(nullptr), nullptr);
  dc = GetDC(other);
  EXPECT_EQ(SendMessageA(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(other)),
            0);
  ReleaseDC(other, dc);
  DestroyWindow(other);
}

TEST_F(PlayerTest, LayoutFollowsTheClientSize) {
  struct Case {
    int width, height;
    int questionHeight, creditX, creditY;
  } cases[] = {{600, 400, 332, 455, 384}, {700, 300, 232, 555, 284}};
  for (const Case& c : cases) {
    SetClientSize(mainWindow, c.width, c.height);
    RECT client;
    GetClientRect(mainWindow, &client);
    ASSERT_EQ(client.right, c.width);
    ASSERT_EQ(client.bottom, c.height);
    ExpectRectAt(ChildRect(questionPanelWindow), 5, 50, c.width - 11, c.questionHeight, "question panel");
    ExpectRectAt(ChildRect(headerPanelWindow), 5, 2, c.width - 11, 49, "header panel");
    ExpectRectAt(ChildRect(GetDlgItem(mainWindow, IDC_CREDIT_LABEL)), c.creditX, c.creditY, 140, 15,
                 "credit label");
  }
}

TEST_F(PlayerTest, MinimisingMovesNothingAndRestoringLaysOutAgain) {
  SetClientSize(mainWindow, 600, 400);
  ShowWindow(mainWindow, SW_MINIMIZE);
  PumpMessages();
  ASSERT_TRUE(IsIconic(mainWindow));
  ExpectRectAt(ChildRect(questionPanelWindow), 5, 50, 589, 332, "question panel while minimised");
  ExpectRectAt(ChildRect(headerPanelWindow), 5, 2, 589, 49, "header panel while minimised");

  // Displaced while minimised: only a new layout brings them back.
  SetWindowPos(questionPanelWindow, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
  SetWindowPos(headerPanelWindow, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
  ShowWindow(mainWindow, SW_RESTORE);
  PumpMessages();
  ExpectRectAt(ChildRect(questionPanelWindow), 5, 50, 589, 332, "question panel restored");
  ExpectRectAt(ChildRect(headerPanelWindow), 5, 2, 589, 49, "header panel restored");
}

TEST_F(PlayerTest, OneWheelNotchIsPostedToTheQuestionPanel) {
  struct Case {
    short delta;
    std::vector<int> codes;
  } cases[] = {
      {120, {501}}, {-120, {500}}, {240, {}}, {-240, {}}, {60, {}}, {0, {}},
  };
  RecordScrolls();
  for (const Case& c : cases) {
    seenScrollCodes.clear();
    SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), MAKELPARAM(300, 300));
    EXPECT_TRUE(seenScrollCodes.empty()) << "posted, not sent: delta " << c.delta;
    PumpMessages();
    EXPECT_EQ(seenScrollCodes, c.codes) << "delta " << c.delta;
  }
}

TEST_F(PlayerTest, ClosingSavesDeletesTheSoundFileAndEndsWithZero) {
  SetAnswer(1, "Paris");
  SetAnswer(2, "");
  SetAnswer(3, "42");
  WriteWholeFile("ludex.mp3", "ID3");
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "Paris\r\n\r\n42\r\n");
  EXPECT_FALSE(FileExists("ludex.mp3"));
  EXPECT_TRUE(IsWindow(mainWindow)) << "teardown, not WM_CLOSE, ends the windows";
}

TEST_F(PlayerTest, SessionEndSavesOnlyWhenTheSessionReallyEnds) {
  struct Case {
    WPARAM ending;
    const char* expected;
  } cases[] = {{FALSE, "<missing>"}, {TRUE, "Madrid\r\n\r\n\r\n"}};
  SetAnswer(1, "Madrid");
  for (const Case& c : cases) {
    SendMessageA(mainWindow, WM_ENDSESSION, c.ending, 0);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), c.expected) << "wParam " << c.ending;
  }
}

TEST(PlayerStart, WithoutQuizResourceTheBuiltInQuizPlaysSilently) {
  ScratchDirectory scratch;
  MessageBoxWatch boxes;
  ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr)));
  PumpMessages();
  char caption[64] = "";
  GetWindowTextA(mainWindow, caption, sizeof caption);
  EXPECT_STREQ(caption, "Nom du ludex");
  EXPECT_TRUE(boxes.seen().empty());
  EndPlayer();
  EXPECT_EQ(currentQuiz, nullptr);
}

TEST(PlayerStart, TheNextStartResumesTheSavedAnswers) {
  ScratchDirectory scratch;
  const char* typed[] = {"Paris", "", "Rome et été"};
  ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions));
  for (int k = 1; k <= 3; ++k) SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + k, typed[k - 1]);
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EndPlayer();

  ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions)) << "a second start in one process";
  for (int k = 1; k <= 3; ++k) {
    char text[300] = "";
    GetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + k, text, sizeof text);
    EXPECT_STREQ(text, typed[k - 1]) << "field " << k;
  }
  EndPlayer();
}

}  // namespace

namespace {

TEST(PlayerResources, TheProgramIconHasBothSizes) {
  const struct {
    int size;
  } cases[] = {{32}, {16}};
  for (const auto& c : cases) {
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LUDEX), IMAGE_ICON, c.size, c.size, 0));
    ASSERT_NE(icon, nullptr) << c.size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    BITMAP colour = {};
    ASSERT_NE(GetObjectA(info.hbmColor, sizeof colour, &colour), 0);
    EXPECT_EQ(colour.bmWidth, c.size);
    EXPECT_EQ(colour.bmHeight, c.size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

}  // namespace

// The real main window and panels, opened in-process and driven with messages,
// and the answers file written from the question panel's fields.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/player_fixture.h"
#include "resource.h"

namespace {

std::vector<int> seenScrollCodes;
WNDPROC questionPanelProcBefore = nullptr;

// Sits in front of the question panel and notes every vertical scroll request.
LRESULT CALLBACK ScrollRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_VSCROLL) seenScrollCodes.push_back(LOWORD(wParam));
  return CallWindowProcA(questionPanelProcBefore, window, message, wParam, lParam);
}

std::tuple<int, int, int, int> Place(HWND window) {
  RECT r = ChildRect(window);
  return std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void SetAnswers(const char* first, const char* second, const char* third) {
  const char* texts[] = {first, second, third};
  for (int k = 1; k <= 3; ++k) SetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + k, texts[k - 1]);
}

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions));
    PumpMessages();
  }
  void TearDown() override { EndPlayer(); }

  ScratchDirectory scratch;
};
using SaveAnswersTest = PlayerTest;

TEST_F(PlayerTest, MainWindowCaptionSizeAndCentring) {
  char caption[64] = "";
  GetWindowTextA(mainWindow, caption, sizeof caption);
  EXPECT_STREQ(caption, "Capitales d'Europe");
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
  char text[64] = "";
  GetWindowTextA(label, text, sizeof text);
  EXPECT_STREQ(text, "R\xE9" "alis\xE9 avec la version 2.1.3  ");
  EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
  LOGBRUSH fill = {};
  GetObjectA(creditLabelBrush, sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, RGB(212, 208, 200));
  // Only the credit label is painted; any other child is left alone.
  HDC dc = GetDC(mainWindow);
  for (HWND control : {label, headerPanelWindow}) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    LRESULT brush = SendMessageA(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(control));
    const bool credit = control == label;
    EXPECT_EQ(std::make_tuple(brush, GetTextColor(dc), GetBkMode(dc)),
              credit ? std::make_tuple(reinterpret_cast<LRESULT>(creditLabelBrush), RGB(0, 0, 0), TRANSPARENT)
                     : std::make_tuple(LRESULT{0}, RGB(1, 2, 3), OPAQUE));
  }
  ReleaseDC(mainWindow, dc);
}

TEST_F(PlayerTest, LayoutFollowsTheClientSizeButNotAMinimisedWindow) {
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
  const struct {
    const char* name;
    int x, y, width, height;
  } sizes[] = {{"grown", 0, 0, 960, 700},
               {"shrunk back", before.left, before.top, before.right - before.left, before.bottom - before.top}};
  const struct {
    HWND control;
    COLORREF text;
  } labels[] = {{GetDlgItem(headerPanelWindow, IDC_WEB_LINK), RGB(50, 50, 255)},
                {GetDlgItem(headerPanelWindow, IDC_BY_LABEL), RGB(0, 0, 0)},
                {GetDlgItem(mainWindow, IDC_CREDIT_LABEL), RGB(0, 0, 0)}};
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
  for (auto [delta, codes] : {std::pair<short, std::vector<int>>{120, {501}}, {-120, {500}}, {240, {}}}) {
    seenScrollCodes.clear();
    SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(300, 300));
    EXPECT_TRUE(seenScrollCodes.empty()) << "posted, not sent: delta " << delta;
    PumpMessages();
    EXPECT_EQ(seenScrollCodes, codes) << "delta " << delta;
  }
}

TEST_F(PlayerTest, ClosingSavesDeletesTheSoundFileAndTheNextStartResumes) {
  const char* typed[] = {"Paris", "", "Rome et \xE9t\xE9"};
  SetAnswers(typed[0], typed[1], typed[2]);
  WriteWholeFile("ludex.mp3", "ID3");
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(ReadWholeFile(testAnswersFile), "Paris\r\n\r\nRome et \xE9t\xE9\r\n");
  EXPECT_FALSE(FileExists("ludex.mp3"));
  EXPECT_TRUE(IsWindow(mainWindow)) << "teardown, not WM_CLOSE, ends the windows";
  EndPlayer();
  ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), FillThreeQuestions)) << "a second start in one process";
  for (int k = 1; k <= 3; ++k) {
    char text[300] = "";
    GetDlgItemTextA(questionPanelWindow, IDC_ANSWER_BASE + k, text, sizeof text);
    EXPECT_STREQ(text, typed[k - 1]) << "field " << k;
  }
}

TEST_F(PlayerTest, SessionEndSavesOnlyWhenTheSessionReallyEnds) {
  SetAnswers("Madrid", "", "");
  for (auto c : {std::make_pair(FALSE, "<missing>"), std::make_pair(TRUE, "Madrid\r\n\r\n\r\n")}) {
    SendMessageA(mainWindow, WM_ENDSESSION, c.first, 0);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), c.second) << "wParam " << c.first;
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

// Rows run in order in one folder: each save must replace the previous file whole,
// so a shorter content follows a longer one.
TEST_F(SaveAnswersTest, WritesOneLinePerAnswerField) {
  const std::string longAnswer(300, 'x');
  const struct {
    const char* name;
    std::string first, second, third;
    int questionCount, answersPerQuestion;
    std::string expected;
  } cases[] = {
      {"cut to 259 bytes", longAnswer, "", "", 3, 1, std::string(259, 'x') + "\r\n\r\n\r\n"},
      {"second answers name no control", "Paris", "", "42", 3, 2, "Paris\r\n\r\n42\r\n\r\n\r\n\r\n"},
      {"count below the fields", "Paris", "Rome", "42", 2, 1, "Paris\r\nRome\r\n"},
      {"code page bytes kept", "\xC9t\xE9", " deux  mots ", "%s%d", 3, 1, "\xC9t\xE9\r\n deux  mots \r\n%s%d\r\n"},
      {"no questions: empty file", "Paris", "", "42", 0, 1, ""},
  };
  for (const auto& c : cases) {
    SetAnswers(c.first.c_str(), c.second.c_str(), c.third.c_str());
    currentQuiz->questionCount = c.questionCount;
    currentQuiz->answersPerQuestion = c.answersPerQuestion;
    SaveAnswers(questionPanelWindow);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), c.expected) << c.name;
    EXPECT_EQ(CountFiles(), 1) << c.name << ": only the answers file remains";
  }
}

// Held open without sharing by someone else, or read-only: the old file stays,
// and once it is free again saving works.
TEST_F(SaveAnswersTest, AnAnswersFileThatCannotBeReplacedIsKept) {
  for (bool held : {true, false}) {
    WriteWholeFile(testAnswersFile, "ancienne\r\nr\xE9ponse\r\n\r\n");
    SetAnswers("nouvelle", "", "");
    HANDLE holder = held ? CreateFileA(testAnswersFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                         : INVALID_HANDLE_VALUE;
    ASSERT_TRUE(held ? holder != INVALID_HANDLE_VALUE
                     : SetFileAttributesA(testAnswersFile, FILE_ATTRIBUTE_READONLY));
    SaveAnswers(questionPanelWindow);
    if (held) CloseHandle(holder); else SetFileAttributesA(testAnswersFile, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), "ancienne\r\nr\xE9ponse\r\n\r\n") << "held " << held;
    EXPECT_EQ(CountFiles(), 1) << "the unfinished copy is removed";
    SaveAnswers(questionPanelWindow);
    EXPECT_EQ(ReadWholeFile(testAnswersFile), "nouvelle\r\n\r\n\r\n") << "held " << held;
  }
}

}  // namespace

// The player's real windows, opened in-process by a test and closed again.
//
//   WindowsFixture f;                       // a scratch current directory
//   f.WriteAnswersFile("Paris\r\n");        // optional: the saved answers
//   f.OpenPanel([](Quiz& q) { AddQuestions(q, rows, 3, 3); });  // one panel alone
//   f.StartPlayer([](Quiz& q) { ... });     // or the whole player, as WinMain starts it
//   SendMessageA(f.Item(4001), WM_KEYUP, VK_F2, 0);
//   EXPECT_EQ(f.ReadAnswersFile(), "Paris\r\n");
//
// The quiz is currentQuiz, filled by the caller's function before any window
// exists. The destructor closes the windows, deletes the quiz and removes the
// scratch directory with every file in it. A test program links it with
// ludex_windows_test(name SOURCES ... LINK ludex_windows_fixture).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <tuple>

#include "answers_file_win32.h"
#include "app.h"
#include "question_panel.h"
#include "resource.h"

using FillQuiz = std::function<void(Quiz&)>;

struct QuestionRow {
  const char *answer1, *answer2, *text;
};
// Appends rowCount records, then sets questionCount and answersPerQuestion.
void AddQuestions(Quiz& quiz, const QuestionRow* rows, int rowCount, int questionCount, int answersPerQuestion = 1);

class WindowsFixture {
 public:
  WindowsFixture();
  ~WindowsFixture();
  WindowsFixture(const WindowsFixture&) = delete;
  WindowsFixture& operator=(const WindowsFixture&) = delete;

  // One panel (by default the question panel) in a plain visible parent
  // window, sized width by height; returns it, also as panel.
  HWND OpenPanel(const FillQuiz& fill, int width = 500, int height = 300, int templateId = IDD_QUESTION_PANEL,
                 DLGPROC procedure = QuestionPanelProc);
  // StartPlayer of the player; panel is its question panel. false when it failed.
  bool StartPlayer(const FillQuiz& fill);
  // The player's own teardown; StartPlayer may follow again.
  void EndPlayer();

  HWND Item(int id) const { return GetDlgItem(panel, id); }
  std::string Text(int id) const { return Text(panel, id); }
  static std::string Text(HWND window, int id);  // up to 40,000 bytes
  int Position(int bar) const { return GetScrollPos(panel, bar); }

  // The answers file of this test program, in the scratch directory.
  std::string ReadAnswersFile() const;  // "<missing>" when there is none
  void WriteAnswersFile(const std::string& bytes) const;
  std::string answersFile;

  HWND panel = nullptr;

 private:
  HWND parent_ = nullptr;
  bool playing_ = false;
  char previousDirectory_[MAX_PATH] = "";
  char directory_[MAX_PATH] = "";
};

// Dispatches every waiting message as the player's loop does, the open
// panel taking its dialog keys.
void PumpMessages();
// Files in the current directory (the scratch directory).
int CountFiles();
// A child's rectangle in its parent's client coordinates, and as x, y, width, height.
RECT ChildRect(HWND child);
std::tuple<int, int, int, int> Place(HWND child);
// Resizes a window so that its client area is width by height, then pumps.
void SetClientSize(HWND window, int width, int height);

// Opens the real player windows in-process, in a throw-away current directory,
// with a small hand-filled quiz, and closes them again.
#pragma once
#include <windows.h>

#include <string>

#include "answers_file_win32.h"
#include "app.h"

// The answers file of this test program, as the player names it.
extern const char testAnswersFile[];

// Three questions: France, Italie, Espagne.
void FillThreeQuestions(Quiz* quiz);

// A fresh empty folder made the current directory; the previous one and the
// folder's removal come back on destruction.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

 private:
  char previous_[MAX_PATH] = "";
  char path_[MAX_PATH] = "";
};

// The whole content of a file, or "<missing>".
std::string ReadWholeFile(const char* name);
void WriteWholeFile(const char* name, const std::string& bytes);
bool FileExists(const char* name);
// Number of files in the current directory (the scratch folder).
int CountFiles();

// Dispatches every waiting message as the player's loop does.
void PumpMessages();

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// Resizes a window so that its client area is width by height.
void SetClientSize(HWND window, int width, int height);

// Answers the modal dialogs the code under test opens: message boxes, the
// editor's own dialogs, the common file dialog and the colour chooser, all
// real. A thread-local CBT hook sees each dialog as it activates; a timer
// then acts inside the dialog's own modal loop, as a user would: it types
// the file name into the file dialog's name field, or the colour into the
// chooser's red, green and blue fields, and presses a button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct DialogAnswer {
  int button;                            // pressed last: IDOK, IDYES, IDNO, IDCANCEL
  std::wstring fileName;                 // typed into a file dialog's name field first
  COLORREF colour = CLR_INVALID;         // typed into the colour chooser first
  std::function<void(HWND dialog)> act;  // done in the dialog first, as the user would
};
DialogAnswer Press(int button);
DialogAnswer FileName(const std::wstring& path);  // then OK
DialogAnswer Colour(COLORREF colour);             // then OK
DialogAnswer Then(std::function<void(HWND dialog)> act, int button);

struct SeenDialog {
  std::wstring caption;
  std::wstring text;      // the texts of its static and edit controls, one per line
  std::wstring proposed;  // what a file dialog's name field held when it opened
  std::wstring folder;    // the folder a file dialog showed
};

// Watches the calling thread for as long as it lives: the dialogs are
// answered in the order planned, and one past the plan is cancelled (a
// dialog never hangs a test) and counted as unexpected.
class DialogAnswers {
 public:
  DialogAnswers();
  ~DialogAnswers();
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  void plan(std::vector<DialogAnswer> answers);  // the next dialogs; forgets those seen before
  const std::vector<SeenDialog>& seen() const;
  const std::vector<SeenDialog>& unexpected() const;  // since the watch began
};

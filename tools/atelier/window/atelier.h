// Ludex Atelier's window: the one editor window of the process, its state,
// and the steps of start-up, split so that tests open the real window
// in-process. Every change to the quiz goes through atelier.document; the
// window shows the document after each one.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "atelier_resource.h"
#include "document.h"
#include "validation.h"

struct Atelier {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND list = nullptr;      // the questions: a virtual report list view
  HWND problems = nullptr;  // what breaks a limit: a list box
  HWND status = nullptr;    // the status bar
  HACCEL accelerators = nullptr;
  HFONT font = nullptr;          // the system's message font, for every control
  HBRUSH swatchBrush = nullptr;  // the quiz's background colour, beside its button
  COLORREF swatchColour = 0;

  QuizDocument document;
  std::vector<DocumentProblem> problemsFound;  // of the quiz as it stands
  std::vector<bool> rowHasError;               // drawn red in the list
  bool problemsShown = false;                  // the problems list and status bar show problemsFound
  int shownRow = -1;                           // the row the fields below the list show; -1: none
  std::wstring acceptedText[QuizFieldCount];   // each field's last text without a refused character
  bool overLimit[QuizFieldCount] = {};         // the field's counter is red
  bool filling = false;                        // the window is writing the fields: no typing to take
  bool syncingList = false;                    // the window is writing the list's selection
  bool selectionPending = false;               // the list's selection changed; the fields follow once
  bool recoveryTimerArmed = false;

  std::wstring handWrittenPath;          // a source not in the writer's form: say so before rewriting it
  std::wstring recoveryCopy;             // the recovery copy last written, removed on a clean save or close
  std::wstring settingsFolder;           // %APPDATA%\Ludex: the last files, copies of unsaved quizzes
  std::vector<std::string> recentFiles;  // UTF-8, the most recent first

  std::wstring sessionFolder;  // %TEMP%\ludex-atelier-<process>: tries and printed pages
  int tries = 0;
  PROCESS_INFORMATION tryProcess = {};  // the player of the last try

  // Opens a written HTML page: the default browser. Tests put their own.
  bool (*openPage)(const std::wstring& path) = nullptr;
};

extern Atelier atelier;

// Sent to the window once after the list's selection changes.
const UINT WM_LIST_SELECTION = WM_APP + 1;
// A recovery copy is written this long after the first unsaved change.
const UINT RecoveryDelayMs = 3000;

// Start-up, steps of WinMain: registers the class, opens the window, offers
// back a recovery copy left by a crash, then opens fileToOpen when not empty.
bool StartAtelier(HINSTANCE instance, const std::wstring& fileToOpen);
int RunAtelierLoop();
// The window's keys, before a message is dispatched: the accelerators, Tab
// out of a multi-line field, the dialog navigation (Tab, Alt+letter). true
// when the message was taken.
bool TakeKeyMessage(MSG& message);
void EndAtelier();  // destroys the window if it is still there, without asking
LRESULT CALLBACK AtelierWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A child control of the window in its font, placed later by the layout.
HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD extendedStyle = 0);

// Showing the document (app.cpp).
void ShowDocument();                // everything, after a change other than typing
void AfterChange();                 // ShowDocument, and the recovery copy's timer
void AfterTyping(QuizField field);  // the list row, problems, title, timer
void ShowTitle();                   // "name.txt* - Ludex Atelier"
void SetStatus(const std::wstring& text);
int Ask(const std::wstring& text, UINT flags);  // a message box owned by the window
std::wstring FieldName(QuizField field);        // « réponse »
std::wstring ProblemLine(const DocumentProblem& problem);

// The text fields, the settings and their counters (fields.cpp).
HWND FieldWindow(QuizField field);
void CreateHeaderControls();
void CreateRowFields();
void ShowFields();
void MsgFieldCommand(int id, int code);
LRESULT MsgCtlColorStatic(HDC dc, HWND control);
void ChooseBackgroundColour();
bool IsMultilineField(HWND control);
void DeleteSwatchBrush();

// The list of the questions (question_list.cpp).
void CreateQuestionList();
void ShowQuestionList();
void RedrawQuestionRow(int row);
LRESULT MsgListNotify(NMHDR* header);
void TakeListSelection();
int InsertionRow();  // after the last selected row, or at the end
void SetListColumns(int width);

// Files (files.cpp).
void LoadRecentFiles();
void NewQuiz();
void OpenQuiz();
void OpenRecentFile(int index);
bool OpenPath(const std::wstring& path);  // a source or a built quiz, whichever it is
bool SaveQuiz();
bool SaveQuizAs();
bool ConfirmDiscard();  // true when the work may go: saved, given up, or not changed
void WriteRecoveryCopy();
void RemoveRecoveryCopy();
void OfferRecoveryCopies();
bool ReadFileBytes(const std::wstring& path, size_t limit, std::string& bytes, std::wstring& error);
bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::wstring& error);
bool AskFileName(bool save, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                 std::wstring& path);  // path: the name proposed, then the one chosen
std::wstring FileNameOf(const std::wstring& path);
std::wstring FolderOf(const std::wstring& path);

// Bulk entry (bulk.cpp).
void PasteRows();
void ImportCsv();
void ExportCsv();

// Trying, building, printing (output.cpp).
void TryQuiz();
void BuildProgram();
void BuildPage();
void PrintQuiz();
void EndTries();  // closes the handles of the last try and removes the session folder

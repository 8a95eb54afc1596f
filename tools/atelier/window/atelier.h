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
#include "file_access.h"
#include "validation.h"

// What several files of the window share. Each file keeps its own state
// (the fields, the list, the files, the tries) to itself.
struct Atelier {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND list = nullptr;  // the questions: a virtual report list view

  QuizDocument document;
  std::vector<bool> rowHasError;  // from the problems of the quiz: drawn red in the list
  int shownRow = -1;              // the row the fields below the list show; -1: none

  // Opens a written HTML page: the default browser. Tests put their own.
  bool (*openPage)(const std::wstring& path) = nullptr;
};

extern Atelier atelier;

// Sent to the window once after the list's selection changes.
const UINT WM_LIST_SELECTION = WM_APP + 1;
// What breaks a limit is written in this red: counters, rows, preview lines.
const COLORREF ErrorRed = RGB(200, 0, 0);
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
std::wstring ProblemLine(const QuizProblem& problem);

// The text fields, the settings and their counters (fields.cpp).
HWND FieldWindow(QuizField field);
void CreateHeaderControls();
void CreateRowFields();
void ShowFields();
bool IsFieldsCommand(int id);  // a text field or a setting: MsgFieldCommand takes its notifications
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
// The expected answers of a question as the list shows them: "a  |  b" with two.
std::wstring AnswersCellText(const AuthoredQuiz& quiz, const AuthoredQuestion& question);
void SetListColumns(int width);

// Files (files.cpp).
void StartFiles();  // the settings folder and the last files, at start-up
void NewQuiz();
void OpenQuiz();
void OpenRecentFile(int index);
bool OpenPath(const std::wstring& path);  // a source or a built quiz, whichever it is
bool SaveQuiz();
bool SaveQuizAs();
bool ConfirmDiscard();    // true when the work may go: saved, given up, or not changed
void ArmRecoveryTimer();  // the recovery copy follows a few seconds after a change
void WriteRecoveryCopy();
void RemoveRecoveryCopy();  // and its lock
void OfferRecoveryCopies();
void EndFiles();  // lets the recovery copy's lock go, leaving the copy

// Bulk entry (bulk.cpp).
void PasteRows();
void ImportCsv();
void ExportCsv();

// Trying, building, printing (output.cpp).
void StartOutput();  // the session folder of this editor's tries and pages
void TryQuiz();
void BuildProgram();
void BuildPage();
void PrintQuiz();
void EndTries();          // closes the handles of the last try and removes the session folder
HANDLE LastTryProcess();  // the player of the last try; null when none
const std::wstring& SessionFolder();

// Ludex Atelier's window: a thin Win32 front end over the editing session
// (editor_session.h). It draws the controls, hands what the author does to
// the session, shows the session's prompts as modal dialogs and implements
// its host (win32_host.h). The steps of start-up are split so that tests
// open the real window in-process.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "atelier_resource.h"
#include "editor_session.h"
#include "win32_host.h"

// The one editor window of the process and what it shows.
struct Atelier {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND list = nullptr;  // the questions: a virtual report list view
  std::unique_ptr<Win32Host> host;
  std::unique_ptr<EditorSession> session;
};

extern Atelier atelier;

// Sent to the window once after the list's selection changes.
const UINT WM_LIST_SELECTION = WM_APP + 1;
// What has an error is written in this red: counters, rows, preview lines.
const COLORREF ErrorRed = RGB(200, 0, 0);

// Start-up, steps of WinMain: registers the class, opens the window, starts
// the session (the recovery copies left by a crash, then fileToOpen).
bool StartAtelier(HINSTANCE instance, const std::wstring& fileToOpen);
int RunAtelierLoop();
// The window's keys, before a message is dispatched: the accelerators, Tab
// out of a multi-line field, Esc kept from it, the dialog navigation (Tab,
// Alt+letter). true when the message was taken.
bool TakeKeyMessage(MSG& message);
void EndAtelier();  // destroys the window if it is still there, without asking
LRESULT CALLBACK AtelierWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A child control of the window in its font, placed later by the layout.
HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD extendedStyle = 0);

// After each call into the session (app.cpp): its prompts shown one after
// the other until none waits, then the window shows the session.
void Settle();
void ShowStatus();

// The session's prompts as dialogs (prompts.cpp).
Reply ShowPrompt(const Prompt& prompt);

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
bool IsSuggestionLink(int id);
void TakeSuggestion(int id, int index);  // link id's suggestion index
void EndFields();

// The list of the questions (question_list.cpp).
void CreateQuestionList();
void ShowQuestionList();
void RedrawQuestionRow(int row);
LRESULT MsgListNotify(NMHDR* header);
void TakeListSelection();
void SetListColumns(const int widths[]);

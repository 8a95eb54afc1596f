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
  HFONT font = nullptr;  // the system's message font, for every control
  HACCEL accelerators = nullptr;  // the commands' keys
  std::unique_ptr<Win32Host> host;
  std::unique_ptr<EditorSession> session;
};

extern Atelier atelier;  // controls.cpp

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
// The window procedure: after each message that may have changed the
// session, the session's prompts are shown one after the other until none
// waits, then the window shows the session (Settle, in app.cpp alone).
LRESULT CALLBACK AtelierWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What every part of the window builds with (controls.cpp): a child control
// in the window's font, placed later by the layout; the identifiers of the
// commands' menu items and buttons; their keys.
HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD extendedStyle = 0);
int CommandId(Command command);
bool CommandOfId(int id, Command& command);
UINT VirtualKey(Key key);
bool ShortcutHeld(const Shortcut& shortcut, UINT virtualKey);  // that key pressed, its modifiers held

// The session's prompts as dialogs (prompts.cpp).
Reply ShowPrompt(const Prompt& prompt);

// The text fields, the settings and their counters (fields.cpp).
HWND FieldWindow(QuizField field);
void CreateHeaderControls();
void CreateRowFields();
void ShowFields();
bool IsFieldsCommand(int id);  // a text field or a setting: MsgFieldCommand takes its notifications
bool MsgFieldCommand(int id, int code);  // true when the session may have changed
LRESULT MsgCtlColorStatic(HDC dc, HWND control);
void ChooseBackgroundColour();
bool IsMultilineField(HWND control);
bool IsSuggestionLink(int id);
void TakeSuggestion(int id, int index);  // link id's suggestion index
void EndFields();

// The list of the questions (question_list.cpp).
void CreateQuestionList();
void ShowQuestionList();
LRESULT MsgListNotify(NMHDR* header);
bool TakeListSelection();  // true when the session's selection changed
void SetListColumns(const int widths[]);

// The baseline that the player's start-up is measured against: the window work
// of the question panel alone, without a quiz, verdicts or header. A 544 x 375
// window with a child panel (the player's own template 1001) whose
// WM_INITDIALOG makes the rows of four controls that the player makes (number
// label, question label, answer field, feedback label: same classes, styles,
// identifiers, places and fonts), then both are shown and served by a plain
// message loop. With "focus", each new answer field gets the keyboard focus as
// it is made, while the panel is still hidden, as the player's building does.
// Usage: ludex-bare-panel.exe QUESTIONS [focus]
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "resource.h"
#include "row_layout.h"

namespace {

int questionCount = 0;
bool focusEachField = false;
HFONT answerFont = nullptr;

HWND MakeControl(HWND panel, const char* className, const char* text, DWORD style, const ControlBox& box, int id) {
  return CreateWindowExA(0, className, text, style, box.x, box.y, box.width, box.height, panel,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void MakeRows(HWND panel) {
  LOGFONTA font = {};
  font.lfHeight = 15;
  font.lfWeight = FW_THIN;
  answerFont = CreateFontIndirectA(&font);
  const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  char text[128];
  int top = RowGap;
  for (int i = 1; i <= questionCount; ++i) {
    const int rowHeight = RowHeight(i);
    wsprintfA(text, "%d.", i);
    MakeControl(panel, "Static", text, WS_CHILD | WS_VISIBLE | SS_RIGHT,
                {NumberLabelX, top + NumberLabelDy, NumberLabelWidth, NumberLabelHeight}, IDC_NUMBER_LABEL);
    wsprintfA(text, "Question numéro %d : quel est le nombre qui suit %d ?", i, i - 1);  // as in the bench quiz
    HWND question = MakeControl(panel, "Static", text, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                {QuestionLabelX, top, QuestionLabelWidth, rowHeight}, IDC_QUESTION_LABEL);
    SendMessageA(question, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), TRUE);
    HWND field =
        MakeControl(panel, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER,
                    AnswerFieldBox(1, 1, top, rowHeight), IDC_ANSWER_BASE + i);
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(answerFont), FALSE);
    if (focusEachField) SetFocus(field);
    MakeControl(panel, "Static", "?", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER,
                FeedbackLabelBox(1, 1, top, rowHeight), IDC_FEEDBACK_BASE + i);
    top += rowHeight + RowGap;
  }
}

INT_PTR CALLBACK BarePanelProc(HWND panel, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    MakeRows(panel);
    return TRUE;
  }
  return FALSE;
}

LRESULT CALLBACK BareWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  questionCount = std::atoi(commandLine);
  focusEachField = std::strstr(commandLine, "focus") != nullptr;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = BareWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1));
  windowClass.lpszClassName = "LudexBarePanel";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Nu", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                544, 375, nullptr, nullptr, instance, nullptr);
  HWND panel = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_QUESTION_PANEL), window, BarePanelProc, 0);
  RECT client;
  GetClientRect(window, &client);
  // Where the player's layout puts its question panel.
  SetWindowPos(panel, nullptr, 5, 50, client.right - 11, client.bottom - 68, SWP_NOZORDER);
  ShowWindow(window, SW_SHOWNORMAL);
  ShowWindow(panel, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(panel, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return 0;
}

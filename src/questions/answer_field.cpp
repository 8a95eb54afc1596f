// The answer fields' keyboard handling: judging, keeping in view, F1 and F2.
#include "answers_file_win32.h"
#include "question_panel.h"
#include "quiz.h"

namespace {

bool focusMovedUnjudged = false;  // while FocusFieldUnjudged moves it

void Judge(HWND field) {
  if (currentQuiz != nullptr) currentQuiz->JudgeAnswer(GetParent(field), GetDlgCtrlID(field));
}

// Tab has moved the focus on its press; its release arrives in the field reached.
void KeepInView(HWND field) {
  if (currentQuiz == nullptr) return;
  HWND panel = GetParent(field);
  int id = GetDlgCtrlID(field);
  bool shiftHeld = GetKeyState(VK_SHIFT) < 0;
  if (TabJumpsToTop(id, shiftHeld, currentQuiz->questionCount)) {
    SendMessageA(panel, WM_VSCROLL, SB_TOP, 0);
    return;
  }
  RECT fieldRect;
  RECT panelRect;
  GetWindowRect(field, &fieldRect);
  GetWindowRect(panel, &panelRect);
  scrollTarget = fieldRect.top - TabTargetAbove;
  if (FieldOutsidePanel(fieldRect.top, fieldRect.bottom, panelRect.top, panelRect.bottom)) {
    SendMessageA(panel, WM_VSCROLL, ScrollToTarget, 0);
  }
}

// Returns true when the key is consumed.
bool HandleKey(HWND field, WPARAM key) {
  HWND panel = GetParent(field);
  switch (key) {
    case VK_RETURN: Judge(field); return true;
    case VK_TAB: KeepInView(field); break;
    case VK_F1:
      if (currentQuiz != nullptr) currentQuiz->FillUnsolved(panel, GetDlgCtrlID(field));
      break;
    case VK_F2: SaveAnswers(panel); break;
    // The paging keys page the panel: a one-line field has nothing to page.
    case VK_PRIOR:
    case VK_UP: SendMessageA(panel, WM_VSCROLL, SB_PAGEUP, 0); break;
    case VK_NEXT:
    case VK_DOWN: SendMessageA(panel, WM_VSCROLL, SB_PAGEDOWN, 0); break;
    default: break;
  }
  return false;
}

}  // namespace

LRESULT CALLBACK AnswerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
      if (HandleKey(field, wParam)) return 1;
      break;
    case WM_CHAR:
      // Enter and Tab belong to the dialog navigation; the text keeps no trace of them.
      if (wParam == '\r' || wParam == '\t') return 0;
      break;
    case WM_SETFOCUS:
      SendMessageA(field, EM_SETSEL, 0, TextSize);  // typing replaces the previous answer
      break;
    case WM_KILLFOCUS:
      if (!focusMovedUnjudged) Judge(field);
      break;
    default: break;
  }
  return CallWindowProcA(standardEditProc, field, message, wParam, lParam);
}

void FocusFieldUnjudged(HWND field) {
  focusMovedUnjudged = true;
  SetFocus(field);
  focusMovedUnjudged = false;
}

#include "question_panel.h"

#include "answers_file_win32.h"
#include "panel_controls.h"
#include "quiz.h"

int contentWidth = 0;
int contentHeight = 0;
int scrollUnit = 1;
int scrollTarget = 0;
WNDPROC standardEditProc = nullptr;

namespace {

// Text of the control being created, or of the feedback label being coloured.
char scratchText[520];

HWND CreateRowControl(HWND panel, const char* className, const char* text, DWORD style, const ControlBox& box, int id) {
  HWND control = CreateWindowExA(0, className, text, style, box.x, box.y, box.width, box.height, panel,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  NoteRowControl(control, id);
  return control;
}

const DWORD NumberLabelStyle = WS_CHILD | WS_VISIBLE | SS_RIGHT;     // 0x50000002
const DWORD QuestionLabelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;  // 0x50800000
const DWORD AnswerFieldStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER;
const DWORD FeedbackLabelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER;  // 0x50800201
// Reveal texts wrap inside their label and show "&" as it is.
const DWORD RevealLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;

// The answer field of one slot of a row, empty, then its feedback label.
void BuildAnswerSlot(HWND panel, Quiz& quiz, int questionNumber, int slot, int top, int rowHeight) {
  int fieldId = AnswerFieldId(questionNumber - 1, slot, quiz.answersPerQuestion);
  HWND field = CreateRowControl(panel, "Edit", "", AnswerFieldStyle,
                                AnswerFieldBox(slot, quiz.answersPerQuestion, top, rowHeight), fieldId);
  SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(quiz.answerFont), FALSE);
  if (field != nullptr) {
    standardEditProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerFieldProc)));
  }
  CreateRowControl(panel, "Static", "?", FeedbackLabelStyle,
                   FeedbackLabelBox(slot, quiz.answersPerQuestion, top, rowHeight), FeedbackLabelId(fieldId));
}

void BuildRows(HWND panel) {
  Quiz& quiz = *currentQuiz;
  SavedAnswers saved;
  OpenSavedAnswers(saved);
  quiz.CreateAnswerFont();
  StartRowBuilding(panel);
  HoldScoreWrites(true);

  contentWidth = 0;
  contentHeight = 0;
  const bool reveal = HasRevealTexts(quiz.revealMode);
  const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  int top = RowGap;
  int rows = 0;
  for (int i = 1; i <= quiz.questionCount && i <= MaxQuestions; ++i) {
    if (quiz.questionsHidden != 0) continue;
    wsprintfA(scratchText, "%d.", i);
    CreateRowControl(panel, "Static", scratchText, NumberLabelStyle,
                     {NumberLabelX, top + NumberLabelDy, NumberLabelWidth, NumberLabelHeight}, IDC_NUMBER_LABEL);
    int rowHeight = RowHeight(i);
    const QuestionRecord* record = quiz.questionAt(i - 1);
    CopyText(scratchText, record != nullptr ? record->questionText : "");
    HWND question = CreateRowControl(panel, "Static", scratchText, QuestionLabelStyle,
                                     {QuestionLabelX, top, QuestionLabelWidth, rowHeight}, IDC_QUESTION_LABEL);
    SendMessageA(question, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), TRUE);
    for (int slot = 1; slot <= FieldsPerQuestion(quiz.answersPerQuestion); ++slot) {
      BuildAnswerSlot(panel, quiz, i, slot, top, rowHeight);
    }
    if (reveal) {
      HWND label = CreateRowControl(panel, "Static", "", RevealLabelStyle,
                                    RevealLabelBox(quiz.answersPerQuestion, top, rowHeight), RevealLabelId(i - 1));
      SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), TRUE);
    }
    ++rows;
    top += rowHeight + RowGap;
    contentHeight = top;
  }
  contentWidth = ContentWidth(rows, quiz.answersPerQuestion, reveal);
  // Nobody sees the score before the rows are judged: it is written once.
  quiz.RestoreAnswers(panel, rows, saved.bytes, saved.size);
  HoldScoreWrites(false);
  EndRowBuilding();
  CloseSavedAnswers(saved);
  SetUpScrollBars(panel);
}

// Moves the rows with the content. A move by nothing is left out: ScrollWindow
// would still move every control of the panel by 0 pixels, one SetWindowPos
// each (under wine, 15 to 40 ms for 255 rows at every start-up and resize).
void MoveContent(HWND panel, int dx, int dy) {
  if (dx != 0 || dy != 0) ScrollWindow(panel, dx, dy, nullptr, nullptr);
}

void Scroll(HWND panel, int bar, int code) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(panel, bar, &info);
  ScrollBarState state = {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos, info.nTrackPos};
  int wanted = bar == SB_VERT ? NewVerticalPosition(state, code, scrollTarget) : NewHorizontalPosition(state, code);
  SetScrollPos(panel, bar, wanted, TRUE);
  int accepted = GetScrollPos(panel, bar);
  int moved = (info.nPos - accepted) * scrollUnit;
  if (bar == SB_VERT) {
    MoveContent(panel, 0, moved);
  } else {
    MoveContent(panel, moved, 0);
  }
}

void FollowResize(HWND panel) {
  int oldX = GetScrollPos(panel, SB_HORZ);
  int oldY = GetScrollPos(panel, SB_VERT);
  SetUpScrollBars(panel);
  int newX = GetScrollPos(panel, SB_HORZ);
  int newY = GetScrollPos(panel, SB_VERT);
  MoveContent(panel, (oldX - newX) * scrollUnit, (oldY - newY) * scrollUnit);
}

HBRUSH FeedbackBrush(const Quiz& quiz, FeedbackFill fill) {
  switch (fill) {
    case FeedbackFill::Orange: return quiz.brushOrange;
    case FeedbackFill::Green: return quiz.brushGreen;
    case FeedbackFill::Red: return quiz.brushRed;
    case FeedbackFill::Gold: return quiz.brushGold;
    case FeedbackFill::SystemDefault: break;
  }
  return nullptr;
}

HBRUSH ColourLabel(HDC context, HWND label) {
  const Quiz& quiz = *currentQuiz;
  int id = static_cast<int>(GetWindowLongA(label, GWL_ID));
  switch (ClassifyLabel(id, quiz.questionCount, quiz.answersPerQuestion)) {
    case LabelKind::NumberOrReveal: {
      SetBkMode(context, TRANSPARENT);
      uint32_t colour = NumberLabelTextColour(quiz.backgroundRed, quiz.backgroundGreen);
      SetTextColor(context, static_cast<COLORREF>(colour));
      return quiz.backgroundBrush;
    }
    case LabelKind::Feedback: {
      scratchText[0] = 0;
      GetWindowTextA(label, scratchText, sizeof scratchText);
      HBRUSH brush = FeedbackBrush(quiz, FeedbackFillFor(scratchText));
      // The word is drawn on its label's fill, not on a box of its own.
      if (brush != nullptr) SetBkMode(context, TRANSPARENT);
      return brush;
    }
    case LabelKind::Question: SetBkMode(context, TRANSPARENT); return quiz.brushPaleYellow;
    case LabelKind::Other: break;
  }
  return nullptr;
}

}  // namespace

void Quiz::CreateAnswerFont() {
  LOGFONTA font = {};
  font.lfHeight = 15;
  font.lfWeight = FW_THIN;
  answerFont = CreateFontIndirectA(&font);
}

void SetUpScrollBars(HWND panel) {
  RECT client;
  GetClientRect(panel, &client);
  ScrollBarFit horizontal = FitScrollBar(contentWidth, client.right - client.left, scrollUnit);
  ScrollBarFit vertical = FitScrollBar(contentHeight, client.bottom - client.top, scrollUnit);
  if (horizontal.resetPosition) SetScrollPos(panel, SB_HORZ, 0, FALSE);
  if (vertical.resetPosition) SetScrollPos(panel, SB_VERT, 0, FALSE);

  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = horizontal.maximum;
  info.nPage = static_cast<UINT>(horizontal.page);
  SetScrollInfo(panel, SB_HORZ, &info, TRUE);
  info.nMax = vertical.maximum;
  info.nPage = static_cast<UINT>(vertical.page);
  SetScrollInfo(panel, SB_VERT, &info, TRUE);
}

INT_PTR CALLBACK QuestionPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (currentQuiz != nullptr) BuildRows(panel);
      return TRUE;  // the first answer field keeps the focus that the restore left in it
    case WM_SIZE: FollowResize(panel); return 0;
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_CREATE) NoteNewChild(panel);  // its answer fields are looked up without listing
      return 0;
    case WM_HSCROLL: Scroll(panel, SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: Scroll(panel, SB_VERT, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
      int code = WheelRequestCode(HIWORD(wParam));
      if (code >= 0) PostMessageA(panel, WM_VSCROLL, static_cast<WPARAM>(code), 0);
      // Handled: passed on, the wheel would reach the main window, which
      // forwards it back here and doubles the step.
      return TRUE;
    }
    case WM_CTLCOLORDLG:
      if (currentQuiz == nullptr) return 0;
      return reinterpret_cast<INT_PTR>(currentQuiz->backgroundBrush);
    case WM_CTLCOLORSTATIC:
      if (currentQuiz == nullptr) return 0;
      return reinterpret_cast<INT_PTR>(ColourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default: return 0;
  }
}

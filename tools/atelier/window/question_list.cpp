// The list of the questions: a virtual report list view that reads its
// cells from the document, draws the rows with an error in red, and hands
// its selection (one row or several) to the document.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include <algorithm>

#include "atelier.h"
#include "wide_text.h"

namespace {

// The list's own state, started afresh with each window.
struct ListState {
  bool syncingList = false;       // the window is writing the list's selection: no change to take
  bool selectionPending = false;  // the list's selection changed; the fields follow once
};
ListState listState;

enum Column { NumberColumn, QuestionColumn, AnswersColumn, RevealColumn, CodeColumn };

const wchar_t* const ColumnTitles[] = {L"N°", L"Question", L"Réponse(s) attendue(s)", L"Révélation", L"Code"};

std::wstring CellText(int row, int column) {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  const AuthoredQuestion& question = quiz.questions[static_cast<size_t>(row)];
  switch (column) {
    case NumberColumn: {
      // A row with an error is drawn red, and marked: a selected row is drawn in the selection's colours.
      const bool error = static_cast<size_t>(row) < atelier.rowHasError.size() && atelier.rowHasError[row];
      return std::to_wstring(row + 1) + (error ? L" !" : L"");
    }
    case QuestionColumn: return OneLineFromCp1252(question.questionText);
    case AnswersColumn: return AnswersCellText(quiz, question);
    case RevealColumn:
      return FieldInUse(QuizField::Reveal1, quiz.answersPerQuestion, quiz.revealMode)
                 ? OneLineFromCp1252(question.revealText)
                 : L"";
    case CodeColumn: return OneLineFromCp1252(question.scoreCode);
    default: return L"";
  }
}

void MsgGetDisplayInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
  if (item.iItem < 0 || item.iItem >= atelier.document.questionCount()) {
    item.pszText[0] = L'\0';
    return;
  }
  lstrcpynW(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
}

LRESULT MsgCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const size_t row = draw->nmcd.dwItemSpec;
      if (row < atelier.rowHasError.size() && atelier.rowHasError[row]) draw->clrText = ErrorRed;
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

// The list's selection changed: the fields follow once the burst of
// notifications (one per row) is over.
void NoteSelectionChange() {
  if (listState.syncingList || listState.selectionPending) return;
  listState.selectionPending = true;
  PostMessageW(atelier.window, WM_LIST_SELECTION, 0, 0);
}

}  // namespace

std::wstring AnswersCellText(const AuthoredQuiz& quiz, const AuthoredQuestion& question) {
  if (!HasSecondAnswer(quiz.answersPerQuestion)) return OneLineFromCp1252(question.answer1);
  return OneLineFromCp1252(question.answer1) + L"  |  " + OneLineFromCp1252(question.answer2);
}

void CreateQuestionList() {
  listState = ListState();
  atelier.list =
      AddControl(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                 IDC_QUESTION_LIST, WS_EX_CLIENTEDGE);
  SendMessageW(atelier.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int k = 0; k < 5; ++k) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(ColumnTitles[k]);
    column.cx = 100;
    column.iSubItem = k;
    SendMessageW(atelier.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&column));
  }
}

// The number and code keep their widths; the texts share the rest.
void SetListColumns(int width) {
  const int number = 44, code = 90;
  const int rest = std::max(300, width - number - code - GetSystemMetrics(SM_CXVSCROLL) - 4);
  const int widths[] = {number, rest * 45 / 100, rest * 25 / 100, rest - rest * 45 / 100 - rest * 25 / 100, code};
  for (int k = 0; k < 5; ++k) SendMessageW(atelier.list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(k), widths[k]);
}

void ShowQuestionList() {
  const QuizDocument& document = atelier.document;
  listState.syncingList = true;
  SendMessageW(atelier.list, LVM_SETITEMCOUNT, static_cast<WPARAM>(document.questionCount()), LVSICF_NOSCROLL);
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(atelier.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  for (int row : document.selection()) {
    state.state = LVIS_SELECTED | (row == document.selection().front() ? LVIS_FOCUSED : 0);
    SendMessageW(atelier.list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  }
  if (!document.selection().empty()) {
    SendMessageW(atelier.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(document.selection().front()), FALSE);
  }
  listState.syncingList = false;
  InvalidateRect(atelier.list, nullptr, FALSE);
}

void RedrawQuestionRow(int row) {
  if (row >= 0) SendMessageW(atelier.list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

void TakeListSelection() {
  listState.selectionPending = false;
  RowSet rows;
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageW(atelier.list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0 || static_cast<int>(rows.size()) >= atelier.document.questionCount()) break;
    rows.push_back(row);
  }
  if (rows == atelier.document.selection()) return;
  atelier.document.select(rows);
  ShowDocument();
}

int InsertionRow() {
  const RowSet& rows = atelier.document.selection();
  return rows.empty() ? atelier.document.questionCount() : rows.back() + 1;
}

LRESULT MsgListNotify(NMHDR* header) {
  if (header->hwndFrom != atelier.list) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: MsgGetDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)); return 0;
    case NM_CUSTOMDRAW: return MsgCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGED: {
      const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
        NoteSelectionChange();
      }
      return 0;
    }
    case LVN_ODSTATECHANGED: NoteSelectionChange(); return 0;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE && GetKeyState(VK_CONTROL) >= 0) {
        PostMessageW(atelier.window, WM_COMMAND, IDM_REMOVE, 0);
      }
      return 0;
    case NM_DBLCLK:
      if (atelier.shownRow >= 0) SetFocus(FieldWindow(QuizField::Question));
      return 0;
    default: return 0;
  }
}

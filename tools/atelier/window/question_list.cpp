// The list of the questions: a virtual report list view that reads its
// cells from the session, draws the rows with an error in red, and hands
// its selection (one row or several) to the session.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include "atelier.h"
#include "wide_text.h"

namespace {

// The list's own state, started afresh with each window.
struct ListState {
  bool syncingList = false;       // the window is writing the list's selection: no change to take
  bool selectionPending = false;  // the list's selection changed; the fields follow once
};
ListState listState;

void MsgGetDisplayInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
  const std::wstring cell = WideFromUtf8(atelier.session->cell(item.iItem, item.iSubItem));
  lstrcpynW(item.pszText, cell.c_str(), item.cchTextMax);
}

LRESULT MsgCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (atelier.session->rowHasError(static_cast<int>(draw->nmcd.dwItemSpec))) draw->clrText = ErrorRed;
      return CDRF_DODEFAULT;
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

// A key of the list's own that runs a command (Suppr removes the questions chosen).
void PostListKeyCommand(UINT key) {
  for (const CommandInfo& info : Commands) {
    if (ShortcutHeld(info.inList, key)) PostMessageW(atelier.window, WM_COMMAND, CommandId(info.command), 0);
  }
}

}  // namespace

void CreateQuestionList() {
  listState = ListState();
  atelier.list =
      AddControl(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                 IDC_QUESTION_LIST, WS_EX_CLIENTEDGE);
  SendMessageW(atelier.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int k = 0; k < ListColumnCount; ++k) {
    const std::wstring title = WideFromUtf8(ListColumnTitles[k]);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = 100;
    column.iSubItem = k;
    SendMessageW(atelier.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&column));
  }
}

void SetListColumns(const int widths[]) {
  for (int k = 0; k < ListColumnCount; ++k) {
    SendMessageW(atelier.list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(k), widths[k]);
  }
}

void ShowQuestionList() {
  const QuizDocument& document = atelier.session->document();
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

bool TakeListSelection() {
  listState.selectionPending = false;
  RowSet rows;
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageW(atelier.list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0 || static_cast<int>(rows.size()) >= atelier.session->document().questionCount()) break;
    rows.push_back(row);
  }
  if (rows == atelier.session->document().selection()) return false;
  atelier.session->select(rows);
  return true;
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
    case LVN_KEYDOWN: PostListKeyCommand(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey); return 0;
    case NM_DBLCLK:
      if (atelier.session->shownRow() >= 0) SetFocus(FieldWindow(QuizField::Question));
      return 0;
    default: return 0;
  }
}

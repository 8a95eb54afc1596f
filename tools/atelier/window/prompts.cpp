// The session's prompts as modal dialogs: message boxes, the question
// before unsaved work goes, the Open and Save dialogs, and the preview of
// rows pasted or imported, whose column and field choosers and reveal-mode
// offer go back to the session.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include <algorithm>

#include "atelier.h"
#include "file_access.h"
#include "wide_text.h"

namespace {

UINT IconOf(Tone tone) {
  switch (tone) {
    case Tone::Question: return MB_ICONQUESTION;
    case Tone::Warning: return MB_ICONWARNING;
    case Tone::Error: return MB_ICONERROR;
    default: return MB_ICONINFORMATION;
  }
}

Reply AskInMessageBox(const Prompt& prompt) {
  const UINT buttons = prompt.kind == PromptKind::Confirm ? MB_OKCANCEL
                       : prompt.kind == PromptKind::YesNo ? MB_YESNO
                                                          : MB_OK;
  const int pressed =
      MessageBoxW(atelier.window, WideFromUtf8(prompt.text).c_str(), L"Ludex Atelier", buttons | IconOf(prompt.tone));
  switch (pressed) {
    case IDOK: return {Answer::Ok, ""};
    case IDYES: return {Answer::Yes, ""};
    case IDNO: return {Answer::No, ""};
    default: return {Answer::Cancel, ""};
  }
}

INT_PTR CALLBACK SaveChangesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_SAVE_QUESTION, reinterpret_cast<const wchar_t*>(lParam));
      SetDlgItemTextW(dialog, IDYES, WideFromUtf8(SaveChangesCaptions[0]).c_str());
      SetDlgItemTextW(dialog, IDNO, WideFromUtf8(SaveChangesCaptions[1]).c_str());
      SetDlgItemTextW(dialog, IDCANCEL, WideFromUtf8(AnswerCaptions[static_cast<int>(Answer::Cancel)]).c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
    default: return FALSE;
  }
}

Reply AskFile(const Prompt& prompt) {
  std::wstring filter;
  for (const FileFilter& kind : prompt.filters) {
    filter += WideFromUtf8(kind.label) + L'\0' + WideFromUtf8(kind.patterns) + L'\0';
  }
  std::wstring path = WideFromUtf8(prompt.path);
  if (!AskFileName(atelier.window, prompt.kind == PromptKind::SaveFile, WideFromUtf8(prompt.text), filter,
                   WideFromUtf8(prompt.extension), WideFromUtf8(prompt.folder), path)) {
    return {Answer::Cancel, ""};
  }
  return {Answer::Ok, Utf8FromWide(path)};
}

// ---- the preview ----

const int LineColumnWidth = 44;
const int TableColumnWidth = 160;  // a column of the table: the list scrolls sideways past a few
const int ProblemColumnWidth = 260;

void SetCell(HWND list, int row, int column, const std::string& text) {
  const std::wstring wide = WideFromUtf8(text);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void InsertColumn(HWND list, int index, const std::string& title, int width) {
  const std::wstring text = WideFromUtf8(title);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(text.c_str());
  column.cx = width;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void AddChoices(HWND combo, const std::vector<std::string>& choices) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& choice : choices) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(choice).c_str()));
  }
}

// The list's columns ("Ligne", one per column of the table, "Problèmes"),
// the column chooser's columns and the field chooser's fields.
void CreateColumns(HWND dialog, const PreviewView& view) {
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  const int columns = static_cast<int>(view.chosen.size());
  InsertColumn(list, 0, view.columnTitles.front(), LineColumnWidth);
  for (int k = 0; k < columns; ++k) InsertColumn(list, k + 1, "", TableColumnWidth);
  InsertColumn(list, columns + 1, view.columnTitles.back(), ProblemColumnWidth);
  AddChoices(GetDlgItem(dialog, IDC_PREVIEW_COLUMN),
             std::vector<std::string>(view.columnTitles.begin() + 1, view.columnTitles.begin() + 1 + columns));
  AddChoices(GetDlgItem(dialog, IDC_PREVIEW_FIELD), view.choices);
  SendDlgItemMessageW(dialog, IDC_PREVIEW_COLUMN, CB_SETCURSEL, 0, 0);
}

// An edit control breaks lines at CR LF.
std::wstring WithCrLf(const std::string& utf8) {
  std::wstring text = WideFromUtf8(utf8);
  for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; at += 2) text.insert(at, 1, L'\r');
  return text;
}

int ChosenColumn(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageW(dialog, IDC_PREVIEW_COLUMN, CB_GETCURSEL, 0, 0));
}

// The field chooser shows the field of the column chosen.
void ShowChosenField(HWND dialog) {
  const PreviewView& view = atelier.session->preview();
  const int column = ChosenColumn(dialog);
  if (column < 0 || column >= static_cast<int>(view.chosen.size())) return;
  SendDlgItemMessageW(dialog, IDC_PREVIEW_FIELD, CB_SETCURSEL, static_cast<WPARAM>(view.chosen[column]), 0);
}

// Each column's title with the field it goes in: "Colonne 8 (Anecdote) : révélation".
void ShowColumnTitles(HWND dialog, const PreviewView& view) {
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  for (size_t k = 0; k < view.chosen.size(); ++k) {
    const std::wstring title = WideFromUtf8(view.columnTitles[k + 1] + " : " + view.choices[view.chosen[k]]);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(list, LVM_SETCOLUMNW, k + 1, reinterpret_cast<LPARAM>(&column));
  }
  ShowChosenField(dialog);
}

void ShowPreview(HWND dialog) {
  const PreviewView& view = atelier.session->preview();
  ShowColumnTitles(dialog, view);
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t row = 0; row < view.rows.size(); ++row) {
    const std::wstring line = WideFromUtf8(view.rows[row].cells.front());
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(line.c_str());
    item.lParam = view.rows[row].hasError;  // drawn red
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; column < view.rows[row].cells.size(); ++column) {
      SetCell(list, index, static_cast<int>(column), view.rows[row].cells[column]);
    }
  }
  SetDlgItemTextW(dialog, IDC_PREVIEW_SUMMARY, WideFromUtf8(view.summary).c_str());
  SetDlgItemTextW(dialog, IDC_PREVIEW_NOTES, WithCrLf(view.notes).c_str());
  SetDlgItemTextW(dialog, IDC_PREVIEW_DETAIL, L"");
  HWND offer = GetDlgItem(dialog, IDC_PREVIEW_SWITCH);
  SetWindowTextW(offer, WideFromUtf8(view.revealOffer).c_str());
  SendMessageW(offer, BM_SETCHECK, view.revealSwitched ? BST_CHECKED : BST_UNCHECKED, 0);
  ShowWindow(offer, view.revealOffer.empty() ? SW_HIDE : SW_SHOW);
  SetDlgItemTextW(dialog, IDOK, WideFromUtf8(view.addButton).c_str());
  EnableWindow(GetDlgItem(dialog, IDOK), view.rowsToAdd > 0);
}

LRESULT PreviewCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (draw->nmcd.lItemlParam) draw->clrText = ErrorRed;
      return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
  }
}

// A row chosen in the list: its problems in full below it. A column's title
// clicked: its field to choose.
INT_PTR PreviewNotify(HWND dialog, NMHDR* header) {
  if (header->idFrom != IDC_PREVIEW_LIST) return FALSE;
  if (header->code == NM_CUSTOMDRAW) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PreviewCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
    return TRUE;
  }
  const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
  const PreviewView& view = atelier.session->preview();
  const std::vector<PreviewRowView>& rows = view.rows;
  if (header->code == LVN_ITEMCHANGED && (change->uNewState & LVIS_SELECTED) && change->iItem >= 0 &&
      change->iItem < static_cast<int>(rows.size())) {
    SetDlgItemTextW(dialog, IDC_PREVIEW_DETAIL, WithCrLf(rows[static_cast<size_t>(change->iItem)].detail).c_str());
  } else if (header->code == LVN_COLUMNCLICK && change->iSubItem >= 1 &&
             change->iSubItem <= static_cast<int>(view.chosen.size())) {
    SendDlgItemMessageW(dialog, IDC_PREVIEW_COLUMN, CB_SETCURSEL, static_cast<WPARAM>(change->iSubItem - 1), 0);
    ShowChosenField(dialog);
    SetFocus(GetDlgItem(dialog, IDC_PREVIEW_FIELD));
  }
  return FALSE;
}

void PreviewCommand(HWND dialog, int id, int code) {
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(dialog, id);
  } else if (id == IDC_PREVIEW_COLUMN && code == CBN_SELCHANGE) {
    ShowChosenField(dialog);
  } else if (id == IDC_PREVIEW_FIELD && code == CBN_SELCHANGE) {  // the author gives a column another field
    const LRESULT chosen = SendDlgItemMessageW(dialog, IDC_PREVIEW_FIELD, CB_GETCURSEL, 0, 0);
    atelier.session->chooseColumn(ChosenColumn(dialog), static_cast<int>(chosen));
    ShowPreview(dialog);
  } else if (id == IDC_PREVIEW_SWITCH && code == BN_CLICKED) {
    atelier.session->switchRevealMode(IsDlgButtonChecked(dialog, IDC_PREVIEW_SWITCH) == BST_CHECKED);
    ShowPreview(dialog);
  }
}

INT_PTR CALLBACK ImportPreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {  // the rows first, the arrows going through them; the choosers first when a guess
      SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(lParam));
      SetDlgItemTextW(dialog, IDCANCEL, WideFromUtf8(AnswerCaptions[static_cast<int>(Answer::Cancel)]).c_str());
      HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
      SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
      CreateColumns(dialog, atelier.session->preview());
      ShowPreview(dialog);
      SetFocus(atelier.session->preview().focusMapping ? GetDlgItem(dialog, IDC_PREVIEW_COLUMN) : list);
      return FALSE;
    }
    case WM_NOTIFY: return PreviewNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND: PreviewCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

Reply ShowPrompt(const Prompt& prompt) {
  switch (prompt.kind) {
    case PromptKind::SaveChanges: {
      const std::wstring text = WideFromUtf8(prompt.text);
      const INT_PTR answer = DialogBoxParamW(atelier.instance, MAKEINTRESOURCEW(IDD_SAVE_CHANGES), atelier.window,
                                             SaveChangesProc, reinterpret_cast<LPARAM>(text.c_str()));
      return {answer == IDYES ? Answer::Yes : answer == IDNO ? Answer::No : Answer::Cancel, ""};
    }
    case PromptKind::OpenFile:
    case PromptKind::SaveFile: return AskFile(prompt);
    case PromptKind::Preview: {
      const std::wstring title = WideFromUtf8(prompt.text);
      const INT_PTR answer = DialogBoxParamW(atelier.instance, MAKEINTRESOURCEW(IDD_IMPORT_PREVIEW), atelier.window,
                                             ImportPreviewProc, reinterpret_cast<LPARAM>(title.c_str()));
      return {answer == IDOK ? Answer::Ok : Answer::Cancel, ""};
    }
    default: return AskInMessageBox(prompt);
  }
}

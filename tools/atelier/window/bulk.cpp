// Bulk entry: rows pasted from a spreadsheet, CSV files imported with a
// preview of what will be added (every row that breaks a limit in red)
// before anything changes, and the questions exported as CSV.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "atelier.h"
#include "file_access.h"
#include "file_names.h"
#include "table_text.h"
#include "wide_text.h"

namespace {

// A table on its way in: its rows, where its columns go, and what that gives.
struct PreviewSession {
  const TableText* table;
  ColumnMapping mapping;
  ImportPreview preview;
};

// The fields a column may go in, in the choosers' order.
const int ColumnChoices[] = {static_cast<int>(QuizField::Question),
                             static_cast<int>(QuizField::Answer1),
                             static_cast<int>(QuizField::Answer2),
                             static_cast<int>(QuizField::Reveal1),
                             static_cast<int>(QuizField::Reveal2),
                             static_cast<int>(QuizField::Code),
                             LeftOutColumn};
const int LineColumnWidth = 44;
const int ProblemColumnWidth = 230;
const int ChooserHeight = 200;  // with its drop-down list

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A note as a sentence: a capital first, a full stop last.
std::wstring Sentence(const std::string& bytes) {
  std::wstring text = WideFromCp1252(bytes);
  if (!text.empty()) {
    const ULONG_PTR first = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR{text[0]})));
    text[0] = static_cast<wchar_t>(first);
  }
  if (!text.empty() && text.back() != L'.' && text.back() != L'?') text += L'.';
  return text;
}

// One combo box per column, above the list's column of the same table column.
void CreateChoosers(HWND dialog, const PreviewSession& session) {
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  RECT place;
  GetWindowRect(list, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  const int columns = session.table->columnCount;
  const int width = (place.right - place.left - LineColumnWidth - ProblemColumnWidth - 24) / std::max(columns, 1);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  for (int k = 0; k < columns; ++k) {
    HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST,
                                 place.left + LineColumnWidth + 2 + k * width, place.top - 25, width - 4, ChooserHeight,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW_COLUMN_BASE + k)),
                                 atelier.instance, nullptr);
    SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Tab goes through the choosers before the list, as they stand.
    HWND before =
        k == 0 ? GetDlgItem(dialog, IDC_PREVIEW_SUMMARY) : GetDlgItem(dialog, IDC_PREVIEW_COLUMN_BASE + k - 1);
    SetWindowPos(combo, before, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    const std::wstring title = L"Colonne " + std::to_wstring(k + 1);
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(k + 1), reinterpret_cast<LPARAM>(&column));
  }
  LVCOLUMNW problems = {};
  problems.mask = LVCF_TEXT | LVCF_WIDTH;
  problems.pszText = const_cast<wchar_t*>(L"Problèmes");
  problems.cx = ProblemColumnWidth;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(columns + 1), reinterpret_cast<LPARAM>(&problems));
}

// Each chooser shows its column's field; a field the quiz does not use says so.
void ShowChoosers(HWND dialog, const PreviewSession& session) {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  for (int k = 0; k < session.table->columnCount; ++k) {
    HWND combo = GetDlgItem(dialog, IDC_PREVIEW_COLUMN_BASE + k);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int field : ColumnChoices) {
      std::wstring text = WideFromCp1252(ColumnName(field));
      if (field != LeftOutColumn && !FieldInUse(QuizField(field), quiz.answersPerQuestion, quiz.revealMode))
        text += L" (inutilisée)";
      const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      if (field == session.mapping.fields[static_cast<size_t>(k)]) SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
  }
}

std::wstring ProblemsOf(const ImportRow& row, const wchar_t* separator) {
  std::wstring text;
  for (QuizProblem problem : row.problems) {
    problem.row = -1;  // the preview's own row
    text += (text.empty() ? L"" : separator) + ProblemLine(problem);
  }
  return text;
}

void ShowRows(HWND dialog, const PreviewSession& session) {
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const int columns = session.table->columnCount;
  for (size_t k = 0; k < session.preview.rows.size(); ++k) {
    const ImportRow& row = session.preview.rows[k];
    const std::wstring line = std::to_wstring(row.line);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(k);
    item.pszText = const_cast<wchar_t*>(line.c_str());
    item.lParam = AnyError(row.problems);  // drawn red
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const std::vector<std::string>& cells = session.table->rows[row.tableRow].cells;
    for (int column = 0; column < columns && column < static_cast<int>(cells.size()); ++column) {
      std::wstring cell = WideFromUtf8(cells[column]);  // as pasted, a character the player lacks too
      for (size_t at = 0; (at = cell.find(L"\r\n", at)) != std::wstring::npos;) cell.replace(at, 2, L" ¶ ");
      SetCell(list, index, column + 1, cell);
    }
    SetCell(list, index, columns + 1, ProblemsOf(row, L" ; "));
  }
}

void ShowSummary(HWND dialog, const PreviewSession& session) {
  const ImportPreview& preview = session.preview;
  const size_t count = preview.rows.size();
  std::wstring summary = std::to_wstring(count) + (count > 1 ? L" questions à ajouter" : L" question à ajouter") +
                         L", colonnes lues " + WideFromCp1252(MappingText(session.mapping)) + L".";
  if (preview.rowsWithErrors > 0) {
    summary += L" " + std::to_wstring(preview.rowsWithErrors) +
               (preview.rowsWithErrors > 1 ? L" dépassent une limite" : L" dépasse une limite") +
               L" (en rouge) : vous pourrez les corriger après l'ajout.";
  }
  summary += L" Choisissez au-dessus de chaque colonne le champ où elle va.";
  SetDlgItemTextW(dialog, IDC_PREVIEW_SUMMARY, summary.c_str());
  std::wstring notes;
  for (const std::string& note : preview.notes) notes += Sentence(note) + L"\r\n";
  for (size_t at = 0; (at = notes.find(L'\n', at)) != std::wstring::npos; at += 2) {
    if (at == 0 || notes[at - 1] != L'\r') notes.insert(at, 1, L'\r');  // an edit control breaks lines at CR LF
  }
  SetDlgItemTextW(dialog, IDC_PREVIEW_NOTES, notes.c_str());
  const std::wstring add = L"&Ajouter " + std::to_wstring(count);
  SetDlgItemTextW(dialog, IDOK, add.c_str());
  EnableWindow(GetDlgItem(dialog, IDOK), count > 0);
}

void ShowPreview(HWND dialog, const PreviewSession& session) {
  ShowChoosers(dialog, session);
  ShowRows(dialog, session);
  ShowSummary(dialog, session);
  SetDlgItemTextW(dialog, IDC_PREVIEW_DETAIL, L"");
}

void InitPreview(HWND dialog, PreviewSession& session) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  LVCOLUMNW line = {};
  line.mask = LVCF_TEXT | LVCF_WIDTH;
  line.pszText = const_cast<wchar_t*>(L"Ligne");
  line.cx = LineColumnWidth;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&line));
  CreateChoosers(dialog, session);
  ShowPreview(dialog, session);
}

// The author gives a column another field: the rows are read again.
void TakeChoice(HWND dialog, PreviewSession& session, int column) {
  const LRESULT index = SendMessageW(GetDlgItem(dialog, IDC_PREVIEW_COLUMN_BASE + column), CB_GETCURSEL, 0, 0);
  if (index < 0 || index >= static_cast<LRESULT>(std::size(ColumnChoices))) return;
  ChooseColumn(session.mapping, column, ColumnChoices[index]);
  session.preview = PreviewImport(*session.table, session.mapping, atelier.document.quiz());
  ShowPreview(dialog, session);
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

// A row chosen in the list: its problems in full below it.
void ShowRowProblems(HWND dialog, const PreviewSession& session, int row) {
  if (row < 0 || row >= static_cast<int>(session.preview.rows.size())) return;
  const ImportRow& chosen = session.preview.rows[static_cast<size_t>(row)];
  const std::wstring text = L"Ligne " + std::to_wstring(chosen.line) + L" : " +
                            (chosen.problems.empty() ? L"aucun problème." : ProblemsOf(chosen, L"\r\n"));
  SetDlgItemTextW(dialog, IDC_PREVIEW_DETAIL, text.c_str());
}

INT_PTR PreviewNotify(HWND dialog, PreviewSession& session, NMHDR* header) {
  if (header->idFrom != IDC_PREVIEW_LIST) return FALSE;
  if (header->code == NM_CUSTOMDRAW) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PreviewCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
    return TRUE;
  }
  const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
  if (header->code == LVN_ITEMCHANGED && (change->uNewState & LVIS_SELECTED)) {
    ShowRowProblems(dialog, session, change->iItem);
  }
  return FALSE;
}

INT_PTR CALLBACK ImportPreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  PreviewSession* session = reinterpret_cast<PreviewSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:  // the rows first: the arrows go through them
      InitPreview(dialog, *reinterpret_cast<PreviewSession*>(lParam));
      SetFocus(GetDlgItem(dialog, IDC_PREVIEW_LIST));
      return FALSE;
    case WM_NOTIFY:
      return session != nullptr ? PreviewNotify(dialog, *session, reinterpret_cast<NMHDR*>(lParam)) : FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
      if (session != nullptr && HIWORD(wParam) == CBN_SELCHANGE && id >= IDC_PREVIEW_COLUMN_BASE &&
          id < IDC_PREVIEW_COLUMN_BASE + MaxTableColumns) {
        TakeChoice(dialog, *session, id - IDC_PREVIEW_COLUMN_BASE);
      }
      return TRUE;
    }
    default: return FALSE;
  }
}

// Adds the rows of a table at the selection. A paste whose rows are all
// clean, in columns that cannot be misplaced, goes in at once (undo takes
// it back); an import, or a paste the author should look at, is shown first.
void AddRows(const TableText& table, bool alwaysPreview) {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  PreviewSession session = {&table, ChooseMapping(table, quiz), {}};
  session.preview = PreviewImport(table, session.mapping, quiz);
  if (session.preview.rows.empty()) {
    std::wstring text = L"Aucune question à ajouter.";
    for (const std::string& note : session.preview.notes) text += L"\n\n" + Sentence(note);
    Ask(text, MB_ICONINFORMATION);
    return;
  }
  if (alwaysPreview || session.preview.needsReview()) {
    const INT_PTR answer = DialogBoxParamW(atelier.instance, MAKEINTRESOURCEW(IDD_IMPORT_PREVIEW), atelier.window,
                                           ImportPreviewProc, reinterpret_cast<LPARAM>(&session));
    if (answer != IDOK) return;
  }
  if (!atelier.document.insertQuestions(InsertionRow(), QuestionsOf(session.preview))) return;
  AfterChange();
  const size_t count = session.preview.rows.size();
  SetStatus(std::to_wstring(count) + (count > 1 ? L" questions ajoutées" : L" question ajoutée") + L", colonnes lues " +
            WideFromCp1252(MappingText(session.mapping)) + L". Ctrl+Z les retire.");
}

}  // namespace

void PasteRows() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(atelier.window)) {
    SetStatus(L"Le presse-papiers ne contient pas de texte à coller.");
    return;
  }
  std::wstring text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* locked = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (locked != nullptr) {
    // No further than the clipboard block, and no more than the reader takes
    // (past that it refuses the text whole, and says so).
    const size_t units = GlobalSize(data) / sizeof(wchar_t);
    size_t length = 0;
    while (length < units && length <= MaxTableBytes && locked[length] != L'\0') ++length;
    text.assign(locked, length);
    GlobalUnlock(data);
  }
  CloseClipboard();
  AddRows(ReadPastedTable(Utf8FromWide(text)), false);
}

void ImportCsv() {
  std::wstring path = FolderOf(WideFromUtf8(atelier.document.path()));
  if (!path.empty()) path += L"\\";
  if (!AskFileName(atelier.window, false, L"Importer des questions d'un tableau CSV",
                   L"Tableaux CSV (*.csv)\0*.csv\0Textes (*.txt)\0*.txt\0Tous les fichiers\0*.*\0", L"csv", path)) {
    return;
  }
  std::string bytes;
  std::wstring error;
  if (!ReadFileBytes(path, MaxTableBytes, bytes, error)) {
    Ask(L"« " + FileNameOf(path) + L" » ne peut pas être importé : " + error + L".", MB_ICONERROR);
    return;
  }
  AddRows(ReadCsvTable(bytes), true);
}

void ExportCsv() {
  const std::wstring source = WideFromUtf8(atelier.document.path());
  std::wstring path = WideFromCp1252(QuizFileStem(atelier.document.quiz().title)) + L".csv";
  if (!FolderOf(source).empty()) path = FolderOf(source) + L"\\" + path;
  if (!AskFileName(atelier.window, true, L"Exporter les questions en CSV", L"Tableaux CSV (*.csv)\0*.csv\0", L"csv",
                   path))
    return;
  std::wstring error;
  if (!WriteFileSafely(path, WriteCsvTable(atelier.document.quiz()), error)) {
    Ask(L"Les questions n'ont pas pu être exportées dans « " + path + L" » :\n\n" + error, MB_ICONERROR);
    return;
  }
  SetStatus(L"Questions exportées : " + path);
}

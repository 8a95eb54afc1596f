// Bulk entry: rows pasted from a spreadsheet, CSV files imported with a
// preview of what will be added (every row that breaks a limit in red)
// before anything changes, and the questions exported as CSV.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include "atelier.h"
#include "file_access.h"
#include "file_names.h"
#include "table_text.h"
#include "wide_text.h"

namespace {

const wchar_t* const PreviewColumns[] = {L"Ligne", L"Question", L"Réponse(s)", L"Révélation", L"Code", L"Problème"};
const int PreviewWidths[] = {44, 200, 120, 120, 70, 260};

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void FillPreview(HWND dialog, const ImportPreview& preview) {
  HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int k = 0; k < 6; ++k) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(PreviewColumns[k]);
    column.cx = PreviewWidths[k];
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&column));
  }
  const AuthoredQuiz& quiz = atelier.document.quiz();
  for (size_t k = 0; k < preview.rows.size(); ++k) {
    const ImportRow& row = preview.rows[k];
    const std::wstring line = std::to_wstring(row.line);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(k);
    item.pszText = const_cast<wchar_t*>(line.c_str());
    item.lParam = AnyError(row.problems);  // drawn red
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const AuthoredQuestion& question = row.question;
    SetCell(list, index, 1, OneLineFromCp1252(question.questionText));
    SetCell(list, index, 2, AnswersCellText(quiz, question));
    SetCell(list, index, 3, OneLineFromCp1252(question.revealText));
    SetCell(list, index, 4, OneLineFromCp1252(question.scoreCode));
    if (!row.problems.empty()) {
      QuizProblem first = row.problems.front();
      first.row = -1;  // the preview's own row
      std::wstring text = ProblemLine(first);
      if (row.problems.size() > 1) text += L" (+" + std::to_wstring(row.problems.size() - 1) + L")";
      SetCell(list, index, 5, text);
    }
  }

  const size_t count = preview.rows.size();
  std::wstring summary = std::to_wstring(count) + (count > 1 ? L" questions à ajouter" : L" question à ajouter");
  if (preview.rowsWithErrors > 0) {
    summary += L", dont " + std::to_wstring(preview.rowsWithErrors) +
               L" qui dépassent une limite (en rouge) : vous pourrez les corriger après l'ajout.";
  }
  summary += L" Un caractère absent de Windows-1252 devient « ? ».";
  SetDlgItemTextW(dialog, IDC_PREVIEW_SUMMARY, summary.c_str());
  std::wstring notes;
  for (const std::string& note : preview.notes) notes += WideFromCp1252(note) + L"\n";
  SetDlgItemTextW(dialog, IDC_PREVIEW_NOTES, notes.c_str());
  const std::wstring add = L"&Ajouter " + std::to_wstring(count);
  SetDlgItemTextW(dialog, IDOK, add.c_str());
  EnableWindow(GetDlgItem(dialog, IDOK), count > 0);
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

INT_PTR CALLBACK ImportPreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: FillPreview(dialog, *reinterpret_cast<const ImportPreview*>(lParam)); return TRUE;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != IDC_PREVIEW_LIST || header->code != NM_CUSTOMDRAW) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PreviewCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default: return FALSE;
  }
}

// Adds the rows of a table at the selection. A paste whose rows are all
// clean goes in at once (undo takes it back); an import, or a paste with a
// row that breaks a limit or a part left out, is shown first.
void AddRows(const TableText& table, bool alwaysPreview) {
  const ImportPreview preview = PreviewImport(table, atelier.document.quiz());
  if (preview.rows.empty()) {
    std::wstring text = L"Aucune question à ajouter.";
    for (const std::string& note : preview.notes) text += L"\n\n" + WideFromCp1252(note);
    Ask(text, MB_ICONINFORMATION);
    return;
  }
  if (alwaysPreview || preview.rowsWithErrors > 0 || !preview.notes.empty()) {
    const INT_PTR answer = DialogBoxParamW(atelier.instance, MAKEINTRESOURCEW(IDD_IMPORT_PREVIEW), atelier.window,
                                           ImportPreviewProc, reinterpret_cast<LPARAM>(&preview));
    if (answer != IDOK) return;
  }
  if (!atelier.document.insertQuestions(InsertionRow(), QuestionsOf(preview))) return;
  AfterChange();
  SetStatus(std::to_wstring(preview.rows.size()) + L" question(s) ajoutée(s) : Ctrl+Z les retire.");
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

// Start-up, the main window, its layout, its commands and the message loop.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include <algorithm>

#include "atelier.h"
#include "file_names.h"
#include "source_keywords.h"
#include "wide_text.h"

Atelier atelier;

namespace {

// The main window's own controls and resources, for the window's life.
struct AppState {
  HWND problems = nullptr;  // what breaks a limit: a list box
  HWND status = nullptr;    // the status bar
  HACCEL accelerators = nullptr;
  HFONT font = nullptr;                    // the system's message font, for every control
  std::vector<QuizProblem> problemsFound;  // of the quiz as it stands
  bool problemsShown = false;              // the problems list and status bar show problemsFound
  PlayerMetrics playerMetrics;             // the player's fonts and controls on this system: what fits
};
AppState app;

const wchar_t WindowClass[] = L"LudexAtelier";

// The layout, in pixels: a margin, the column of big buttons on the right,
// the labels on the left, the length counters right of their fields.
const int Margin = 8;
const int RightColumn = 170;
const int LabelWidth = 140;
const int CounterWidth = 64;
const int LineHeight = 23;
const int TallHeight = 40;  // multi-line fields
const int ProblemsHeight = 74;
const int StatusParts[] = {150, 420, -1};

struct Button {
  int id;
  const wchar_t* text;
};
const Button ListButtons[] = {
    {IDM_ADD, L"Ajouter  (Inser)"},           {IDM_DUPLICATE, L"Dupliquer  (Ctrl+D)"},
    {IDM_REMOVE, L"Supprimer  (Ctrl+Suppr)"}, {IDM_MOVE_UP, L"Monter  (Alt+Haut)"},
    {IDM_MOVE_DOWN, L"Descendre  (Alt+Bas)"},
};
const Button OutputButtons[] = {
    {IDM_TRY, L"Essayer  (F5)"},
    {IDM_BUILD, L"Créer le programme…  (F7)"},
    {IDM_PRINT, L"Imprimer…  (Ctrl+P)"},
};

void CreateAtelierFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  app.font = CreateFontIndirectW(&metrics.lfMessageFont);
}

void DeleteAtelierFont() {
  if (app.font != nullptr) DeleteObject(app.font);
  app.font = nullptr;
}

// Tab order is creation order: the quiz's header, the list and its buttons,
// the fields of the chosen question, the problems, then trying and building.
void MsgCreate(HWND window) {
  atelier.window = window;
  CreateHeaderControls();
  AddControl(L"Static", L"&Liste des questions :", 0, IDC_LIST_LABEL);
  CreateQuestionList();
  for (const Button& button : ListButtons) AddControl(L"Button", button.text, WS_TABSTOP, button.id);
  CreateRowFields();
  AddControl(L"Static", L"Pro&blèmes :", 0, IDC_PROBLEMS_LABEL);
  app.problems = AddControl(L"ListBox", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, IDC_PROBLEMS,
                            WS_EX_CLIENTEDGE);
  for (const Button& button : OutputButtons) AddControl(L"Button", button.text, WS_TABSTOP, button.id);
  app.status = AddControl(STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, IDC_STATUS);
  SendMessageW(app.status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(StatusParts));
}

void Place(int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(atelier.window, id), nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// One field: its label, the field, and its counter ending at counterRight.
void PlaceField(QuizField field, int labelX, int labelWidth, int y, int counterRight, int height) {
  const int id = static_cast<int>(field);
  const int editX = labelX + labelWidth;
  Place(IDC_LABEL_BASE + id, labelX, y + 4, labelWidth - 4, 18);
  Place(IDC_FIELD_BASE + id, editX, y, counterRight - CounterWidth - 6 - editX, height);
  Place(IDC_COUNTER_BASE + id, counterRight - CounterWidth, y + 4, CounterWidth, 18);
}

// The list grows with the window; everything below it follows its bottom.
void PlaceControls(int width, int height) {
  SendMessageW(app.status, WM_SIZE, 0, 0);
  RECT statusRect;
  GetWindowRect(app.status, &statusRect);
  const int bottom = height - (statusRect.bottom - statusRect.top) - Margin;
  const int rightX = width - Margin - RightColumn;
  const int counterRight = rightX - 12;

  int y = Margin;
  PlaceField(QuizField::Title, Margin, LabelWidth, y, counterRight, LineHeight);
  y += LineHeight + 6;
  PlaceField(QuizField::Author, Margin, LabelWidth, y, counterRight, LineHeight);
  y += LineHeight + 6;
  PlaceField(QuizField::Explanation, Margin, LabelWidth, y, counterRight, TallHeight);
  y += TallHeight + 6;

  // The settings row: answers per question, reveal mode, background colour.
  const int answersLabel = 150;
  int x = Margin + answersLabel;
  Place(IDC_ANSWER_COUNT_LABEL, Margin, y + 4, answersLabel - 4, 18);
  Place(IDC_ANSWER_COUNT, x, y, 52, 200);
  x += 52 + 16;
  Place(IDC_REVEAL_MODE_LABEL, x, y + 4, 124, 18);
  x += 124;
  const int colourWidth = 100 + 40 + 6 + 84;
  const int modeWidth = std::max(150, std::min(330, counterRight - colourWidth - 16 - x));
  Place(IDC_REVEAL_MODE, x, y, modeWidth, 200);
  x += modeWidth + 16;
  Place(IDC_COLOUR_LABEL, x, y + 4, 100, 18);
  Place(IDC_COLOUR_SWATCH, x + 100, y, 40, LineHeight);
  Place(IDM_COLOUR, x + 146, y, 84, LineHeight);
  y += LineHeight + 8;

  for (int k = 0; k < 3; ++k) Place(OutputButtons[k].id, rightX, Margin + k * 34, RightColumn, 28);

  // Below the list, from the bottom up: the problems, then the chosen question's fields.
  const int problemsTop = bottom - ProblemsHeight;
  Place(IDC_PROBLEMS, Margin, problemsTop, width - 2 * Margin, ProblemsHeight);
  Place(IDC_PROBLEMS_LABEL, Margin, problemsTop - 19, 300, 18);
  const int rowHeight = 20 + TallHeight + 6 + LineHeight + 6 + TallHeight + 6 + LineHeight;
  int rowY = problemsTop - 24 - rowHeight;

  Place(IDC_LIST_LABEL, Margin, y, 400, 18);
  const int listTop = y + 20;
  const int listWidth = rightX - 12 - Margin;
  Place(IDC_QUESTION_LIST, Margin, listTop, listWidth, rowY - 8 - listTop);
  SetListColumns(listWidth);
  for (int k = 0; k < 5; ++k) Place(ListButtons[k].id, rightX, listTop + k * 32, RightColumn, 27);

  Place(IDC_ROW_LABEL, Margin, rowY, rightX - Margin, 18);
  rowY += 20;
  PlaceField(QuizField::Question, Margin, LabelWidth, rowY, counterRight, TallHeight);
  rowY += TallHeight + 6;
  // Two columns: the first answer, reveal text and code; the second answer and reveal text.
  const int secondLabel = 96;
  const int column = (counterRight - (Margin + LabelWidth) - 14 - secondLabel) / 2;
  const int firstRight = Margin + LabelWidth + column;
  const int secondX = firstRight + 14;
  PlaceField(QuizField::Answer1, Margin, LabelWidth, rowY, firstRight, LineHeight);
  PlaceField(QuizField::Answer2, secondX, secondLabel, rowY, counterRight, LineHeight);
  rowY += LineHeight + 6;
  PlaceField(QuizField::Reveal1, Margin, LabelWidth, rowY, firstRight, TallHeight);
  PlaceField(QuizField::Reveal2, secondX, secondLabel, rowY, counterRight, TallHeight);
  rowY += TallHeight + 6;
  PlaceField(QuizField::Code, Margin, LabelWidth, rowY, firstRight, LineHeight);
  InvalidateRect(atelier.window, nullptr, TRUE);
}

bool CommandAvailable(int id) {
  const QuizDocument& document = atelier.document;
  const RowSet& rows = document.selection();
  switch (id) {
    case IDM_UNDO: return document.canUndo();
    case IDM_REDO: return document.canRedo();
    case IDM_ADD: return document.questionCount() < MaxQuestions;
    case IDM_DUPLICATE: return !rows.empty() && document.questionCount() < MaxQuestions;
    case IDM_REMOVE: return !rows.empty();
    case IDM_MOVE_UP: return !rows.empty() && rows.front() > 0;
    case IDM_MOVE_DOWN: return !rows.empty() && rows.back() < document.questionCount() - 1;
    case IDM_EXPORT_CSV: return document.questionCount() > 0;
    default: return true;
  }
}

void ShowCommandStates() {
  for (const Button& button : ListButtons) {
    EnableWindow(GetDlgItem(atelier.window, button.id), CommandAvailable(button.id));
  }
}

void MsgInitMenuPopup(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int k = 0; k < count; ++k) {
    const UINT id = GetMenuItemID(menu, k);
    if (id != static_cast<UINT>(-1)) EnableMenuItem(menu, id, CommandAvailable(id) ? MF_ENABLED : MF_GRAYED);
  }
}

bool IsEditControl(HWND control) {
  wchar_t name[16] = L"";
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

// Ctrl+V and Ctrl+A pressed in a text field edit that field, as in any
// Windows text field. Ctrl+Z and Ctrl+Y stay the editor's: its undo holds
// the typing of each field as a step, and redo after it.
bool ForwardToField(int id) {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsEditControl(focus)) return false;
  switch (id) {
    case IDM_PASTE: SendMessageW(focus, WM_PASTE, 0, 0); return true;
    case IDM_SELECT_ALL: SendMessageW(focus, EM_SETSEL, 0, -1); return true;
    default: return false;
  }
}

void ChangeRows(bool changed) {
  if (changed) AfterChange();
}

// Undo or redo, and the status bar says what it took back or did again.
void UndoOrRedo(bool redo) {
  QuizDocument& document = atelier.document;
  const std::string change = redo ? document.redoName() : document.undoName();
  if (!(redo ? document.redo() : document.undo())) return;
  AfterChange();
  SetStatus((redo ? L"Rétabli : " : L"Annulé : ") + WideFromCp1252(change) + L".");
}

void SelectAllRows() {
  RowSet rows;
  for (int row = 0; row < atelier.document.questionCount(); ++row) rows.push_back(row);
  atelier.document.select(rows);
  ShowDocument();
  SetFocus(atelier.list);
}

// A problem's place, kept with its line of the problems list: (row + 1) << 8 | (field + 1).
LPARAM ProblemPlace(const QuizProblem& problem) { return ((problem.row + 1) << 8) | (problem.field + 1); }

void GoToProblem() {
  const LRESULT index = SendMessageW(app.problems, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  const LRESULT place = SendMessageW(app.problems, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  const int row = static_cast<int>(place >> 8) - 1;
  const int field = static_cast<int>(place & 0xFF) - 1;
  if (row >= 0) {
    atelier.document.select({row});
    ShowDocument();
  }
  if (field >= 0) SetFocus(FieldWindow(static_cast<QuizField>(field)));
}

// Enter, which the dialog navigation turns into IDOK: press the button that
// has the focus, or go where the focus points.
void MsgEnter() {
  HWND focus = GetFocus();
  wchar_t name[16] = L"";
  GetClassNameW(focus, name, 16);
  if (lstrcmpiW(name, L"Button") == 0) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  } else if (focus == app.problems) {
    GoToProblem();
  } else if (focus == atelier.list && atelier.shownRow >= 0) {
    SetFocus(FieldWindow(QuizField::Question));
  }
}

void MsgCommand(int id, int code, HWND control) {
  if (IsFieldsCommand(id)) {
    MsgFieldCommand(id, code);
    return;
  }
  if (id == IDC_PROBLEMS) {
    if (code == LBN_DBLCLK) GoToProblem();
    return;
  }
  if (control == nullptr && code == 1 && ForwardToField(id)) return;
  QuizDocument& document = atelier.document;
  switch (id) {
    case IDOK: MsgEnter(); break;
    case IDM_NEW: NewQuiz(); break;
    case IDM_OPEN: OpenQuiz(); break;
    case IDM_SAVE: SaveQuiz(); break;
    case IDM_SAVE_AS: SaveQuizAs(); break;
    case IDM_IMPORT_CSV: ImportCsv(); break;
    case IDM_EXPORT_CSV: ExportCsv(); break;
    case IDM_PRINT: PrintQuiz(); break;
    case IDM_EXIT: PostMessageW(atelier.window, WM_CLOSE, 0, 0); break;
    case IDM_UNDO: UndoOrRedo(false); break;
    case IDM_REDO: UndoOrRedo(true); break;
    case IDM_PASTE: PasteRows(); break;
    case IDM_SELECT_ALL: SelectAllRows(); break;
    case IDM_ADD:
      if (document.addQuestion(InsertionRow())) {
        AfterChange();
        SetFocus(FieldWindow(QuizField::Question));
      }
      break;
    case IDM_DUPLICATE:
      ChangeRows(!document.selection().empty() && document.duplicateRow(document.selection().back()));
      break;
    case IDM_REMOVE: ChangeRows(document.removeRows(document.selection())); break;
    case IDM_MOVE_UP: ChangeRows(document.moveRows(document.selection(), -1)); break;
    case IDM_MOVE_DOWN: ChangeRows(document.moveRows(document.selection(), 1)); break;
    case IDM_COLOUR: ChooseBackgroundColour(); break;
    case IDM_TRY: TryQuiz(); break;
    case IDM_BUILD: BuildProgram(); break;
    case IDM_BUILD_PAGE: BuildPage(); break;
    default:
      if (id >= IDM_RECENT_BASE && id < IDM_RECENT_BASE + MaxRecentFiles) OpenRecentFile(id - IDM_RECENT_BASE);
      break;
  }
}

// The dialog navigation (Tab, a label's Alt+letter) asks the window to move
// the focus, as a dialog would be asked: the window does it as a dialog does.
void MsgNextControl(WPARAM wParam, LPARAM lParam) {
  HWND target =
      LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(atelier.window, GetFocus(), wParam != 0);
  if (target == nullptr) return;
  SetFocus(target);
  if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
}

void MsgGetMinMaxInfo(MINMAXINFO* limits) {
  limits->ptMinTrackSize.x = 900;
  limits->ptMinTrackSize.y = 600;
}

void MsgClose() {
  if (!ConfirmDiscard()) return;
  RemoveRecoveryCopy();
  DestroyWindow(atelier.window);
}

bool RegisterAtelierClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = AtelierWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ATELIER));
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN_MENU);
  windowClass.lpszClassName = WindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

// 1040 x 720 where the screen allows (a 1366 x 768 screen keeps room for the
// taskbar), centred in the work area.
RECT StartingPlace() {
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int width = std::min(1040L, area.right - area.left);
  const int height = std::min(720L, area.bottom - area.top);
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  return {x, y, x + width, y + height};
}

bool OpenPageInBrowser(const std::wstring& path) {
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(atelier.window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

// Tab from a multi-line field goes to the next field, as from any other:
// such a field would otherwise take the key as a character.
bool MoveFocusOnTab(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !IsMultilineField(message.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0) return false;
  HWND next = GetNextDlgTabItem(atelier.window, message.hwnd, GetKeyState(VK_SHIFT) < 0);
  if (next == nullptr) return false;
  SetFocus(next);
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
  return true;
}

}  // namespace

HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD extendedStyle) {
  HWND control =
      CreateWindowExW(extendedStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, atelier.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), atelier.instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(app.font), FALSE);
  return control;
}

std::wstring FieldName(QuizField field) { return L"« " + WideFromCp1252(FieldKeyword(field)) + L" »"; }

std::wstring ProblemLine(const QuizProblem& problem) {
  std::wstring line = problem.isError ? L"Erreur" : L"Avertissement";
  if (problem.row >= 0) line += L", question " + std::to_wstring(problem.row + 1);
  if (problem.field >= 0) line += L", " + FieldName(static_cast<QuizField>(problem.field));
  return line + L" : " + WideFromCp1252(problem.message);
}

int Ask(const std::wstring& text, UINT flags) {
  return MessageBoxW(atelier.window, text.c_str(), L"Ludex Atelier", flags);
}

void SetStatus(const std::wstring& text) {
  SendMessageW(app.status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(text.c_str()));
}

void ShowTitle() {
  const QuizDocument& document = atelier.document;
  std::wstring title = document.path().empty() ? L"Sans titre" : FileNameOf(WideFromUtf8(document.path()));
  if (document.modified()) title += L"*";
  title += L" - Ludex Atelier";
  if (WindowText(atelier.window) != title) SetWindowTextW(atelier.window, title.c_str());
}

bool SameProblems(const std::vector<QuizProblem>& a, const std::vector<QuizProblem>& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (a[k].row != b[k].row || a[k].field != b[k].field || a[k].isError != b[k].isError ||
        a[k].message != b[k].message) {
      return false;
    }
  }
  return true;
}

// The problems of the quiz as it stands. Most keystrokes change none: the
// list box and the status bar are written again only when they change.
void ShowProblems() {
  const QuizDocument& document = atelier.document;
  std::vector<QuizProblem> problems = ValidateQuiz(document.quiz(), false, &app.playerMetrics);
  // A blank new quiz lacks questions, of course: no warning before the author starts.
  if (!document.modified() && document.path().empty()) {
    problems.erase(std::remove_if(problems.begin(), problems.end(),
                                  [](const QuizProblem& p) { return p.rule == QuizRule::NoQuestion; }),
                   problems.end());
  }
  const int count = document.questionCount();
  if (app.problemsShown && SameProblems(problems, app.problemsFound) &&
      static_cast<int>(atelier.rowHasError.size()) == count) {
    return;
  }
  app.problemsShown = true;
  app.problemsFound = std::move(problems);
  atelier.rowHasError.assign(static_cast<size_t>(count), false);
  int errors = 0, warnings = 0;
  SendMessageW(app.problems, WM_SETREDRAW, FALSE, 0);
  SendMessageW(app.problems, LB_RESETCONTENT, 0, 0);
  for (const QuizProblem& problem : app.problemsFound) {
    (problem.isError ? errors : warnings) += 1;
    if (problem.isError && problem.row >= 0 && problem.row < count) {
      atelier.rowHasError[static_cast<size_t>(problem.row)] = true;
    }
    const LRESULT index =
        SendMessageW(app.problems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ProblemLine(problem).c_str()));
    SendMessageW(app.problems, LB_SETITEMDATA, static_cast<WPARAM>(index), ProblemPlace(problem));
  }
  SendMessageW(app.problems, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(app.problems, nullptr, TRUE);

  const std::wstring questions = std::to_wstring(count) + (count > 1 ? L" questions" : L" question");
  std::wstring summary = errors == 0 && warnings == 0 ? L"Aucun problème" : L"";
  if (errors > 0) summary = std::to_wstring(errors) + (errors > 1 ? L" erreurs" : L" erreur");
  if (warnings > 0) {
    summary += (errors > 0 ? L", " : L"") + std::to_wstring(warnings) +
               (warnings > 1 ? L" avertissements" : L" avertissement");
  }
  SendMessageW(app.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(questions.c_str()));
  SendMessageW(app.status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(summary.c_str()));
  InvalidateRect(atelier.list, nullptr, FALSE);  // the rows' colours
}

void ShowDocument() {
  ShowProblems();  // first: the list draws the rows with errors in red
  ShowQuestionList();
  ShowFields();
  ShowTitle();
  ShowCommandStates();
}

void AfterChange() {
  ShowDocument();
  ArmRecoveryTimer();
}

void AfterTyping(QuizField field) {
  ShowProblems();
  if (IsQuestionField(field)) RedrawQuestionRow(atelier.shownRow);
  ShowTitle();
  ArmRecoveryTimer();
}

LRESULT CALLBACK AtelierWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: MsgCreate(window); return 0;

    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) PlaceControls(LOWORD(lParam), HIWORD(lParam));
      return 0;

    case WM_GETMINMAXINFO: MsgGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;

    case WM_COMMAND: MsgCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;

    case WM_NOTIFY: return MsgListNotify(reinterpret_cast<NMHDR*>(lParam));

    case WM_CTLCOLORSTATIC: return MsgCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));

    case WM_INITMENUPOPUP: MsgInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;

    case WM_LIST_SELECTION: TakeListSelection(); return 0;

    case WM_NEXTDLGCTL: MsgNextControl(wParam, lParam); return 0;

    case WM_TIMER:
      if (wParam == IDT_RECOVERY) {
        KillTimer(window, IDT_RECOVERY);
        WriteRecoveryCopy();
      }
      return 0;

    case WM_CLOSE: MsgClose(); return 0;

    case WM_QUERYENDSESSION:
      // Windows is ending the session: the recovery copy holds the last change.
      WriteRecoveryCopy();
      return TRUE;

    case WM_DESTROY: PostQuitMessage(0); return 0;

    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool StartAtelier(HINSTANCE instance, const std::wstring& fileToOpen) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterAtelierClass(instance)) return false;
  atelier = Atelier();
  atelier.instance = instance;
  atelier.openPage = OpenPageInBrowser;
  app = AppState();
  app.playerMetrics = MeasurePlayerMetrics();
  StartOutput();
  app.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
  CreateAtelierFont();

  const RECT place = StartingPlace();
  CreateWindowExW(0, WindowClass, L"Ludex Atelier", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, nullptr, nullptr, instance, nullptr);
  if (atelier.window == nullptr) return false;
  StartFiles();
  ShowDocument();
  ShowWindow(atelier.window, SW_SHOWNORMAL);
  UpdateWindow(atelier.window);
  SetFocus(FieldWindow(QuizField::Title));

  OfferRecoveryCopies();
  if (!fileToOpen.empty() && ConfirmDiscard()) OpenPath(fileToOpen);
  return true;
}

bool TakeKeyMessage(MSG& message) {
  if (atelier.window == nullptr || (message.hwnd != atelier.window && !IsChild(atelier.window, message.hwnd))) {
    return false;
  }
  return TranslateAcceleratorW(atelier.window, app.accelerators, &message) || MoveFocusOnTab(message) ||
         IsDialogMessageW(atelier.window, &message);
}

int RunAtelierLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TakeKeyMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void EndAtelier() {
  if (IsWindow(atelier.window)) DestroyWindow(atelier.window);
  // WM_DESTROY posted a quit message that no loop will read when the loop
  // already ended or never ran (tests): take it back.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  EndTries();
  EndFiles();  // as Windows would for a crashed editor: its copy stays, its lock goes
  DeleteSwatchBrush();
  DeleteAtelierFont();
  if (app.accelerators != nullptr) DestroyAcceleratorTable(app.accelerators);
  UnregisterClassW(WindowClass, atelier.instance);
  atelier = Atelier();
  app = AppState();
}

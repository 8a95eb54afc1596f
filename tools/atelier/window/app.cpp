// Start-up, the main window, its layout, its commands, the message loop, and
// showing the session after each call into it.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "atelier.h"
#include "editor_layout.h"
#include "wide_text.h"

namespace {

// The main window's own controls and resources, for the window's life.
struct AppState {
  HWND problems = nullptr;  // what the quiz breaks: a list box
  HWND status = nullptr;    // the status bar
  std::vector<std::string> problemsShown;  // the lines the list box holds
  std::vector<bool> problemErrors;         // which of them are errors, drawn in red
  std::vector<std::string> recentShown;    // the last files the menu holds
  bool recentMenuShown = false;
  bool recoveryTimerArmed = false;
  bool settling = false;  // prompts are being shown: a timer must not show them again
};
AppState app;

const wchar_t WindowClass[] = L"LudexAtelier";
const int StatusParts[] = {150, -1};  // the count of questions, the status (the problems counted above their list)
const int IdOfRecentSeparator = IDM_RECENT_BASE + 99;

// The buttons beside the list, and those of trying and building, in the layout's order.
const Command ListButtons[] = {Command::Add, Command::Duplicate, Command::Remove, Command::MoveUp, Command::MoveDown};
const Command OutputButtons[] = {Command::Try, Command::Build, Command::BuildPage, Command::Print};

void MeasureProblems();
void ShowStatus();

void AddButton(Command command) {
  AddControl(L"Button", WideFromUtf8(WindowButtonText(InfoOf(command))).c_str(), WS_TABSTOP, CommandId(command));
}

// The menu bar and the accelerators, from the session's table of commands:
// each command's caption and shortcut, and its key.
HMENU CreateMenuBar() {
  HMENU bar = CreateMenu();
  for (const MenuDisplay& shown : Menus) {
    HMENU menu = CreatePopupMenu();
    for (const std::vector<Command>& group : shown.groups) {
      if (GetMenuItemCount(menu) > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      for (Command command : group) {
        AppendMenuW(menu, MF_STRING, CommandId(command), WideFromUtf8(MenuItemText(InfoOf(command))).c_str());
      }
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), WideFromUtf8(shown.title).c_str());
  }
  return bar;
}

HACCEL CreateAccelerators() {
  std::vector<ACCEL> keys;
  for (const CommandInfo& info : Commands) {
    for (const Shortcut& key : {info.shortcut, info.also}) {
      if (key.key == Key::None || info.systemKey) continue;
      const BYTE flags = FVIRTKEY | (key.control ? FCONTROL : 0) | (key.shift ? FSHIFT : 0) | (key.alt ? FALT : 0);
      keys.push_back({flags, static_cast<WORD>(VirtualKey(key.key)), static_cast<WORD>(CommandId(info.command))});
    }
  }
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

void CreateAtelierFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  atelier.font = CreateFontIndirectW(&metrics.lfMessageFont);
}

// Tab order is creation order: the quiz's header, the list and its buttons,
// the fields of the chosen question, the problems, then trying and building.
void MsgCreate(HWND window) {
  atelier.window = window;
  CreateHeaderControls();
  AddControl(L"Static", L"&Liste des questions :", 0, IDC_LIST_LABEL);
  CreateQuestionList();
  for (Command command : ListButtons) AddButton(command);
  CreateRowFields();
  AddControl(L"Static", L"Pro&blèmes :", 0, IDC_PROBLEMS_LABEL);
  // Each problem on as many lines as it takes: none is cut at the list's edge.
  app.problems = AddControl(L"ListBox", L"",
                            WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE |
                                LBS_HASSTRINGS,
                            IDC_PROBLEMS, WS_EX_CLIENTEDGE);
  for (Command command : OutputButtons) AddButton(command);
  app.status = AddControl(STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, IDC_STATUS);
  SendMessageW(app.status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(StatusParts));
}

// Every control where the layout puts it, in one batch.
void MsgSize(int width, int height) {
  SendMessageW(app.status, WM_SIZE, 0, 0);
  InvalidateRect(app.status, nullptr, TRUE);  // its size grip drawn anew where it now is, none left where it was
  RECT status;
  GetWindowRect(app.status, &status);
  const EditorLayout layout = LayoutEditor(width, height, status.bottom - status.top, GetSystemMetrics(SM_CXVSCROLL));
  std::vector<std::pair<int, Box>> places = {{IDC_ANSWER_COUNT_LABEL, layout.answersLabel},
                                             {IDC_REVEAL_MODE_LABEL, layout.revealLabel},
                                             {IDC_COLOUR_LABEL, layout.colourLabel},
                                             {IDC_COLOUR_SWATCH, layout.swatch},
                                             {CommandId(Command::ChooseColour), layout.colourButton},
                                             {IDC_LIST_LABEL, layout.listLabel},
                                             {IDC_QUESTION_LIST, layout.list},
                                             {IDC_ROW_LABEL, layout.rowLabel},
                                             {IDC_PROBLEMS_LABEL, layout.problemsLabel},
                                             {IDC_PROBLEMS, layout.problems},
                                             {IDC_SUGGESTIONS_BASE, layout.suggestions[0]},
                                             {IDC_SUGGESTIONS_BASE + 1, layout.suggestions[1]}};
  for (int combo : {IDC_ANSWER_COUNT, IDC_REVEAL_MODE}) {  // a combo box's height holds its drop-down list
    Box box = combo == IDC_ANSWER_COUNT ? layout.answers : layout.reveal;
    box.height = 200;
    places.push_back({combo, box});
  }
  for (int k = 0; k < 4; ++k) places.push_back({CommandId(OutputButtons[k]), layout.outputButtons[k]});
  for (int k = 0; k < 5; ++k) places.push_back({CommandId(ListButtons[k]), layout.listButtons[k]});
  for (int field = 0; field < QuizFieldCount; ++field) {
    const FieldBoxes& boxes = layout.fields[field];
    if (boxes.field.width == 0) continue;
    places.insert(places.end(), {{IDC_LABEL_BASE + field, boxes.label},
                                 {IDC_FIELD_BASE + field, boxes.field},
                                 {IDC_COUNTER_BASE + field, boxes.counter}});
  }
  // SWP_NOCOPYBITS: every child moved paints itself anew. Copying their old
  // pixels, as a batch otherwise does, copies what another child, moved in
  // the same batch, left there (under Wine without a window manager: blank
  // labels, "fond :uleur d").
  HDWP batch = BeginDeferWindowPos(static_cast<int>(places.size()));
  for (const auto& [id, box] : places) {
    if (batch != nullptr) {
      batch = DeferWindowPos(batch, GetDlgItem(atelier.window, id), nullptr, box.x, box.y, box.width, box.height,
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
  SetListColumns(layout.listColumns);
  MeasureProblems();
  InvalidateRect(atelier.window, nullptr, TRUE);
}

// The list's notifications; a suggestion's link taken by a click or Enter,
// which changes the session.
LRESULT MsgNotify(NMHDR* header, bool& changed) {
  if (IsSuggestionLink(static_cast<int>(header->idFrom)) && (header->code == NM_CLICK || header->code == NM_RETURN)) {
    TakeSuggestion(static_cast<int>(header->idFrom), reinterpret_cast<NMLINK*>(header)->item.iLink);
    changed = true;
    return 0;
  }
  return MsgListNotify(header);
}

void ShowCommandStates() {
  for (Command command : ListButtons) {
    EnableWindow(GetDlgItem(atelier.window, CommandId(command)), atelier.session->available(command));
  }
}

void MsgInitMenuPopup(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int k = 0; k < count; ++k) {
    const UINT id = GetMenuItemID(menu, k);
    Command command;
    if (id != static_cast<UINT>(-1) && CommandOfId(static_cast<int>(id), command)) {
      EnableMenuItem(menu, id, atelier.session->available(command) ? MF_ENABLED : MF_GRAYED);
    }
  }
}

void SetStatusPart(int part, const std::string& utf8) {
  SendMessageW(app.status, SB_SETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(WideFromUtf8(utf8).c_str()));
}

// The problems of the quiz as it stands. Most keystrokes change none: the
// list box is written again only when they change.
void ShowProblems() {
  const std::vector<ProblemLine>& problems = atelier.session->problems();
  std::vector<std::string> lines;
  std::vector<bool> errors;
  for (const ProblemLine& problem : problems) {
    lines.push_back(problem.text);
    errors.push_back(problem.isError);
  }
  SetStatusPart(0, atelier.session->questionCountText());
  const std::wstring heading = L"Pro&blèmes : " + WideFromUtf8(atelier.session->problemsSummary());
  HWND label = GetDlgItem(atelier.window, IDC_PROBLEMS_LABEL);
  if (WindowText(label) != heading) SetWindowTextW(label, heading.c_str());
  if (lines == app.problemsShown && errors == app.problemErrors) return;
  app.problemsShown = lines;
  app.problemErrors = errors;
  SendMessageW(app.problems, WM_SETREDRAW, FALSE, 0);
  SendMessageW(app.problems, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) {
    SendMessageW(app.problems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(line).c_str()));
  }
  SendMessageW(app.problems, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(app.problems, nullptr, TRUE);
  InvalidateRect(atelier.list, nullptr, FALSE);  // the rows' colours
}

// The height of a problem's lines, wrapped at the list's width.
int ProblemHeight(int index) {
  RECT area;
  GetClientRect(app.problems, &area);
  RECT text = {0, 0, std::max(40L, area.right - 8), 0};
  HDC dc = GetDC(app.problems);
  HGDIOBJ old = SelectObject(dc, atelier.font);
  const std::wstring line = WideFromUtf8(app.problemsShown[static_cast<size_t>(index)]);
  DrawTextW(dc, line.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(app.problems, dc);
  return std::min(255, static_cast<int>(text.bottom) + 4);
}

void MeasureProblems() {
  for (size_t k = 0; k < app.problemsShown.size(); ++k) {
    SendMessageW(app.problems, LB_SETITEMHEIGHT, k, ProblemHeight(static_cast<int>(k)));
  }
}

void MsgMeasureItem(MEASUREITEMSTRUCT* item) {
  if (item->CtlID != IDC_PROBLEMS || item->itemID >= app.problemsShown.size()) return;
  item->itemHeight = static_cast<UINT>(ProblemHeight(static_cast<int>(item->itemID)));
}

// A problem on its lines, an error in red; the chosen one highlighted.
void MsgDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlID != IDC_PROBLEMS || item->itemID >= app.problemsShown.size()) return;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, selected                             ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                          : app.problemErrors[item->itemID] ? ErrorRed
                                                            : GetSysColor(COLOR_WINDOWTEXT));
  RECT text = item->rcItem;
  InflateRect(&text, -4, -2);
  const std::wstring line = WideFromUtf8(app.problemsShown[item->itemID]);
  DrawTextW(item->hDC, line.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
}

void ShowTitle() {
  const std::wstring title = WideFromUtf8(atelier.session->windowTitle());
  if (WindowText(atelier.window) != title) SetWindowTextW(atelier.window, title.c_str());
}

// The last files go between a separator of their own and the one above "Quitter":
// "&1 C:\Quiz\capitales.txt", '&' doubled.
void ShowRecentFiles() {
  const std::vector<std::string> recent = atelier.session->recentFiles();
  HMENU menu = GetSubMenu(GetMenu(atelier.window), 0);
  if (menu == nullptr || (app.recentMenuShown && recent == app.recentShown)) return;
  app.recentShown = recent;
  app.recentMenuShown = true;
  for (int k = 0; k < 100; ++k) DeleteMenu(menu, IDM_RECENT_BASE + k, MF_BYCOMMAND);
  DeleteMenu(menu, IdOfRecentSeparator, MF_BYCOMMAND);
  if (recent.empty()) return;
  UINT position = static_cast<UINT>(GetMenuItemCount(menu) - 2);
  InsertMenuW(menu, position++, MF_BYPOSITION | MF_SEPARATOR, IdOfRecentSeparator, nullptr);
  for (size_t k = 0; k < recent.size(); ++k) {
    std::wstring shown = WideFromUtf8(recent[k]);
    for (size_t at = 0; (at = shown.find(L'&', at)) != std::wstring::npos; at += 2) shown.insert(at, 1, L'&');
    const std::wstring text = L"&" + std::to_wstring(k + 1) + L" " + shown;
    InsertMenuW(menu, position++, MF_BYPOSITION | MF_STRING, IDM_RECENT_BASE + k, text.c_str());
  }
}

void ShowSession() {
  ShowProblems();  // first: the list draws the rows with errors in red
  ShowQuestionList();
  ShowFields();
  ShowTitle();
  ShowStatus();
  ShowCommandStates();
  ShowRecentFiles();
}

// The recovery copy follows a few seconds after the first unsaved change; the
// packed size of a large quiz once the typing pauses.
void ArmTimers() {
  if (!app.recoveryTimerArmed && atelier.session->recoveryDue()) {
    app.recoveryTimerArmed = SetTimer(atelier.window, IDT_RECOVERY, RecoveryDelayMs, nullptr) != 0;
  }
  if (atelier.session->sizeCheckDue()) SetTimer(atelier.window, IDT_SIZE_CHECK, SizeCheckDelayMs, nullptr);
}

void MsgTimer(WPARAM id) {
  KillTimer(atelier.window, id);
  if (id == IDT_RECOVERY) {
    app.recoveryTimerArmed = false;
    atelier.session->writeRecoveryCopy();
    ShowStatus();
  } else if (id == IDT_SIZE_CHECK) {
    atelier.session->checkSizes();
    ShowProblems();
  }
}

void TakeFocus() {
  const FocusRequest focus = atelier.session->takeFocus();
  if (focus.list) SetFocus(atelier.list);
  if (focus.field >= 0) SetFocus(FieldWindow(static_cast<QuizField>(focus.field)));
}

bool IsEditControl(HWND control) {
  wchar_t name[16] = L"";
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

// The keys of Paste and Select all pressed in a text field edit that field,
// as in any Windows text field. Those of Undo and Redo stay the editor's:
// its undo holds the typing of each field as a step, and redo after it.
bool ForwardToField(Command command) {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsEditControl(focus)) return false;
  switch (command) {
    case Command::Paste: SendMessageW(focus, WM_PASTE, 0, 0); return true;
    case Command::SelectAll: SendMessageW(focus, EM_SETSEL, 0, -1); return true;
    default: return false;
  }
}

// The clipboard's text, no further than its block and no more than the
// table reader takes (past that it refuses the text whole, and says so).
std::wstring ClipboardText() {
  std::wstring text;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(atelier.window)) return text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* locked = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (locked != nullptr) {
    const size_t units = GlobalSize(data) / sizeof(wchar_t);
    size_t length = 0;
    while (length < units && length <= MaxTableBytes && locked[length] != L'\0') ++length;
    text.assign(locked, length);
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
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
    atelier.session->goToProblem(static_cast<int>(SendMessageW(app.problems, LB_GETCURSEL, 0, 0)));
  } else if (focus == atelier.list && atelier.session->shownRow() >= 0) {
    SetFocus(FieldWindow(QuizField::Question));
  }
}

// A command of the menu, a key or a button, and the controls' notifications;
// true when the session may have changed.
bool MsgCommand(int id, int code, HWND control) {
  if (IsFieldsCommand(id)) return MsgFieldCommand(id, code);
  Command command;
  if (id == IDC_PROBLEMS && code == LBN_DBLCLK) {
    atelier.session->goToProblem(static_cast<int>(SendMessageW(app.problems, LB_GETCURSEL, 0, 0)));
  } else if (id == IDOK) {
    MsgEnter();
  } else if (id >= IDM_RECENT_BASE && id < IDM_RECENT_BASE + 100) {
    atelier.session->openRecent(id - IDM_RECENT_BASE);
  } else if (!CommandOfId(id, command) || (control == nullptr && code == 1 && ForwardToField(command))) {
    return false;
  } else if (command == Command::Paste) {
    atelier.session->paste(Utf8FromWide(ClipboardText()));
  } else if (command == Command::ChooseColour) {
    ChooseBackgroundColour();
  } else {
    atelier.session->runCommand(command);
  }
  return true;
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

bool RegisterAtelierClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = AtelierWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ATELIER));
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
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

// Tab from a multi-line field goes to the next field, as from any other:
// such a field would otherwise take the key as a character. Esc there does
// nothing: a multi-line field in dialog navigation would close the window.
bool TakeFieldKey(const MSG& message) {
  if (!IsMultilineField(message.hwnd)) return false;
  if (message.wParam == VK_ESCAPE && (message.message == WM_KEYDOWN || message.message == WM_CHAR)) return true;
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0) return false;
  HWND next = GetNextDlgTabItem(atelier.window, message.hwnd, GetKeyState(VK_SHIFT) < 0);
  if (next == nullptr) return false;
  SetFocus(next);
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
  return true;
}

void ShowStatus() { SetStatusPart(1, atelier.session->status()); }

// After each call into the session: its prompts shown one after the other
// until none waits, then the window shows the session.
void Settle() {
  if (app.settling || atelier.session == nullptr) return;
  app.settling = true;
  ShowSession();
  while (const Prompt* prompt = atelier.session->prompt()) {
    const Reply reply = ShowPrompt(*prompt);
    atelier.session->reply(reply);
    ShowSession();
  }
  app.settling = false;
  if (atelier.session->closed()) {
    DestroyWindow(atelier.window);
    return;
  }
  TakeFocus();
  ArmTimers();
}

}  // namespace

LRESULT CALLBACK AtelierWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: MsgCreate(window); return 0;

    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) MsgSize(LOWORD(lParam), HIWORD(lParam));
      return 0;

    case WM_GETMINMAXINFO: {
      MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = MinEditorWidth;
      limits->ptMinTrackSize.y = MinEditorHeight;
      return 0;
    }

    case WM_COMMAND:
      if (MsgCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) Settle();
      return 0;

    case WM_NOTIFY: {
      bool changed = false;
      const LRESULT result = MsgNotify(reinterpret_cast<NMHDR*>(lParam), changed);
      if (changed) Settle();
      return result;
    }

    case WM_MEASUREITEM: MsgMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return TRUE;

    case WM_DRAWITEM: MsgDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;

    case WM_CTLCOLORSTATIC: return MsgCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));

    case WM_INITMENUPOPUP: MsgInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;

    case WM_LIST_SELECTION:
      if (TakeListSelection()) Settle();
      return 0;

    case WM_NEXTDLGCTL: MsgNextControl(wParam, lParam); return 0;

    case WM_TIMER: MsgTimer(wParam); return 0;

    case WM_CLOSE:
      atelier.session->runCommand(Command::Close);
      Settle();
      return 0;

    case WM_QUERYENDSESSION:
      // Windows is ending the session: the recovery copy holds the last change.
      atelier.session->writeRecoveryCopy();
      return TRUE;

    case WM_DESTROY: PostQuitMessage(0); return 0;

    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool StartAtelier(HINSTANCE instance, const std::wstring& fileToOpen) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  if (!RegisterAtelierClass(instance)) return false;
  atelier = Atelier();
  atelier.instance = instance;
  atelier.host = std::make_unique<Win32Host>(instance);
  atelier.session = std::make_unique<EditorSession>(*atelier.host, MeasurePlayerMetrics());
  app = AppState();
  atelier.accelerators = CreateAccelerators();
  CreateAtelierFont();

  const RECT place = StartingPlace();
  CreateWindowExW(0, WindowClass, L"Ludex Atelier", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, nullptr, CreateMenuBar(), instance, nullptr);
  if (atelier.window == nullptr) return false;
  atelier.host->owner = atelier.window;
  ShowSession();
  ShowWindow(atelier.window, SW_SHOWNORMAL);
  UpdateWindow(atelier.window);
  SetFocus(FieldWindow(QuizField::Title));
  atelier.session->startUp(Utf8FromWide(fileToOpen));
  Settle();
  return true;
}

bool TakeKeyMessage(MSG& message) {
  if (atelier.window == nullptr || (message.hwnd != atelier.window && !IsChild(atelier.window, message.hwnd))) {
    return false;
  }
  return TranslateAcceleratorW(atelier.window, atelier.accelerators, &message) || TakeFieldKey(message) ||
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
  if (atelier.session != nullptr) atelier.session->shutDown();  // as Windows would for a crashed editor: its copy stays
  if (IsWindow(atelier.window)) DestroyWindow(atelier.window);
  // WM_DESTROY posted a quit message that no loop will read when the loop
  // already ended or never ran (tests): take it back.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  EndFields();
  if (atelier.font != nullptr) DeleteObject(atelier.font);
  if (atelier.accelerators != nullptr) DestroyAcceleratorTable(atelier.accelerators);
  UnregisterClassW(WindowClass, atelier.instance);
  atelier.session.reset();
  atelier.host.reset();  // the last try closed, its folder removed
  atelier = Atelier();
  app = AppState();
}

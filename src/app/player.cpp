// Start-up, message loop and teardown of the player.
#include "app.h"
#include "header_panel.h"
#include "layout.h"
#include "question_panel.h"

namespace {

const char MainWindowClass[] = "WindowsApp";
HINSTANCE playerInstance = nullptr;

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  windowClass.hIconSm = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1));
  windowClass.lpszClassName = MainWindowClass;
  return RegisterClassExA(&windowClass) != 0;
}

void CentreOnDesktop(HWND window) {
  RECT desktop;
  RECT own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(window, &own);
  ScreenPoint corner = CentreInArea(desktop.left, desktop.top, desktop.right - desktop.left,
                                    desktop.bottom - desktop.top, own.right - own.left, own.bottom - own.top);
  SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

bool StartPlayer(HINSTANCE instance, void (*fillQuiz)(Quiz*)) {
  if (!RegisterMainWindowClass(instance)) return false;
  playerInstance = instance;
  creditLabelBrush = CreateSolidBrush(RGB(212, 208, 200));
  currentQuiz = new Quiz();
  fillQuiz(currentQuiz);  // failures are told in message boxes; the windows open all the same

  mainWindow = CreateWindowExA(0, MainWindowClass, currentQuiz->title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, MainWindowWidth, MainWindowHeight, nullptr, nullptr, instance, nullptr);
  CentreOnDesktop(mainWindow);

  headerPanelWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_HEADER_PANEL), mainWindow, HeaderPanelProc, 0);
  ShowWindow(headerPanelWindow, SW_SHOWNORMAL);
  currentQuiz->headerPanel = headerPanelWindow;

  questionPanelWindow =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_QUESTION_PANEL), mainWindow, QuestionPanelProc, 0);

  // The first size notification comes with the first showing, once both
  // panels exist: that is their first layout.
  ShowWindow(mainWindow, SW_SHOWNORMAL);
  ShowWindow(questionPanelWindow, SW_SHOWNORMAL);
  SendMessageA(questionPanelWindow, WM_VSCROLL, SB_TOP, 0);
  return true;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The answer fields get Tab and Enter navigation from the dialog manager.
    if (!IsDialogMessageA(questionPanelWindow, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

void EndPlayer() {
  EndDialog(questionPanelWindow, 0);
  DestroyWindow(headerPanelWindow);
  // The main window goes before the quiz: its children may still judge an
  // answer field as they lose the focus. Its WM_DESTROY posts a quit message
  // that no loop will read; take it back so the thread's queue ends clean.
  DestroyWindow(mainWindow);
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  DeleteObject(creditLabelBrush);
  delete currentQuiz;
  currentQuiz = nullptr;
  creditLabelBrush = nullptr;
  headerPanelWindow = nullptr;
  questionPanelWindow = nullptr;
  mainWindow = nullptr;
  UnregisterClassA(MainWindowClass, playerInstance);
}

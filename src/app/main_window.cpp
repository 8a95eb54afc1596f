// The main window: the credit label, the layout of the two panels, the wheel,
// and the end of the program.
#include "answers_file_win32.h"
#include "app.h"
#include "header_panel.h"
#include "layout.h"
#include "row_layout.h"

namespace {

void PlaceWindow(HWND window, const PanelRect& place, HWND insertAfter, UINT flags) {
  SetWindowPos(window, insertAfter, place.x, place.y, place.width, place.height, flags);
}

void LayOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  MainLayout layout = LayoutMainWindow(client.right, client.bottom);
  PlaceWindow(questionPanelWindow, layout.questionPanel, nullptr, SWP_NOZORDER);
  PlaceWindow(headerPanelWindow, layout.headerPanel, nullptr, SWP_NOZORDER);
  HWND creditLabel = GetDlgItem(window, IDC_CREDIT_LABEL);
  PlaceWindow(creditLabel, layout.creditLabel, HWND_TOP, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  RepaintWhereParentErases(creditLabel);
}

}  // namespace

void AddCreditLabel(HWND parent, const char* text, int x, int y, int width, int height, int id) {
  HWND label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void ForwardWheel(HWND questionPanel, WPARAM wParam, LPARAM) {
  int code = WheelRequestCode(HIWORD(wParam));
  if (code >= 0) PostMessageA(questionPanel, WM_VSCROLL, static_cast<WPARAM>(code), 0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      RECT client;
      GetClientRect(window, &client);
      AddCreditLabel(window, "Réalisé avec la version 2.1.3  ", 725, client.bottom - 16, 130, 15, IDC_CREDIT_LABEL);
      SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(nullptr, MAKEINTRESOURCEA(32514))));
      return 0;
    }

    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) LayOut(window);
      return 0;

    case WM_CLOSE:
      SaveAnswers(questionPanelWindow);
      DeleteFileA("ludex.mp3");
      PostQuitMessage(0);
      return 0;

    case WM_ENDSESSION:
      // Windows is shutting down: no WM_CLOSE will come, so save now.
      if (wParam) SaveAnswers(questionPanelWindow);
      return 0;

    case WM_DESTROY: PostQuitMessage(0); return 0;

    case WM_CTLCOLORSTATIC:
      if (GetWindowLongPtrA(reinterpret_cast<HWND>(lParam), GWLP_ID) == IDC_CREDIT_LABEL) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        // The text is drawn straight on the label's fill, whatever the system's
        // text background colour.
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(creditLabelBrush);
      }
      return 0;

    case WM_MOUSEWHEEL: ForwardWheel(questionPanelWindow, wParam, lParam); return 0;

    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

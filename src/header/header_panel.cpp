#include "header_panel.h"

#include "header_layout.h"
#include "quiz.h"

const char webSiteAddress[] = "www.ludex.fr";

namespace {

// One panel per process: its background, behind its static texts too.
HBRUSH panelBrush = nullptr;

HWND AddControl(HWND panel, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                int id) {
  return CreateWindowExA(0, className, text, style, x, y, width, height, panel,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void SetFont(HWND control, HGDIOBJ font, BOOL redraw) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void CreateControls(HWND panel) {
  const Quiz& quiz = *currentQuiz;
  HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
  const DWORD plain = WS_CHILD | WS_VISIBLE;

  HWND link = AddControl(panel, "Static", webSiteAddress, plain | SS_NOTIFY, 736, 5, 115, 18, IDC_WEB_LINK);
  SetLinkStyle(link);
  SetFont(AddControl(panel, "Static", "Par :", plain, 736, 25, 27, 18, IDC_BY_LABEL), guiFont, TRUE);
  SetFont(AddControl(panel, "Static", quiz.author, plain, 763, 25, 85, 18, IDC_AUTHOR), guiFont, TRUE);
  SetFont(AddControl(panel, "button", "Sauver", plain, 666, 25, 55, 18, IDC_SAVE_BUTTON), guiFont, TRUE);
  SetFont(AddControl(panel, "Static", quiz.explanation, plain, 110, 19, 490, 27, IDC_EXPLANATION), guiFont, TRUE);
  SetFont(AddControl(panel, "Static", quiz.title, plain, TitleLabelX, TitleLabelY, TitleLabelWidth, TitleLabelHeight,
                     IDC_TITLE),
          quiz.titleFont, FALSE);
  SetFont(AddControl(panel, "Static", " Code :", plain, 7, 29, 36, 15, IDC_CODE_LABEL), guiFont, TRUE);

  char score[64];
  wsprintfA(score, " 0 / %d", quiz.questionCount);
  SetFont(AddControl(panel, "Static", score, plain | SS_CENTER, 10, 1, 80, 20, IDC_SCORE), quiz.scoreFont, FALSE);
  SetFont(AddControl(panel, "edit", "", plain | ES_READONLY, ScoreCodeFieldX, ScoreCodeFieldY, ScoreCodeFieldWidth,
                     ScoreCodeFieldHeight, IDC_SCORE_CODE),
          guiFont, TRUE);

  AddControl(panel, "Static", "", plain | WS_BORDER, 0, 26, 100, 1, IDC_SEPARATOR_SCORE);
  AddControl(panel, "Static", "", plain | WS_BORDER, 100, 0, 1, 50, IDC_SEPARATOR_LEFT);
  AddControl(panel, "Static", "", plain | WS_BORDER, 730, 0, 1, 50, IDC_SEPARATOR_RIGHT);
}

void PlaceControls(HWND panel) {
  RECT client;
  GetClientRect(panel, &client);
  HeaderPlace places[HeaderPlaceCount];
  LayoutHeader(client.right, places);
  for (const HeaderPlace& place : places) {
    HWND control = GetDlgItem(panel, place.id);
    SetWindowPos(control, HWND_TOP, place.x, place.y, place.width, place.height, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (place.repaint) InvalidateRect(control, nullptr, FALSE);
    RepaintWhereParentErases(control);
  }
}

void DeletePanelBrush() {
  if (panelBrush != nullptr) {
    DeleteObject(panelBrush);
    panelBrush = nullptr;
  }
}

}  // namespace

void RepaintWhereParentErases(HWND child) {
  HWND parent = GetParent(child);
  HRGN pending = CreateRectRgn(0, 0, 0, 0);
  if (GetUpdateRgn(parent, pending, FALSE) > NULLREGION) {
    // From the parent's client coordinates to the child's; the frame counts too.
    POINT origin = {0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    OffsetRgn(pending, -origin.x, -origin.y);
    RedrawWindow(child, nullptr, pending, RDW_INVALIDATE | RDW_FRAME);
  }
  DeleteObject(pending);
}

void SetLinkStyle(HWND control) {
  LOGFONTA font = {};
  RECT client;
  GetClientRect(control, &client);
  font.lfHeight = -((client.bottom - client.top) * 3 / 4);
  font.lfWeight = FW_NORMAL;
  font.lfUnderline = TRUE;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectA(&font)), FALSE);
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
  SetClassLongPtrA(control, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(hand));
}

INT_PTR CALLBACK HeaderPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateControls(window);
      DeletePanelBrush();  // a second panel in the same process starts afresh
      panelBrush = CreateSolidBrush(RGB(128, 128, 255));
      return TRUE;

    case WM_COMMAND:
      // Only a click on the link: identifier 24 with notification code 0.
      if (wParam == IDC_WEB_LINK) {
        ShellExecuteA(nullptr, "open", webSiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
      }
      return FALSE;

    case WM_SIZE: PlaceControls(window); return FALSE;

    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      LONG_PTR id = GetWindowLongPtrA(reinterpret_cast<HWND>(lParam), GWLP_ID);
      if (id == IDC_WEB_LINK) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(50, 50, 255));
        return reinterpret_cast<INT_PTR>(panelBrush);
      }
      if (id >= 20 && id <= 32) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(panelBrush);
      }
      return FALSE;  // the separator lines keep the default colours
    }

    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(panelBrush);

    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY: DeletePanelBrush(); return FALSE;

    default: return FALSE;
  }
}

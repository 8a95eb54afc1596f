// The player's fonts and controls as this system makes them: the widths of
// each character in the GUI font and the title's font, and the room the
// score-code field and a bordered label give their text, read from real
// controls of the player's styles and sizes.
#include <windows.h>

#include "header_layout.h"
#include "player_fonts.h"
#include "quiz_fit.h"
#include "row_layout.h"

namespace {

FontMetrics Measure(HDC dc, HFONT font) {
  FontMetrics metrics = {};
  HGDIOBJ previous = SelectObject(dc, font);
  for (int byte = 0; byte < 256; ++byte) {
    const char character = static_cast<char>(byte);
    SIZE size = {};
    GetTextExtentPoint32A(dc, &character, 1, &size);
    metrics.widths[byte] = static_cast<uint8_t>(size.cx < 0 ? 0 : size.cx > 255 ? 255 : size.cx);
  }
  TEXTMETRICA text = {};
  GetTextMetricsA(dc, &text);
  metrics.lineHeight = text.tmHeight;
  SelectObject(dc, previous);
  return metrics;
}

// The width a control of this class, style and size keeps from its text.
int Inset(const char* className, DWORD style, int width, int height, HFONT font, bool edit) {
  HWND control = CreateWindowExA(0, className, "", WS_POPUP | style, 0, 0, width, height, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  if (control == nullptr) return 0;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  RECT room = {};
  if (edit) {
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
  } else {
    GetClientRect(control, &room);
  }
  DestroyWindow(control);
  return width - (room.right - room.left);
}

}  // namespace

PlayerMetrics MeasurePlayerMetrics() {
  PlayerMetrics metrics = ConservativeMetrics();
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return metrics;
  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA spec = {};
  spec.lfHeight = TitleFontSpec.height;
  spec.lfWeight = TitleFontSpec.weight;
  spec.lfItalic = TitleFontSpec.italic ? 1 : 0;
  HFONT title = CreateFontIndirectA(&spec);
  metrics.labels = Measure(dc, gui);
  if (title != nullptr) metrics.title = Measure(dc, title);
  DeleteDC(dc);
  if (title != nullptr) DeleteObject(title);
  metrics.codeInset = Inset("Edit", ES_READONLY, ScoreCodeFieldWidth, ScoreCodeFieldHeight, gui, true);
  metrics.borderInset = Inset("Static", WS_BORDER, QuestionLabelWidth, RowHeight(1), gui, false);
  return metrics;
}

#include "support/message_box_watch.h"

#include <windows.h>

namespace {

// The static control that holds a message box's text.
constexpr int MessageBoxTextId = 0xFFFF;

HHOOK activeHook = nullptr;
std::vector<SeenMessageBox>* activeList = nullptr;

LRESULT CALLBACK WatchProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activeList != nullptr) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char className[32] = {};
    GetClassNameA(box, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0) {
      SeenMessageBox seen;
      char buffer[1024] = {};
      GetWindowTextA(box, buffer, sizeof buffer);
      seen.caption = buffer;
      buffer[0] = 0;
      GetDlgItemTextA(box, MessageBoxTextId, buffer, sizeof buffer);
      seen.text = buffer;
      activeList->push_back(seen);
      // A box with only OK ends on WM_CLOSE as if OK had been pressed.
      PostMessageA(box, WM_CLOSE, 0, 0);
    }
  }
  return CallNextHookEx(activeHook, code, wParam, lParam);
}

}  // namespace

static std::vector<SeenMessageBox> seenBoxes;

MessageBoxWatch::MessageBoxWatch() {
  seenBoxes.clear();
  activeList = &seenBoxes;
  activeHook = SetWindowsHookExA(WH_CBT, WatchProc, nullptr, GetCurrentThreadId());
}

MessageBoxWatch::~MessageBoxWatch() {
  if (activeHook != nullptr) UnhookWindowsHookEx(activeHook);
  activeHook = nullptr;
  activeList = nullptr;
}

const std::vector<SeenMessageBox>& MessageBoxWatch::seen() const { return seenBoxes; }

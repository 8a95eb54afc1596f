// What every part of the window builds with: the one Atelier of the
// process, its controls in the system's message font, and the identifiers
// and keys of the commands of the session's table.
#include <windows.h>

#include "atelier.h"

Atelier atelier;

HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD extendedStyle) {
  HWND control =
      CreateWindowExW(extendedStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, atelier.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), atelier.instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(atelier.font), FALSE);
  return control;
}

int CommandId(Command command) { return IDM_COMMAND_BASE + static_cast<int>(command); }

bool CommandOfId(int id, Command& command) {
  if (id < IDM_COMMAND_BASE || id >= IDM_COMMAND_BASE + CommandCount) return false;
  command = static_cast<Command>(id - IDM_COMMAND_BASE);
  return true;
}

UINT VirtualKey(Key key) {
  switch (key) {
    case Key::A: return 'A';
    case Key::D: return 'D';
    case Key::N: return 'N';
    case Key::O: return 'O';
    case Key::P: return 'P';
    case Key::S: return 'S';
    case Key::V: return 'V';
    case Key::Y: return 'Y';
    case Key::Z: return 'Z';
    case Key::Insert: return VK_INSERT;
    case Key::Delete: return VK_DELETE;
    case Key::Up: return VK_UP;
    case Key::Down: return VK_DOWN;
    case Key::F4: return VK_F4;
    case Key::F5: return VK_F5;
    case Key::F7: return VK_F7;
    case Key::F8: return VK_F8;
    case Key::None: break;
  }
  return 0;
}

bool ShortcutHeld(const Shortcut& shortcut, UINT virtualKey) {
  const auto held = [](int key) { return GetKeyState(key) < 0; };
  return shortcut.key != Key::None && VirtualKey(shortcut.key) == virtualKey && held(VK_CONTROL) == shortcut.control &&
         held(VK_SHIFT) == shortcut.shift && held(VK_MENU) == shortcut.alt;
}

#include "support/dialog_answers.h"

#include <colordlg.h>
#include <dlgs.h>

#include <algorithm>

namespace {

HHOOK hook = nullptr;
std::vector<DialogAnswer> planned;
std::vector<SeenDialog> seenDialogs;
std::vector<SeenDialog> unexpectedDialogs;
std::vector<HWND> handled;
std::vector<std::pair<HWND, DialogAnswer>> pending;

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = L"";
  GetWindowTextW(window, text, 2048);
  return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM list) {
  wchar_t name[16] = L"";
  GetClassNameW(child, name, 16);
  const std::wstring text = TextOf(child);
  if (lstrcmpiW(name, L"Static") == 0 && !text.empty()) *reinterpret_cast<std::wstring*>(list) += text + L"\n";
  return TRUE;
}

// The file name field of a file dialog: a combo box in the Explorer style, an edit in the older one.
HWND FileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

void Act(HWND dialog, const DialogAnswer& answer) {
  if (!answer.fileName.empty()) SetWindowTextW(FileNameField(dialog), answer.fileName.c_str());
  if (answer.colour != CLR_INVALID) {
    const int parts[] = {GetRValue(answer.colour), GetGValue(answer.colour), GetBValue(answer.colour)};
    const int fields[] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
    for (int k = 0; k < 3; ++k) SetDlgItemInt(dialog, fields[k], static_cast<UINT>(parts[k]), FALSE);
  }
  // A box with only OK takes OK for a cancel.
  const int id = answer.button == IDCANCEL && GetDlgItem(dialog, IDCANCEL) == nullptr ? IDOK : answer.button;
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr && IsWindowEnabled(button)) {
    SendMessageW(button, BM_CLICK, 0, 0);
  } else {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
}

void CALLBACK ActLater(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  std::vector<std::pair<HWND, DialogAnswer>> now;
  now.swap(pending);
  for (const auto& [dialog, answer] : now)
    if (IsWindow(dialog)) Act(dialog, answer);
}

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
  HWND dialog = reinterpret_cast<HWND>(wParam);
  wchar_t name[16] = L"";
  if (code == HCBT_ACTIVATE && GetClassNameW(dialog, name, 16) && lstrcmpW(name, L"#32770") == 0 &&
      std::find(handled.begin(), handled.end(), dialog) == handled.end()) {
    handled.push_back(dialog);
    SeenDialog seen;
    seen.caption = TextOf(dialog);
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&seen.text));
    if (FileNameField(dialog) != nullptr) seen.proposed = TextOf(FileNameField(dialog));
    seenDialogs.push_back(seen);
    DialogAnswer answer = Press(IDCANCEL);
    if (!planned.empty()) {
      answer = planned.front();
      planned.erase(planned.begin());
    } else {
      unexpectedDialogs.push_back(seen);
    }
    // The dialog is still being shown: act once its own loop runs.
    pending.emplace_back(dialog, answer);
    SetTimer(nullptr, 0, 20, ActLater);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

DialogAnswer Press(int button) { return {button, L"", CLR_INVALID}; }
DialogAnswer FileName(const std::wstring& path) { return {IDOK, path, CLR_INVALID}; }
DialogAnswer Colour(COLORREF colour) { return {IDOK, L"", colour}; }

DialogAnswers::DialogAnswers() {
  planned.clear();
  seenDialogs.clear();
  unexpectedDialogs.clear();
  handled.clear();
  pending.clear();
  hook = SetWindowsHookExW(WH_CBT, Watch, nullptr, GetCurrentThreadId());
}

void DialogAnswers::plan(std::vector<DialogAnswer> answers) {
  planned = std::move(answers);
  seenDialogs.clear();
}

DialogAnswers::~DialogAnswers() {
  UnhookWindowsHookEx(hook);
  hook = nullptr;
}

const std::vector<SeenDialog>& DialogAnswers::seen() const { return seenDialogs; }
const std::vector<SeenDialog>& DialogAnswers::unexpected() const { return unexpectedDialogs; }

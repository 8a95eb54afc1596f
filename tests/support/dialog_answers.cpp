#include "support/dialog_answers.h"

#include <colordlg.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>

namespace {

HHOOK hook = nullptr;
std::vector<DialogAnswer> planned;
std::vector<SeenDialog> seenDialogs;
std::vector<SeenDialog> unexpectedDialogs;
std::vector<HWND> handled;
struct Pending {
  HWND dialog;
  DialogAnswer answer;
  size_t seen;  // its place in seenDialogs
};
std::vector<Pending> pending;

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = L"";
  GetWindowTextW(window, text, 2048);
  return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM list) {
  wchar_t name[16] = L"";
  GetClassNameW(child, name, 16);
  const std::wstring text = TextOf(child);
  const bool shown = lstrcmpiW(name, L"Static") == 0 || lstrcmpiW(name, L"Edit") == 0;
  if (shown && !text.empty()) *reinterpret_cast<std::wstring*>(list) += text + L"\n";
  return TRUE;
}

// The file name field of a file dialog: a combo box in the Explorer style, an edit in the older one.
HWND FileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

void Act(HWND dialog, const DialogAnswer& answer, size_t seen) {
  wchar_t folder[MAX_PATH] = L"";
  if (FileNameField(dialog) != nullptr && seen < seenDialogs.size() &&
      SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0) {
    seenDialogs[seen].folder = folder;
  }
  if (answer.act) answer.act(dialog);
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
  std::vector<Pending> now;
  now.swap(pending);
  for (const Pending& p : now)
    if (IsWindow(p.dialog)) Act(p.dialog, p.answer, p.seen);
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
    pending.push_back({dialog, answer, seenDialogs.size() - 1});
    SetTimer(nullptr, 0, 20, ActLater);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

DialogAnswer Press(int button) { return {button, L"", CLR_INVALID, nullptr}; }
DialogAnswer FileName(const std::wstring& path) { return {IDOK, path, CLR_INVALID, nullptr}; }
DialogAnswer Colour(COLORREF colour) { return {IDOK, L"", colour, nullptr}; }
DialogAnswer Then(std::function<void(HWND dialog)> act, int button) { return {button, L"", CLR_INVALID, act}; }

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

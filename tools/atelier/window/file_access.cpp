#include "file_access.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "file_replacement.h"

std::wstring SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text != nullptr ? text : L"";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return (message.empty() ? L"" : message + L" ") + L"(" + std::to_wstring(code) + L")";
}

ReadResult ReadFileBytes(const std::wstring& path, size_t limit, std::string& bytes, std::wstring& error) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = SystemErrorText(GetLastError());
    return ReadResult::Failed;
  }
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  ReadResult result = ReadResult::Read;
  if (static_cast<uint64_t>(size.QuadPart) > limit) {
    result = ReadResult::TooLarge;
  } else {
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !(ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size())) {
      error = SystemErrorText(GetLastError());
      result = ReadResult::Failed;
    }
  }
  CloseHandle(file);
  return result;
}

bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::wstring& error) {
  if (ReplaceFileContent(path, bytes.data(), bytes.size())) return true;
  error = SystemErrorText(GetLastError());
  return false;
}

HANDLE HoldLock(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

void ReleaseLock(HANDLE& lock) {
  if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
  lock = INVALID_HANDLE_VALUE;
}

bool LockHeld(const std::wstring& path) {
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (lock != INVALID_HANDLE_VALUE) {
    CloseHandle(lock);  // left by nobody: it goes
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

std::wstring DocumentsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  if (SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, folder) != S_OK) return L"";
  return folder;
}

bool AskFileName(HWND owner, bool save, const std::wstring& title, const std::wstring& filter,
                 const std::wstring& extension, const std::wstring& folder, std::wstring& path) {
  std::vector<wchar_t> buffer(32768, L'\0');
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring proposed = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::wstring start = slash != std::wstring::npos ? path.substr(0, slash) : folder;
  lstrcpynW(buffer.data(), proposed.c_str(), static_cast<int>(buffer.size()));
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
  path = buffer.data();
  return true;
}

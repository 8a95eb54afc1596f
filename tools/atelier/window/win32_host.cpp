#include "win32_host.h"

#include <shellapi.h>

#include "atelier_resource.h"
#include "file_access.h"
#include "page_template.h"
#include "wide_text.h"

namespace {

const wchar_t TriesPrefix[] = L"ludex-atelier-";
const wchar_t TriesLock[] = L"\\verrou";
const int MaxLeftTries = 50;

std::string Utf8Error(const std::wstring& error) { return Utf8FromWide(error); }

void RemoveFolder(const std::wstring& folder, int depth) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (depth > 0) RemoveFolder(path, depth - 1);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

// Tries' folders of editors that stopped without removing theirs (their
// lock held by no running editor): removed, as far as no try still runs there.
void RemoveLeftTries(const std::wstring& temporary) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temporary + TriesPrefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  int seen = 0;
  do {
    const std::wstring folder = temporary + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !LockHeld(folder + TriesLock)) RemoveFolder(folder, 1);
  } while (++seen < MaxLeftTries && FindNextFileW(search, &found));
  FindClose(search);
}

// The try still open when the editor closes is closed too (the player saves
// its answers on the way), so that its folder can go.
void CloseTry(const PROCESS_INFORMATION& process) {
  if (process.hProcess == nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return;
  WaitForInputIdle(process.hProcess, 5000);  // its window is up
  EnumWindows(
      [](HWND window, LPARAM id) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == static_cast<DWORD>(id)) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      static_cast<LPARAM>(process.dwProcessId));
  WaitForSingleObject(process.hProcess, 5000);
}

void CloseHandles(PROCESS_INFORMATION& process) {
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  process = PROCESS_INFORMATION();
}

bool OpenInBrowser(const std::wstring& path) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace

Win32Host::Win32Host(HINSTANCE instance) : openPageWith(OpenInBrowser), instance_(instance) {
  wchar_t temporary[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temporary);
  RemoveLeftTries(temporary);
  triesFolder_ = std::wstring(temporary) + TriesPrefix + std::to_wstring(GetCurrentProcessId());
}

Win32Host::~Win32Host() {
  CloseTry(tryProcess_);
  CloseHandles(tryProcess_);
  ReleaseLock(triesLock_);
  RemoveFolder(triesFolder_, 1);
  for (auto& [path, lock] : locks_) ReleaseLock(lock);
}

ReadResult Win32Host::readFile(const std::string& path, size_t limit, std::string& bytes, std::string& error) {
  std::wstring failure;
  const ReadResult result = ReadFileBytes(WideFromUtf8(path), limit, bytes, failure);
  error = Utf8Error(failure);
  return result;
}

bool Win32Host::writeFile(const std::string& path, const std::string& bytes, std::string& error) {
  std::wstring failure;
  const bool written = WriteFileSafely(WideFromUtf8(path), bytes, failure);
  error = Utf8Error(failure);
  return written;
}

FileStamp Win32Host::stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data)) return {};
  return {true, (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime};
}

void Win32Host::removeFile(const std::string& path) { DeleteFileW(WideFromUtf8(path).c_str()); }

void Win32Host::makeFolder(const std::string& path) { CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr); }

std::vector<std::string> Win32Host::filesIn(const std::string& folder, const std::string& prefix,
                                            const std::string& suffix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(WideFromUtf8(folder + "\\" + prefix + "*" + suffix).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Utf8FromWide(found.cFileName));
  } while (names.size() < 100 && FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::string Win32Host::fullPath(const std::string& path) {
  wchar_t full[MAX_PATH * 4] = L"";
  const DWORD length = GetFullPathNameW(WideFromUtf8(path).c_str(), MAX_PATH * 4, full, nullptr);
  return length > 0 && length < MAX_PATH * 4 ? Utf8FromWide(full) : path;
}

bool Win32Host::sameFile(const std::string& a, const std::string& b) {
  return lstrcmpiW(WideFromUtf8(fullPath(a)).c_str(), WideFromUtf8(fullPath(b)).c_str()) == 0;
}

bool Win32Host::holdLock(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  if (locks_.count(wide) > 0) return true;
  HANDLE lock = HoldLock(wide);
  if (lock == INVALID_HANDLE_VALUE) return false;
  locks_[wide] = lock;
  return true;
}

void Win32Host::releaseLock(const std::string& path) {
  const auto found = locks_.find(WideFromUtf8(path));
  if (found == locks_.end()) return;
  ReleaseLock(found->second);
  locks_.erase(found);
}

bool Win32Host::lockHeld(const std::string& path) { return LockHeld(WideFromUtf8(path)); }

// %APPDATA%\Ludex, or a folder of %TEMP% where there is no %APPDATA%.
std::string Win32Host::settingsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return Utf8FromWide(std::wstring(folder) + L"\\Ludex");
  GetTempPathW(MAX_PATH, folder);
  return Utf8FromWide(std::wstring(folder) + L"Ludex");
}

std::string Win32Host::documentsFolder() { return Utf8FromWide(DocumentsFolder()); }

uint32_t Win32Host::editorNumber() { return GetCurrentProcessId(); }

// The player carried inside the editor: the stripped ludex.exe of the same build.
bool Win32Host::playerImage(Bytes& image) {
  HRSRC found = FindResourceW(instance_, MAKEINTRESOURCEW(IDR_PLAYER), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found != nullptr ? LoadResource(instance_, found) : nullptr;
  const uint8_t* bytes = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return false;
  image.assign(bytes, bytes + SizeofResource(instance_, found));
  return true;
}

std::string Win32Host::pageTemplate() { return BuiltPageTemplate(); }

bool Win32Host::openPage(const std::string& path) { return openPageWith(WideFromUtf8(path)); }

// Each try gets a folder of its own, which is also the player's current
// folder: the answers file of the try lands there, never beside the source.
bool Win32Host::startTry(const Bytes& program, std::string& error) {
  CreateDirectoryW(triesFolder_.c_str(), nullptr);
  if (triesLock_ == INVALID_HANDLE_VALUE) triesLock_ = HoldLock(triesFolder_ + TriesLock);
  const std::wstring folder = triesFolder_ + L"\\essai-" + std::to_wstring(++tries_);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\essai.exe";  // a plain name: the try's answers file is essai.txt, there
  std::wstring failure;
  if (!WriteFileSafely(path, std::string(program.begin(), program.end()), failure)) {
    error = Utf8Error(failure);
    return false;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    error = Utf8Error(SystemErrorText(GetLastError()));
    return false;
  }
  CloseHandles(tryProcess_);
  tryProcess_ = process;
  return true;
}

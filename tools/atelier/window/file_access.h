// The editor's files on disk, by UTF-16 path: reading one whole (bounded),
// writing one through the one saving mechanism of every program
// (file_replacement.h), the names of paths, and the Open and Save dialogs.
#pragma once
#include <windows.h>

#include <string>

// A Windows error as a sentence, with its number.
std::wstring SystemErrorText(DWORD code);

bool FileExists(const std::wstring& path);
bool SamePath(const std::wstring& a, const std::wstring& b);  // as Windows compares them, without case
std::wstring FileNameOf(const std::wstring& path);
std::wstring FolderOf(const std::wstring& path);  // empty for a bare name

// Reads a whole file of at most limit bytes; error says why it could not.
bool ReadFileBytes(const std::wstring& path, size_t limit, std::string& bytes, std::wstring& error);

// Writes a whole file through a temporary beside it that then takes its
// place, keeping the old file's hidden and archive attributes; in place only
// when no temporary can be made. error says why it could not.
bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::wstring& error);

// A lock file that this process alone holds open: it goes when the handle
// closes, which Windows does for a process that crashes too.
// INVALID_HANDLE_VALUE when another process holds it or it cannot be made.
HANDLE HoldLock(const std::wstring& path);
void ReleaseLock(HANDLE& lock);           // and removes it
bool LockHeld(const std::wstring& path);  // by another process, now

// The user's Documents folder: where the dialogs open when no other folder is known.
std::wstring DocumentsFolder();

// The Open (save false) or Save dialog. path: the name proposed, in its
// folder when it has one (else in Documents), then the one chosen.
bool AskFileName(HWND owner, bool save, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                 std::wstring& path);

// The editor's files on disk, by UTF-16 path: reading one whole (bounded),
// writing one through the one saving mechanism of every program
// (file_replacement.h), lock files, and the Open and Save dialogs. Errors
// are the system's own words with their number.
#pragma once
#include <windows.h>

#include <string>

#include "editor_host.h"

// A Windows error as the system words it, with its number: "Accès refusé. (5)".
std::wstring SystemErrorText(DWORD code);

// Reads a whole file of at most limit bytes; error says why it could not.
ReadResult ReadFileBytes(const std::wstring& path, size_t limit, std::string& bytes, std::wstring& error);

// Writes a whole file through a temporary beside it that then takes its
// place, keeping the old file's hidden and archive attributes; in place only
// when no temporary can be made. error says why it could not.
bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::wstring& error);

// A lock file that this process alone holds open: it goes when the handle
// closes, which Windows does for a process that crashes too.
// INVALID_HANDLE_VALUE when another process holds it or it cannot be made.
HANDLE HoldLock(const std::wstring& path);
void ReleaseLock(HANDLE& lock);           // and removes it
bool LockHeld(const std::wstring& path);  // by a process, this one included

// The user's Documents folder: where the dialogs open when no other folder is known.
std::wstring DocumentsFolder();

// The Open (save false) or Save dialog. path: the name proposed, in its
// folder when it has one, else in folder (else Documents); then the one chosen.
// filter: pairs of a label and its patterns, each ended by a zero, then a zero.
bool AskFileName(HWND owner, bool save, const std::wstring& title, const std::wstring& filter,
                 const std::wstring& extension, const std::wstring& folder, std::wstring& path);

// The Win32 implementation: the temporary replaces the target with
// MoveFileExA, written through to the disk before the call returns.
#include <windows.h>

#include "file_replacement.h"

namespace {

constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;

HANDLE Handle(const FileReplacement& replacement) {
  return replacement.file ? static_cast<HANDLE>(replacement.file) : INVALID_HANDLE_VALUE;
}

// A file created over a hidden one must say hidden too, or CREATE_ALWAYS is
// refused; the attributes come out as the target had them.
HANDLE CreateForWriting(const std::string& name, DWORD attributes) {
  return CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                     attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Removes the temporary without losing the error that made us give it up.
void RemoveTemporary(const FileReplacement& replacement) {
  const DWORD error = GetLastError();
  DeleteFileA(replacement.temporary.c_str());
  SetLastError(error);
}

}  // namespace

bool BeginFileReplacement(FileReplacement& replacement, const std::string& target, NoTemporary whenNoTemporary) {
  replacement = FileReplacement();
  replacement.target = target;
  replacement.temporary = target + ".tmp";
  const DWORD attributes = GetFileAttributesA(target.c_str());
  replacement.targetExisted = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacement.targetExisted) replacement.keptAttributes = attributes & KeptAttributes;

  // A stale temporary (a crash mid-save) may be hidden or read-only: clear it
  // so that it can be taken over. A folder of that name is left alone.
  const DWORD stale = GetFileAttributesA(replacement.temporary.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES && !(stale & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesA(replacement.temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  HANDLE file = CreateForWriting(replacement.temporary, replacement.keptAttributes);
  if (file == INVALID_HANDLE_VALUE && whenNoTemporary == NoTemporary::WriteInPlace) {
    replacement.inPlace = true;
    file = CreateForWriting(target, replacement.keptAttributes);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  replacement.file = file;
  return true;
}

bool WriteFileReplacement(FileReplacement& replacement, const void* data, size_t size) {
  if (replacement.writeFailed) return false;
  DWORD written = 0;
  if (size > MAXDWORD || Handle(replacement) == INVALID_HANDLE_VALUE ||
      !WriteFile(Handle(replacement), data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
    replacement.writeFailed = true;
  }
  return !replacement.writeFailed;
}

bool CloseFileReplacement(FileReplacement& replacement) {
  if (Handle(replacement) != INVALID_HANDLE_VALUE) {
    if (!FlushFileBuffers(Handle(replacement))) replacement.writeFailed = true;
    CloseHandle(Handle(replacement));
    replacement.file = nullptr;
  }
  return !replacement.writeFailed;
}

bool CommitFileReplacement(FileReplacement& replacement) {
  if (!CloseFileReplacement(replacement)) {
    AbandonFileReplacement(replacement);
    return false;
  }
  if (!replacement.inPlace && !MoveFileExA(replacement.temporary.c_str(), replacement.target.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    RemoveTemporary(replacement);
    return false;
  }
  // A new file may come out with the archive attribute set: give back the target's own.
  if (replacement.targetExisted) {
    SetFileAttributesA(replacement.target.c_str(),
                       replacement.keptAttributes ? replacement.keptAttributes : FILE_ATTRIBUTE_NORMAL);
  }
  return true;
}

void AbandonFileReplacement(FileReplacement& replacement) {
  if (Handle(replacement) != INVALID_HANDLE_VALUE) CloseHandle(Handle(replacement));
  replacement.file = nullptr;
  if (!replacement.inPlace) RemoveTemporary(replacement);
}

// The Win32 implementation: the temporary replaces the target with
// MoveFileEx, written through to the disk before the call returns. One
// algorithm for both kinds of path: the player and ludex-pack name their
// files in the ANSI code page (the A functions), the editor in UTF-16.
#include <windows.h>

#include "file_replacement.h"

namespace {

constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;

// The file functions for one kind of path.
template <typename Char>
struct FileApi;

template <>
struct FileApi<char> {
  static HANDLE Create(const char* name, DWORD attributes) {
    return CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  }
  static DWORD Attributes(const char* name) { return GetFileAttributesA(name); }
  static void SetAttributes(const char* name, DWORD attributes) { SetFileAttributesA(name, attributes); }
  static void Delete(const char* name) { DeleteFileA(name); }
  static BOOL Move(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  static constexpr const char* TemporarySuffix = ".tmp";
};

template <>
struct FileApi<wchar_t> {
  static HANDLE Create(const wchar_t* name, DWORD attributes) {
    return CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  }
  static DWORD Attributes(const wchar_t* name) { return GetFileAttributesW(name); }
  static void SetAttributes(const wchar_t* name, DWORD attributes) { SetFileAttributesW(name, attributes); }
  static void Delete(const wchar_t* name) { DeleteFileW(name); }
  static BOOL Move(const wchar_t* from, const wchar_t* to) {
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  static constexpr const wchar_t* TemporarySuffix = L".tmp";
};

template <typename Char>
HANDLE Handle(const BasicFileReplacement<Char>& replacement) {
  return replacement.file ? static_cast<HANDLE>(replacement.file) : INVALID_HANDLE_VALUE;
}

// A file created over a hidden one must say hidden too, or CREATE_ALWAYS is
// refused; the attributes come out as the target had them.
template <typename Char>
HANDLE CreateForWriting(const std::basic_string<Char>& name, DWORD attributes) {
  return FileApi<Char>::Create(name.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Removes the temporary without losing the error that made us give it up.
template <typename Char>
void RemoveTemporary(const BasicFileReplacement<Char>& replacement) {
  const DWORD error = GetLastError();
  FileApi<Char>::Delete(replacement.temporary.c_str());
  SetLastError(error);
}

template <typename Char>
bool Begin(BasicFileReplacement<Char>& replacement, const std::basic_string<Char>& target,
           NoTemporary whenNoTemporary) {
  using Api = FileApi<Char>;
  replacement = BasicFileReplacement<Char>();
  replacement.target = target;
  replacement.temporary = target + Api::TemporarySuffix;
  const DWORD attributes = Api::Attributes(target.c_str());
  replacement.targetExisted = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacement.targetExisted) replacement.keptAttributes = attributes & KeptAttributes;

  // A stale temporary (a crash mid-save) may be hidden or read-only: clear it
  // so that it can be taken over. A folder of that name is left alone.
  const DWORD stale = Api::Attributes(replacement.temporary.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES && !(stale & FILE_ATTRIBUTE_DIRECTORY)) {
    Api::SetAttributes(replacement.temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
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

template <typename Char>
bool Write(BasicFileReplacement<Char>& replacement, const void* data, size_t size) {
  if (replacement.writeFailed) return false;
  DWORD written = 0;
  if (size > MAXDWORD || Handle(replacement) == INVALID_HANDLE_VALUE ||
      !WriteFile(Handle(replacement), data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
    replacement.writeFailed = true;
  }
  return !replacement.writeFailed;
}

template <typename Char>
bool Close(BasicFileReplacement<Char>& replacement) {
  if (Handle(replacement) != INVALID_HANDLE_VALUE) {
    if (!FlushFileBuffers(Handle(replacement))) replacement.writeFailed = true;
    CloseHandle(Handle(replacement));
    replacement.file = nullptr;
  }
  return !replacement.writeFailed;
}

template <typename Char>
void Abandon(BasicFileReplacement<Char>& replacement) {
  if (Handle(replacement) != INVALID_HANDLE_VALUE) CloseHandle(Handle(replacement));
  replacement.file = nullptr;
  if (!replacement.inPlace) RemoveTemporary(replacement);
}

template <typename Char>
bool Commit(BasicFileReplacement<Char>& replacement) {
  if (!Close(replacement)) {
    Abandon(replacement);
    return false;
  }
  if (!replacement.inPlace && !FileApi<Char>::Move(replacement.temporary.c_str(), replacement.target.c_str())) {
    RemoveTemporary(replacement);
    return false;
  }
  // A new file may come out with the archive attribute set: give back the target's own.
  if (replacement.targetExisted) {
    FileApi<Char>::SetAttributes(replacement.target.c_str(),
                                 replacement.keptAttributes ? replacement.keptAttributes : FILE_ATTRIBUTE_NORMAL);
  }
  return true;
}

template <typename Char>
bool Replace(const std::basic_string<Char>& target, const void* data, size_t size) {
  BasicFileReplacement<Char> replacement;
  if (!Begin(replacement, target, NoTemporary::WriteInPlace)) return false;
  if (!Write(replacement, data, size)) {
    const DWORD error = GetLastError();
    Abandon(replacement);
    SetLastError(error);
    return false;
  }
  return Commit(replacement);
}

}  // namespace

bool BeginFileReplacement(FileReplacement& replacement, const std::string& target, NoTemporary whenNoTemporary) {
  return Begin(replacement, target, whenNoTemporary);
}

bool WriteFileReplacement(FileReplacement& replacement, const void* data, size_t size) {
  return Write(replacement, data, size);
}

bool CloseFileReplacement(FileReplacement& replacement) { return Close(replacement); }

bool CommitFileReplacement(FileReplacement& replacement) { return Commit(replacement); }

void AbandonFileReplacement(FileReplacement& replacement) { Abandon(replacement); }

bool ReplaceFileContent(const std::string& target, const void* data, size_t size) {
  return Replace(target, data, size);
}

bool ReplaceFileContent(const std::wstring& target, const void* data, size_t size) {
  return Replace(target, data, size);
}

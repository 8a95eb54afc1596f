// Writing a file through a temporary beside it that then takes its place, so
// that the file is only ever seen whole: as it was, or as it is now. The one
// way every program here writes a file: the answers file, built quiz
// programs, sources, CSV files, the editor's recovery copies and settings,
// compressed streams. Portable interface; Win32 (MoveFileEx) in Windows
// builds, the C library elsewhere.
#pragma once
#include <cstddef>
#include <string>

// What Begin does when the temporary cannot be created.
enum class NoTemporary {
  GiveUp,        // nothing is written; the target stays as it is
  WriteInPlace,  // write the target itself (emptied first) rather than lose the content
};

// Char is the path's: char for the ANSI code page (or UTF-8 paths of the C
// library), wchar_t for UTF-16 paths on Windows.
template <typename Char>
struct BasicFileReplacement {
  std::basic_string<Char> target;
  std::basic_string<Char> temporary;  // the target's name and ".tmp": one name, so a crash leaves one stale file
  void* file = nullptr;               // the open temporary (or target, in place)
  bool inPlace = false;
  bool writeFailed = false;
  bool targetExisted = false;
  unsigned long keptAttributes = 0;  // Windows: the target's hidden and archive attributes
};
using FileReplacement = BasicFileReplacement<char>;

// Creates the temporary, taking over a stale one. False when neither it nor
// (with WriteInPlace) the target could be opened.
bool BeginFileReplacement(FileReplacement& replacement, const std::string& target,
                          NoTemporary whenNoTemporary = NoTemporary::GiveUp);
bool WriteFileReplacement(FileReplacement& replacement, const void* data, size_t size);
// Flushes and closes what was written: the temporary is then complete and the
// caller may work on it by name before Commit. False when a write failed.
bool CloseFileReplacement(FileReplacement& replacement);
// Closes if still open, then puts the temporary in the target's place; the
// target keeps its hidden and archive attributes. On failure the temporary is
// removed and the target left as it was. In place, it only closes.
bool CommitFileReplacement(FileReplacement& replacement);
// Closes and removes the temporary; the target stays as it was (in place, the
// target holds what was written so far).
void AbandonFileReplacement(FileReplacement& replacement);

// All of it in one call: size bytes of data become the target's content,
// written in place only when no temporary can be made beside it.
bool ReplaceFileContent(const std::string& target, const void* data, size_t size);
#ifdef _WIN32
// The same for a UTF-16 path, as the editor keeps its paths. On failure
// GetLastError says why.
bool ReplaceFileContent(const std::wstring& target, const void* data, size_t size);
#endif

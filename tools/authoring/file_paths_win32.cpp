// Windows: the system makes the full path, and file names ignore case.
#include <windows.h>

#include "file_paths.h"

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return path;
  return full;
}

bool NamesSameFile(const std::string& a, const std::string& b) {
  return lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}

std::string PathInMessage(const std::string& path) { return path; }

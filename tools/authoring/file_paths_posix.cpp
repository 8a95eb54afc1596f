// POSIX systems (Linux, macOS): a path is made absolute from the current
// folder and its "." and ".." resolved by name; two existing names are one
// file when the system says so (links, a folder reached twice, a file system
// that ignores case, as macOS's does by default).
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "cp1252.h"
#include "file_paths.h"

std::string FullPath(const std::string& path) {
  std::string whole = path;
  if (path.empty() || path[0] != '/') {
    std::vector<char> folder(4096);
    if (getcwd(folder.data(), folder.size()) == nullptr) return path;
    whole = std::string(folder.data()) + "/" + path;
  }
  std::vector<std::string> parts;
  for (size_t start = 0; start <= whole.size();) {
    size_t end = whole.find('/', start);
    if (end == std::string::npos) end = whole.size();
    const std::string part = whole.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string full;
  for (const std::string& part : parts) full += "/" + part;
  return full.empty() ? "/" : full;
}

bool NamesSameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  return FullPath(a) == FullPath(b);
}

std::string PathInMessage(const std::string& path) { return Cp1252FromUtf8Lossy(path); }

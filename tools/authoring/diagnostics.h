// Errors and warnings about one input file, each tied to a line (0: the file
// as a whole), printed as "file:line: erreur: message". Messages are
// Windows-1252, like the file name from the command line.
#pragma once
#include <string>
#include <vector>

// Whether any of a list of problems (anything with an isError) is an error.
template <typename Problems>
bool AnyError(const Problems& problems) {
  for (const auto& problem : problems) {
    if (problem.isError) return true;
  }
  return false;
}

struct Diagnostic {
  int line;
  bool isError;
  std::string message;
};

struct Diagnostics {
  std::string fileName;
  std::vector<Diagnostic> items;

  void error(int line, const std::string& message) { items.push_back({line, true, message}); }
  void warning(int line, const std::string& message) { items.push_back({line, false, message}); }
  size_t errorCount() const {
    size_t count = 0;
    for (const Diagnostic& d : items) count += d.isError;
    return count;
  }
  bool hasErrors() const { return AnyError(items); }
  std::string format(const Diagnostic& d) const {
    std::string text = fileName;
    if (d.line > 0) text += ":" + std::to_string(d.line);
    text += d.isError ? ": erreur: " : ": avertissement: ";
    return text + d.message;
  }
};

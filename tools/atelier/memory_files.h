// Files held in memory by path, each with the time of its last change: in a
// browser, the files the author gave and the editor's own files its storage
// kept (browser_host.h); in the session's tests, every file. Paths separate
// their folders with '/'.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor_host.h"

class MemoryFiles {
 public:
  void put(const std::string& path, const std::string& bytes, int64_t time);
  bool has(const std::string& path) const { return files_.count(path) > 0; }
  const std::string& bytes(const std::string& path) const;  // empty when not there
  // As EditorHost::readFile; error "fichier introuvable" when not there.
  ReadResult read(const std::string& path, size_t limit, std::string& bytes, std::string& error) const;
  FileStamp stamp(const std::string& path) const;
  void remove(const std::string& path) { files_.erase(path); }
  // As EditorHost::filesIn: the names in folder itself, at most 100.
  std::vector<std::string> namesIn(const std::string& folder, const std::string& prefix,
                                   const std::string& suffix) const;

 private:
  struct File {
    std::string bytes;
    int64_t time = 0;
  };
  std::map<std::string, File> files_;
};

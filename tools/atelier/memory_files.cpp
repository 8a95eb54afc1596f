#include "memory_files.h"

void MemoryFiles::put(const std::string& path, const std::string& bytes, int64_t time) { files_[path] = {bytes, time}; }

const std::string& MemoryFiles::bytes(const std::string& path) const {
  static const std::string none;
  const auto found = files_.find(path);
  return found == files_.end() ? none : found->second.bytes;
}

ReadResult MemoryFiles::read(const std::string& path, size_t limit, std::string& bytes, std::string& error) const {
  const auto found = files_.find(path);
  if (found == files_.end()) {
    error = "fichier introuvable";
    return ReadResult::Failed;
  }
  if (found->second.bytes.size() > limit) return ReadResult::TooLarge;
  bytes = found->second.bytes;
  return ReadResult::Read;
}

FileStamp MemoryFiles::stamp(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? FileStamp() : FileStamp{true, found->second.time};
}

std::vector<std::string> MemoryFiles::namesIn(const std::string& folder, const std::string& prefix,
                                             const std::string& suffix) const {
  std::vector<std::string> names;
  const std::string start = folder + "/" + prefix;
  for (auto it = files_.lower_bound(start); it != files_.end() && it->first.compare(0, start.size(), start) == 0; ++it) {
    const std::string name = it->first.substr(folder.size() + 1);
    const bool ends = name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (ends && name.find('/') == std::string::npos && names.size() < 100) names.push_back(name);
  }
  return names;
}

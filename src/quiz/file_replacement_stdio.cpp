// The plain implementation, for native builds: rename() replaces the target in
// one step on the systems these builds run on. There are no attributes to keep.
#include <cstdio>

#include "file_replacement.h"

namespace {

std::FILE* File(const FileReplacement& replacement) { return static_cast<std::FILE*>(replacement.file); }

}  // namespace

bool BeginFileReplacement(FileReplacement& replacement, const std::string& target, NoTemporary whenNoTemporary) {
  replacement = FileReplacement();
  replacement.target = target;
  replacement.temporary = target + ".tmp";
  replacement.file = std::fopen(replacement.temporary.c_str(), "wb");
  if (replacement.file == nullptr && whenNoTemporary == NoTemporary::WriteInPlace) {
    replacement.inPlace = true;
    replacement.file = std::fopen(target.c_str(), "wb");
  }
  return replacement.file != nullptr;
}

bool WriteFileReplacement(FileReplacement& replacement, const void* data, size_t size) {
  if (replacement.writeFailed) return false;
  if (File(replacement) == nullptr || (size > 0 && std::fwrite(data, 1, size, File(replacement)) != size)) {
    replacement.writeFailed = true;
  }
  return !replacement.writeFailed;
}

bool CloseFileReplacement(FileReplacement& replacement) {
  if (File(replacement) != nullptr) {
    if (std::fclose(File(replacement)) != 0) replacement.writeFailed = true;
    replacement.file = nullptr;
  }
  return !replacement.writeFailed;
}

bool CommitFileReplacement(FileReplacement& replacement) {
  if (!CloseFileReplacement(replacement)) {
    AbandonFileReplacement(replacement);
    return false;
  }
  if (replacement.inPlace) return true;
  if (std::rename(replacement.temporary.c_str(), replacement.target.c_str()) != 0) {
    std::remove(replacement.temporary.c_str());
    return false;
  }
  return true;
}

void AbandonFileReplacement(FileReplacement& replacement) {
  if (File(replacement) != nullptr) std::fclose(File(replacement));
  replacement.file = nullptr;
  if (!replacement.inPlace) std::remove(replacement.temporary.c_str());
}

bool ReplaceFileContent(const std::string& target, const void* data, size_t size) {
  FileReplacement replacement;
  if (!BeginFileReplacement(replacement, target, NoTemporary::WriteInPlace)) return false;
  if (!WriteFileReplacement(replacement, data, size)) {
    AbandonFileReplacement(replacement);
    return false;
  }
  return CommitFileReplacement(replacement);
}

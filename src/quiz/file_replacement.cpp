#include "file_replacement.h"

bool ReplaceFileContent(const std::string& target, const void* data, size_t size) {
  FileReplacement replacement;
  if (!BeginFileReplacement(replacement, target)) return false;
  if (!WriteFileReplacement(replacement, data, size)) {
    AbandonFileReplacement(replacement);
    return false;
  }
  return CommitFileReplacement(replacement);
}

#include "recovery.h"

namespace {

const char* const Suffix = ".recup";
const size_t SuffixLength = 6;

bool EndsWithSuffix(const std::string& path) {
  return path.size() > SuffixLength && path.compare(path.size() - SuffixLength, SuffixLength, Suffix) == 0;
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsUnsavedName(const std::string& name) {
  const std::string prefix = "sans-titre-";
  if (name.compare(0, prefix.size(), prefix) != 0 || !EndsWithSuffix(name)) return false;
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - SuffixLength);
  return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
}

// The quiz a source holds, in the writer's form; empty when it does not parse.
std::string Canonical(const std::string& bytes) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  return ParseQuizSource(bytes, quiz, diagnostics) ? WriteQuizSource(quiz, "") : "";
}

}  // namespace

std::string RecoveryPathFor(const std::string& sourcePath) { return sourcePath + Suffix; }

std::string UnsavedRecoveryPath(const std::string& folder, uint32_t instanceId) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path + "sans-titre-" + std::to_string(instanceId) + Suffix;
}

std::string RecoveryPath(const QuizDocument& document, const std::string& unsavedFolder, uint32_t instanceId) {
  return document.path().empty() ? UnsavedRecoveryPath(unsavedFolder, instanceId) : RecoveryPathFor(document.path());
}

bool IsRecoveryPath(const std::string& path) { return EndsWithSuffix(FileName(path)); }

std::string SourcePathOfRecovery(const std::string& recoveryPath) {
  if (!IsRecoveryPath(recoveryPath) || IsUnsavedName(FileName(recoveryPath))) return "";
  return recoveryPath.substr(0, recoveryPath.size() - SuffixLength);
}

std::string RecoveryContent(const QuizDocument& document) { return document.sourceText(); }

RecoveryVerdict JudgeRecovery(const FoundFile& recovery, const FoundFile& source) {
  if (!recovery.exists || recovery.bytes.empty()) return RecoveryVerdict::Discard;
  if (source.exists) {
    if (recovery.bytes == source.bytes) return RecoveryVerdict::Discard;
    // A hand-written source and its copy in the writer's form may hold the same quiz.
    const std::string copy = Canonical(recovery.bytes);
    if (!copy.empty() && copy == Canonical(source.bytes)) return RecoveryVerdict::Discard;
    if (source.modifiedTime > recovery.modifiedTime) return RecoveryVerdict::OfferOlder;
  }
  return RecoveryVerdict::Offer;
}

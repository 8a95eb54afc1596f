#include "recovery.h"

#include <cstring>

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

const char* const UnsavedPrefix = "sans-titre-";

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
  return path + UnsavedPrefix + std::to_string(instanceId) + Suffix;
}

std::string RecoveryPath(const QuizDocument& document, const std::string& unsavedFolder, uint32_t instanceId) {
  return document.path().empty() ? UnsavedRecoveryPath(unsavedFolder, instanceId) : RecoveryPathFor(document.path());
}

bool IsRecoveryPath(const std::string& path) { return EndsWithSuffix(FileName(path)); }

bool UnsavedRecoveryOwner(const std::string& name, uint32_t& instanceId) {
  const size_t prefix = std::strlen(UnsavedPrefix);
  if (name.compare(0, prefix, UnsavedPrefix) != 0 || !EndsWithSuffix(name)) return false;
  const std::string digits = name.substr(prefix, name.size() - prefix - SuffixLength);
  if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long long value = std::stoull(digits);
  if (value > UINT32_MAX) return false;
  instanceId = static_cast<uint32_t>(value);
  return true;
}

std::string SourcePathOfRecovery(const std::string& recoveryPath) {
  uint32_t owner = 0;
  if (!IsRecoveryPath(recoveryPath) || UnsavedRecoveryOwner(FileName(recoveryPath), owner)) return "";
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

#include "recovery.h"

#include <cstring>

const char RecoverySuffix[] = ".recup";
const char UnsavedRecoveryPrefix[] = "sans-titre-";

namespace {

const size_t SuffixLength = sizeof RecoverySuffix - 1;
const char LockSuffix[] = ".verrou";

bool EndsWith(const std::string& path, const char* end, size_t length) {
  return path.size() > length && path.compare(path.size() - length, length, end) == 0;
}
bool EndsWithSuffix(const std::string& path) { return EndsWith(path, RecoverySuffix, SuffixLength); }

// The quiz a source holds, in the writer's form; empty when it does not parse.
std::string Canonical(const std::string& bytes) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  return ParseQuizSource(bytes, quiz, diagnostics) ? WriteQuizSource(quiz, "") : "";
}

}  // namespace

std::string RecoveryPathFor(const std::string& sourcePath) { return sourcePath + RecoverySuffix; }

std::string UnsavedRecoveryPath(const std::string& folder, uint32_t instanceId, int attempt) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\' && path.back() != '/')
    path += folder.find('\\') != std::string::npos ? '\\' : '/';
  path += UnsavedRecoveryPrefix + std::to_string(instanceId);
  if (attempt > 0) path += "-" + std::to_string(attempt + 1);
  return path + RecoverySuffix;
}

bool IsUnsavedRecoveryName(const std::string& name) {
  const size_t prefix = std::strlen(UnsavedRecoveryPrefix);
  if (name.size() <= prefix + SuffixLength || name.compare(0, prefix, UnsavedRecoveryPrefix) != 0 || !EndsWithSuffix(name))
    return false;
  const std::string number = name.substr(prefix, name.size() - prefix - SuffixLength);
  const size_t dash = number.find('-');
  const auto digits = [](const std::string& text) {
    return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos;
  };
  return digits(number.substr(0, dash)) && (dash == std::string::npos || digits(number.substr(dash + 1)));
}

std::string RecoveryLockPath(const std::string& recoveryPath) {
  const std::string base =
      EndsWithSuffix(recoveryPath) ? recoveryPath.substr(0, recoveryPath.size() - SuffixLength) : recoveryPath;
  return base + LockSuffix;
}

bool IsRecoveryPath(const std::string& path) { return EndsWithSuffix(path); }

bool IsRecoveryLockPath(const std::string& path) { return EndsWith(path, LockSuffix, sizeof LockSuffix - 1); }

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

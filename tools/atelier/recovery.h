// The recovery copy of the quiz being edited: written by the window a few
// seconds after each change (QuizDocument::recoveryDue), removed on a clean
// save or close, offered back at start-up when one is left from a crash.
// Here: where it lives, its lock, what it holds, and whether one found is
// worth offering.
#pragma once
#include <cstdint>
#include <string>

#include "document.h"

// Beside the source: "C:\Quiz\capitales.txt" keeps "C:\Quiz\capitales.txt.recup".
std::string RecoveryPathFor(const std::string& sourcePath);

// A quiz never saved keeps its copy in a folder of the caller's choosing,
// named after the editor that writes it: "sans-titre-1234.recup", then
// "sans-titre-1234-2.recup" for attempt 1, and so on, when a copy of that
// name is already there (a process number comes back after a crash).
std::string UnsavedRecoveryPath(const std::string& folder, uint32_t instanceId, int attempt);
bool IsUnsavedRecoveryName(const std::string& name);

// A copy belongs to a running editor only while that editor holds its lock
// file open ("capitales.txt.recup" has "capitales.txt.verrou"): the editor
// alone opens it, and the file goes when the editor closes it, which
// Windows does for a crashed editor too. A copy whose lock no editor holds
// is left from a crash.
std::string RecoveryLockPath(const std::string& recoveryPath);

// The editor's own files, which a browser keeps in its storage: a copy, a lock.
bool IsRecoveryPath(const std::string& path);
bool IsRecoveryLockPath(const std::string& path);
// How the names of the copies of quizzes never saved start and end.
extern const char UnsavedRecoveryPrefix[];
extern const char RecoverySuffix[];

// The copy holds the source format, exactly what Save would write.
std::string RecoveryContent(const QuizDocument& document);

// A file as the window found it.
struct FoundFile {
  bool exists = false;
  std::string bytes;
  int64_t modifiedTime = 0;  // any clock, the same for both files
};

enum class RecoveryVerdict {
  Discard,     // nothing in it that the source lacks: remove it silently
  Offer,       // it holds work the source lacks
  OfferOlder,  // the same, but the source changed after it was written: say so before restoring
};

RecoveryVerdict JudgeRecovery(const FoundFile& recovery, const FoundFile& source);

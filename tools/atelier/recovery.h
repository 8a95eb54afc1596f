// The recovery copy of the quiz being edited: written by the window a few
// seconds after each change (QuizDocument::recoveryDue), removed on a clean
// save or close, offered back at start-up when one is left from a crash.
// Here: where it lives, what it holds, and whether one found is worth offering.
#pragma once
#include <cstdint>
#include <string>

#include "document.h"

// Beside the source: "C:\Quiz\capitales.txt" keeps "C:\Quiz\capitales.txt.recup".
std::string RecoveryPathFor(const std::string& sourcePath);

// A quiz never saved keeps its copy in a folder of the caller's choosing,
// named after the editor instance that writes it: "sans-titre-1234.recup".
std::string UnsavedRecoveryPath(const std::string& folder, uint32_t instanceId);

// Where the document's copy goes: beside its source, or in the folder.
std::string RecoveryPath(const QuizDocument& document, const std::string& unsavedFolder, uint32_t instanceId);

// A recovery file name ("x.txt.recup" or "sans-titre-N.recup"); for one beside
// a source, that source's path, else empty.
bool IsRecoveryPath(const std::string& path);
std::string SourcePathOfRecovery(const std::string& recoveryPath);

// The editor instance whose copy of a quiz never saved a file name is
// ("sans-titre-1234.recup" gives 1234); false for any other name.
bool UnsavedRecoveryOwner(const std::string& name, uint32_t& instanceId);

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

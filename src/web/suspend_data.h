// The answers as a school platform keeps them between sessions: a SCORM 1.2
// platform holds one text of at most 4,096 characters per pupil and
// activity (cmi.suspend_data), and a strict one refuses anything longer.
// The text is "ludex1." and the base64url form (no padding) of a 32-bit
// FNV-1a check of the answers and the answers themselves compressed with the
// quiz's own codec: one line per answer field, joined by LF, the empty
// lines at the end left out. Printable ASCII only, so that every platform
// keeps it as it is. Portable: unit-tested and fuzzed natively.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

enum : size_t {
  SuspendDataLimit = 4096,      // characters a strict platform accepts
  MaxSuspendedAnswers = 2 * 255,  // answer fields of the largest quiz
};

struct SuspendData {
  std::string text;
  size_t kept = 0;  // how many of the answers it holds
};

// The text for answers (Windows-1252 bytes, no CR, LF or zero byte), at most
// limit characters. When all of them do not fit, it holds the answers of the
// first questions, whole questions of fieldsPerQuestion answers each, as many
// as fit; the others are left out.
SuspendData EncodeSuspendData(const std::vector<std::string>& answers, size_t fieldsPerQuestion,
                              size_t limit = SuspendDataLimit);

// The answers a text holds, as EncodeSuspendData wrote them. False, answers
// left empty, for any other text (another program's, cut, changed, too
// long): reading it is bounded whatever the platform hands over.
bool DecodeSuspendData(const std::string& text, std::vector<std::string>& answers);

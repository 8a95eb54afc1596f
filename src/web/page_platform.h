// What the page tells a school's platform (a SCORM 1.2 run-time that framed
// it), in the forms a strict platform accepts: the answers judged, the
// score as a percentage, the time spent. Portable.
#pragma once
#include <string>

// An answer judged since the platform last heard of it: its field's place,
// the text as judged (at most 255 bytes) and whether its verdict is "BRAVO".
struct PlatformInteraction {
  std::string id;
  std::string response;
  bool correct;
};

// "q007" for the answer field of question 7, "q007-1" and "q007-2" for its
// two when a question has two (fieldIndex from 0).
std::string PlatformInteractionId(int fieldIndex, int fieldsPerQuestion);
// found of questions as a percentage, at most two decimals: "0", "33.33", "12.5", "100".
std::string PlatformScore(int found, int questions);
// HH:MM:SS, hours on two to four digits.
std::string PlatformTimespan(long long seconds);

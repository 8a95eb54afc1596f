// Every French sentence that the web page shows or announces, built here so
// that the page's script only puts them in place. Texts are Windows-1252
// bytes, as the quiz's own; accented letters are written as escapes, since
// the page's compiler writes literals in UTF-8.
#pragma once
#include <string>

// Why a file offered as an answers file is refused (it then changes nothing).
enum class AnswersFileRefusal {
  None,
  Empty,
  TooLarge,        // past MaxAnswersFileSize
  NotText,         // a zero or control byte other than tab on a line
  LineTooLong,     // longer than an answer field keeps
  LacksCharacter,  // a UTF-8 character that Windows-1252 does not have
  TooManyAnswers,  // a non-empty line past the quiz's answer lines
};

// What the page found in an offered file, for its message.
struct AnswersOfferFacts {
  std::string name;       // the file's name, Windows-1252
  AnswersFileRefusal refusal;
  long long line;         // the line at fault, from 1
  long long lineLength;   // its bytes, for LineTooLong
  long long answerLines;  // the lines the quiz's answers file has
  int changes;            // answer fields the file would change
  bool fromBrowser = false;  // not a file: the answers this browser kept apart from the platform's
};

// The refusal, or the question asked before a file that fits is taken.
std::string OfferMessage(const AnswersOfferFacts& facts);
std::string ResumedMessage(const AnswersOfferFacts& facts);
std::string UndoneMessage(const AnswersOfferFacts& facts);

// The notice that stays in the header while the browser keeps nothing.
std::string StorageNotice();
// After Sauver, Ctrl+S or F2: the page cannot know whether the browser kept
// the file, only that it offered it.
std::string SaveLine(const std::string& fileName, int hour, int minute);

// The one notice about the school's platform: the score could not be sent
// (browserKeeps: this browser keeps the answers), or the answers are too
// long for the platform, which keeps those of questions 1 to questionsKept.
std::string PlatformFailedNotice(bool browserKeeps);
std::string PlatformCutNotice(int questionsKept);

// What a screen reader hears after a verdict: the question and its word,
// the score with its code when it changed, a reveal text that appeared.
struct VerdictNews {
  int question;           // from 1
  const char* word;       // null when the word is not to be said
  const char* score;      // null when the score did not change
  const char* code;
  const char* reveal;     // the one reveal text that appeared, or null
  int revealsShown;       // how many appeared
};
std::string VerdictAnnouncement(const VerdictNews& news);
// After F1 or Solutions.
std::string FillAnnouncement(const std::string& typed, const char* score, const char* code);

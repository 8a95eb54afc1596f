// The keywords of the quiz source, every spelling of each in one table: the
// reader recognises them from it, the writer and every message spell them
// from it ("réponse2"), and the unknown-keyword message lists them from it.
#pragma once
#include <string>

#include "authored_quiz.h"

enum class SourceKey {
  Title,
  Author,
  Explanation,
  ExtraText1,
  ExtraText2,
  Visibility,
  AnswersPerQuestion,
  RevealMode,
  Colour,
  Question,
  Answer1,
  Answer2,
  Reveal1,
  Reveal2,
  Code,
  Accepted1,  // "aussi", after a question's "réponse" line
  Accepted2,  // "aussi", after its "réponse2" line: the reader tells them apart by the line above
};
const int SourceKeyCount = 17;

enum class KeyKind { Text, Code, Setting };

struct SourceKeyword {
  SourceKey key;
  const char* spelling;       // as written, UTF-8: "réponses par question"
  const char* alternates[2];  // further spellings read, as NormalizeKeyword leaves them; null when none
  bool inQuestion;            // a line of a question block, not of the header
  KeyKind kind;
};

const SourceKeyword& KeywordOf(SourceKey key);

// The keyword a source line names before its colon (UTF-8), or null.
const SourceKeyword* FindKeyword(const std::string& writtenUtf8);

// A keyword as the reader compares it: ASCII lower case, the accents of the
// French letters dropped, runs of blanks one space, none at the ends
// ("Réponses  par question" gives "reponses par question"); empty when the
// text holds anything else past ASCII.
std::string NormalizeKeyword(const std::string& utf8);

// The keyword of a text field and back; FieldOfKey is only for text keys.
SourceKey KeyOfField(QuizField field);
QuizField FieldOfKey(SourceKey key);

// A keyword as messages quote it, in Windows-1252 like every message.
std::string KeywordText(SourceKey key);
std::string FieldKeyword(QuizField field);  // "réponse2"

// A keyword in guillemets, with its colon: « réponse: » (Windows-1252).
std::string QuotedKeyword(SourceKey key);
std::string QuotedField(QuizField field);

// Every keyword, in the order of a source: "titre, auteur, ..., code".
std::string KnownKeywords();

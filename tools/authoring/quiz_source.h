// The quiz source: a UTF-8 text file that a teacher writes in any editor,
// with one "keyword: value" per line, "+" lines continuing a text on a new
// line, "#" comments and blank lines. The parser turns it into an
// AuthoredQuiz whose texts are Windows-1252 bytes with CR LF line breaks;
// the writer gives the canonical source of an AuthoredQuiz.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "quiz_rules.h"

struct AuthoredQuestion {
  std::string questionText;
  std::string answer1;
  std::string answer2;           // only with two answers per question
  std::string revealText;        // reveal modes 2, 3 and 4
  std::string secondRevealText;  // reveal mode 3: carried, never shown
  std::string scoreCode;         // shown when the score equals this question's number
  int line = 0;                  // the source line of its "question:"
};

struct AuthoredQuiz {
  std::string title;
  std::string author;
  std::string explanation;
  std::string extraText1;
  std::string extraText2;
  int visibility = 1;          // the payload's byte: 1 shows the questions
  int answersPerQuestion = 1;  // 1 or 2
  int revealMode = 0;          // 0, 2, 3 or 4 mean something; the byte is kept as given
  uint8_t red = 90;
  uint8_t green = 95;
  uint8_t blue = 150;
  std::vector<AuthoredQuestion> questions;
};

// Parses a source. Returns true when no error was found; every error and
// warning goes to diagnostics with its line. quiz is filled as far as it went.
bool ParseQuizSource(const std::string& source, AuthoredQuiz& quiz, Diagnostics& diagnostics);

// A keyword as the parser compares it: ASCII lower case, the accents of the
// French letters dropped, runs of blanks one space, none at the ends
// ("Réponses  par question" gives "reponses par question"); empty when the
// text holds anything else past ASCII.
std::string NormalizeKeyword(const std::string& utf8);

// The canonical source of a quiz: every header line, then one block per
// question. Parsing it gives the same quiz back. heading becomes a comment
// at the top when not empty.
std::string WriteQuizSource(const AuthoredQuiz& quiz, const std::string& heading);

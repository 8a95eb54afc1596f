// A quiz as its author writes it: every text in Windows-1252 with CR LF line
// breaks, as the player will hold it, and the settings as the author gave
// them. The source reader fills one, the payload writer packs one, the
// editor edits one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct AuthoredQuestion {
  std::string questionText;
  std::string answer1;
  std::string answer2;           // only with two answers per question
  std::string revealText;        // reveal modes 2, 3 and 4
  std::string secondRevealText;  // reveal mode 3: carried, never shown
  std::string scoreCode;         // shown when the score equals this question's number
  int line = 0;                  // the source line of its "question:"
  // Further answers that count as right, besides answer1 (accepted1) and
  // answer2 (accepted2): one a line, lines joined by CR LF, at most
  // MaxAcceptedAnswers of them.
  std::string accepted1;
  std::string accepted2;
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

// The texts of a quiz: five in the header, eight per question.
enum class QuizField {
  Title,
  Author,
  Explanation,
  ExtraText1,
  ExtraText2,
  Question,
  Answer1,
  Answer2,
  Reveal1,
  Reveal2,
  Code,
  Accepted1,  // the further accepted answers of the first answer field, one a line
  Accepted2,  // of the second
};
const int QuizFieldCount = 13;

bool IsQuestionField(QuizField field);
bool IsAcceptedField(QuizField field);  // Accepted1 or Accepted2

// The expected answer a field of accepted answers goes with, and back.
QuizField ExpectedFieldOf(QuizField acceptedField);
QuizField AcceptedFieldOf(QuizField answerField);

// The accepted answers an Accepted field's text holds: its lines that are not
// empty, in order (a blank line left while typing counts for nothing).
std::vector<std::string> AcceptedAnswerLines(const std::string& text);
// The text of a list of accepted answers: the lines joined by CR LF.
std::string JoinedAcceptedAnswers(const std::vector<std::string>& answers);

// The text of a field: a header field (row ignored) or one of row's; null
// when the row does not exist.
std::string* FieldText(AuthoredQuiz& quiz, QuizField field, int row);
const std::string* FieldText(const AuthoredQuiz& quiz, QuizField field, int row);
std::string* FieldText(AuthoredQuestion& question, QuizField field);  // null for a header field
const std::string* FieldText(const AuthoredQuestion& question, QuizField field);

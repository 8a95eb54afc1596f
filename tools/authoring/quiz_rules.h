// The rules every text of a quiz obeys, with their messages. The source
// parser applies them to the lines of a source; an editor applies them to one
// field as the author types it, and gets the very words `ludex-pack check`
// prints, without the file and line. Messages are French, in Windows-1252.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "authored_quiz.h"
#include "diagnostics.h"
#include "quiz_format.h"

// Whether a quiz with these settings holds the field: the second answer needs
// two answers per question, the reveal texts a reveal mode that has them (the
// second one the mode with two). A field out of use is neither packed nor written.
bool FieldInUse(QuizField field, int answersPerQuestion, int revealMode);

struct TextProblem {
  bool isError = true;
  int line = 0;    // 0-based line of the text (a text holds line breaks)
  int column = 0;  // 1-based character of that line; 0: the text as a whole
  std::string message;
};

struct TextCheck {
  // The text as the quiz holds it: Windows-1252, lines joined by CR LF, a
  // character that Windows-1252 lacks written '?'.
  std::string bytes;
  std::vector<TextProblem> problems;  // in the order of the text; warnings only once no error is left

  bool hasErrors() const;
};

// Checks one text given line by line in UTF-8 (the parser's pieces): every
// character must exist in Windows-1252 and be no control character; '|' ends a
// text in the player (a code may hold it); a code holds no line break; the
// text fits 259 bytes, a line break counting 2; an expected answer that is
// empty is an error (the player never accepts an empty answer), one that the
// player can never match for another reason is warned about.
TextCheck CheckTextLines(QuizField field, const std::vector<std::string>& utf8Lines);

// The same for a text as typed in UTF-8, lines ended by LF or CR LF.
TextCheck CheckTextUtf8(QuizField field, const std::string& utf8);

// The same for a text as the quiz holds it: Windows-1252, CR LF line breaks
// (a lone LF is taken for one too; a lone CR is a control character).
TextCheck CheckTextBytes(QuizField field, const std::string& bytes);

// A character as messages name it, with its nearest spelling when it has
// one: "U+2192 (flèche : écrivez « -> »)", "U+1F600".
std::string CodePointName(uint32_t codePoint);

// The nearest Windows-1252 spelling of a character that Windows-1252 lacks
// (a superscript letter or digit its plain one, an arrow "->", a thin space
// a space, a letter of another Latin alphabet its letter without the mark);
// false when none comes near (an emoji, a Greek letter).
bool NearestSpelling(uint32_t codePoint, std::string& spelling);

// A character the player cannot show, in a text (line from 0, column from
// 1, as TextProblem counts), and what took its place: its nearest spelling
// (Windows-1252), or "?" when it has none (found false).
struct Respelling {
  int line = 0;
  int column = 0;
  uint32_t codePoint = 0;
  bool found = false;
  std::string spelling;
};

// A UTF-8 text with every character the player cannot show replaced, as
// pasted or typed text is kept rather than refused; changes lists each
// one. Bytes that are not UTF-8 are left for the check to report.
std::string RespellForPlayer(const std::string& utf8, std::vector<Respelling>* changes);

// "le caractère U+1D49, que le lecteur ne peut pas afficher, est remplacé
// par « e »", or for one without a spelling, that "?" took its place.
std::string RespellingMessage(const Respelling& change);

// "caractère 12 : message", or the message alone for column 0.
std::string ProblemText(int column, const std::string& message);

// The quiz-wide rules, each as its message, empty when the rule holds.
std::string QuestionCountError(size_t questionCount);     // more than MaxQuestions questions
std::string ScoreCodeSlotsWarning(size_t questionCount);  // more than ScoreCodeSlots score codes
std::string RevealModeWarning(int revealMode);            // a mode that plays as none
std::string NoQuestionWarning(size_t questionCount);
std::string TitleError(const std::string& title);  // a title empty or of blanks only

// A problem of a quiz, placed on a question (row from 0; -1: the header or
// the quiz as a whole) and a field (a QuizField, or -1), with the rule that
// found it, so that the source reader can put it on a line.
enum class QuizRule { Text, Title, QuestionCount, ScoreCodeSlots, RevealMode, NoQuestion, PackedSize, Fit, Spelling };
struct QuizProblem {
  QuizRule rule = QuizRule::Text;
  int row = -1;
  int field = -1;
  bool isError = true;
  std::string message;  // Windows-1252, with "caractère N : " when it points at a character
  int textLine = 0;     // the line of the field's text it is about (an accepted answer's)
};

// The one check of the quiz as a whole: the title, the question count, the
// score-code slots, the reveal mode, a quiz without questions. The source
// reader and the editor both call it.
std::vector<QuizProblem> QuizWideProblems(const AuthoredQuiz& quiz);

// The problems of one text of the quiz under its settings (none for a field
// out of use), each with CheckTextBytes.
std::vector<QuizProblem> FieldProblems(const AuthoredQuiz& quiz, QuizField field, int row);

// How the answers of a question read to a pupil at the keyboard: a character
// hardly anyone can type (a non-breaking space, a typographic apostrophe...)
// in an expected or accepted answer, with the spelling to accept instead; an
// accepted answer that its expected answer, or an accepted answer above it,
// already takes (the player trims what is typed and ignores the case of a to
// z). Warnings, on the answer's field and line.
std::vector<QuizProblem> AnswerSpellingProblems(const AuthoredQuiz& quiz, int row);

// An answer as a pupil types it: each character hard to type replaced by the
// one on the keyboard (a plain space, ', ", oe, ..., -). Windows-1252.
std::string TypeableSpelling(const std::string& answer);

// The values a setting takes, for its messages: "0, 2, 3 ou 4".
std::string KnownRevealModesText();

// Why a field is refused under the quiz's settings ("« réponse2: » demande
// « réponses par question: 2 » dans l'en-tête"); empty for a field always in use.
std::string FieldNeedsSettingMessage(QuizField field);

// The error of a "+" line under a score code.
std::string CodeLineBreakError();

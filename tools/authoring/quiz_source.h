// The quiz source: a UTF-8 text file that a teacher writes in any editor,
// with one "keyword: value" per line, "+" lines continuing a text on a new
// line, "#" comments and blank lines. The parser turns it into an
// AuthoredQuiz whose texts are Windows-1252 bytes with CR LF line breaks;
// the writer gives the canonical source of an AuthoredQuiz.
#pragma once
#include <cstddef>
#include <string>

#include "authored_quiz.h"
#include "diagnostics.h"

// A source file past this size is refused unread: a full quiz takes under 500 KB.
const size_t MaxSourceBytes = 4 << 20;

struct PlayerMetrics;

// Why a file cannot be a source at all, before any of its lines is read:
// it is no text (a zero byte: a picture, a document, a program), or a text
// in UTF-16. Empty when it may be one.
std::string NotASourceReason(const std::string& bytes);

// Parses a source. Returns true when no error was found; every error and
// warning goes to diagnostics with its line, in the order of the lines (the
// file as a whole first). quiz is filled as far as it went: it holds every
// question of the source, even past the player's limit. With fit, a text
// that the player will cut or hide is warned about on its line (quiz_fit.h).
bool ParseQuizSource(const std::string& source, AuthoredQuiz& quiz, Diagnostics& diagnostics,
                     const PlayerMetrics* fit = nullptr);

// The comment line the writer puts first (after the heading), UTF-8: where
// the format is explained.
extern const char* const SourceFormatLine;

// The canonical source of a quiz: every header line, then one block per
// question. Parsing it gives the same quiz back, but for the texts of fields
// its settings do not use (a second answer in a one-answer quiz), which are
// written as comments at the end of their question's block: they stay
// readable, and come back once copied out of their comment. heading becomes
// a comment at the top when not empty.
std::string WriteQuizSource(const AuthoredQuiz& quiz, const std::string& heading);

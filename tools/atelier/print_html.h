// The paper forms of a quiz, as HTML pages the window opens in the browser
// to print: the pupils' sheet (numbered questions, room to write) and the
// answer key (expected answers, reveal texts, score codes). UTF-8, with a
// charset declaration; every text of the quiz escaped.
#pragma once
#include <string>

#include "authored_quiz.h"
#include "quiz_fit.h"

// The pages' style sheet: print.css, which the build makes this string of,
// so that the editor in a browser can allow it by its hash.
extern const char PrintStyle[];

std::string PupilSheetHtml(const AuthoredQuiz& quiz);
// The codes as the player's field shows them (metrics): a code too wide for
// it printed as far as it shows, with what does not.
std::string AnswerKeyHtml(const AuthoredQuiz& quiz, const PlayerMetrics& metrics);

// A quiz text (Windows-1252, CR LF line breaks) as HTML: escaped, in UTF-8,
// line breaks as <br>.
std::string HtmlText(const std::string& bytes);

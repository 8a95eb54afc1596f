// Whether the texts of a quiz fit their controls in the player: the title,
// the author and the explanation in the header, each question's label, its
// reveal text's label and its score code's field. A text too wide or too long for its control is
// cut, or partly hidden, by the player; the check says what will show. The
// controls' sizes come from the player's own layout (header_layout.h,
// row_layout.h); the widths of its fonts from a measure: the system's fonts
// where the tool runs on Windows (MeasurePlayerMetrics), a conservative
// table elsewhere. Messages are French, in Windows-1252.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_rules.h"

// A font as the check sees it: the advance width in pixels of each
// Windows-1252 byte, and the height of one line.
struct FontMetrics {
  uint8_t widths[256];
  int lineHeight;
};

struct PlayerMetrics {
  FontMetrics labels;  // the system's GUI font: the author, the explanation, the questions, the score code
  FontMetrics title;   // the title's own font
  int codeInset;       // pixels of the score-code field's width that show no text (its margins)
  int borderInset;     // pixels a question label's border takes from its width and from its height
};

// Widths at least those of the player's fonts on any Windows, and insets at
// least its controls' own: a text that fits with them fits in the player.
const PlayerMetrics& ConservativeMetrics();

// The system's fonts and controls, measured as the player creates them.
// Windows only (quiz_fit_win32.cpp).
PlayerMetrics MeasurePlayerMetrics();

// What a control shows of a text (Windows-1252, CR LF line breaks).
struct ShownText {
  bool cut = false;    // some of the text does not show
  std::string shown;   // the text up to where it stops showing
  std::string hidden;  // the text from where it stops showing
};

// A label of lines lines, width pixels wide, that wraps its text between
// words and after hyphens as the player's labels do (a word wider than a
// line is broken).
ShownText ShowInLabel(const FontMetrics& font, int width, int lines, const std::string& text);
// A one-line field: the characters that fit whole.
ShownText ShowInField(const FontMetrics& font, int width, const std::string& text);

// What the player's score-code field shows of a code.
ShownText ShownCode(const std::string& code, const PlayerMetrics& metrics);

// The width, in pixels, of the header's explanation when the player's window
// is just wide enough to show whole rows (their answer fields and verdicts).
int ExplanationFitWidth(int answersPerQuestion);

// One warning for each text the player will cut or hide, on its row and
// field (QuizRule::Fit): "le code s'affichera « ÉTINCEL » : ...".
std::vector<QuizProblem> FitWarnings(const AuthoredQuiz& quiz, const PlayerMetrics& metrics);

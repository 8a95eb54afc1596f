#include "quiz_fit.h"

#include <algorithm>

#include "french_text.h"
#include "header_layout.h"
#include "resource.h"
#include "row_layout.h"

namespace {

// The advance widths of bytes 32 to 255 in the widest sans-serif font a
// system may give the player (DejaVu Sans, wider than Tahoma, MS Sans Serif
// or Arial at the same size): 11 pixels for the GUI font, 15 bold for the title.
// clang-format off
const uint8_t LabelWidths[224] = {
    4, 4, 5, 9, 7, 10, 9, 3, 4, 4, 6, 9, 4, 4, 4, 4,   7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 4, 4, 9, 9, 9, 6,
    11, 8, 8, 8, 8, 7, 6, 9, 8, 3, 3, 7, 6, 9, 8, 9,   7, 9, 8, 7, 7, 8, 8, 11, 8, 7, 8, 4, 4, 4, 9, 6,
    6, 7, 7, 6, 7, 7, 4, 7, 7, 3, 3, 6, 3, 11, 7, 7,   7, 7, 5, 6, 4, 7, 7, 9, 7, 7, 6, 7, 4, 7, 9, 7,
    7, 7, 4, 4, 6, 11, 6, 6, 6, 15, 7, 4, 12, 7, 8, 7, 7, 4, 4, 6, 6, 6, 6, 11, 6, 11, 6, 4, 11, 7, 6, 7,
    4, 4, 7, 7, 7, 7, 4, 6, 6, 11, 5, 7, 9, 4, 11, 6,  6, 9, 4, 4, 6, 7, 7, 4, 6, 4, 5, 7, 11, 11, 11, 6,
    8, 8, 8, 8, 8, 8, 11, 8, 7, 7, 7, 7, 3, 3, 3, 3,   9, 8, 9, 9, 9, 9, 9, 9, 9, 8, 8, 8, 8, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 11, 6, 7, 7, 7, 7, 3, 3, 3, 3,   7, 7, 7, 7, 7, 7, 7, 9, 7, 7, 7, 7, 7, 7, 7, 7,
};
const uint8_t TitleWidths[224] = {
    5, 7, 8, 10, 10, 15, 13, 5, 7, 7, 8, 13, 6, 6, 6, 5,    10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 6, 6, 13, 13, 13, 9,
    15, 12, 11, 11, 12, 10, 10, 12, 13, 6, 6, 12, 10, 15, 13, 13, 11, 13, 12, 11, 10, 12, 12, 17, 12, 11, 11, 7, 5, 7, 13, 8,
    8, 10, 11, 9, 11, 10, 7, 11, 11, 5, 5, 10, 5, 16, 11, 10,  11, 11, 7, 9, 7, 11, 10, 14, 10, 10, 9, 11, 5, 11, 13, 9,
    10, 9, 6, 7, 10, 15, 8, 8, 8, 22, 11, 6, 18, 9, 11, 9,     9, 6, 6, 10, 10, 10, 8, 15, 8, 15, 9, 6, 16, 9, 9, 11,
    5, 7, 10, 10, 10, 10, 5, 8, 8, 15, 8, 10, 13, 6, 15, 8,    8, 13, 7, 7, 8, 11, 10, 6, 8, 7, 8, 10, 16, 16, 16, 9,
    12, 12, 12, 12, 12, 12, 16, 11, 10, 10, 10, 10, 6, 6, 6, 6, 13, 13, 13, 13, 13, 13, 13, 13, 13, 12, 12, 12, 12, 11, 11, 11,
    10, 10, 10, 10, 10, 10, 16, 9, 10, 10, 10, 10, 5, 5, 5, 5,  10, 11, 10, 10, 10, 10, 10, 13, 10, 11, 11, 11, 11, 10, 11, 10,
};
// clang-format on

FontMetrics TableFont(const uint8_t (&printable)[224], int lineHeight) {
  FontMetrics font = {};
  for (int byte = 0; byte < 32; ++byte) font.widths[byte] = printable[0];  // as wide as a space
  font.widths['\t'] = 8 * printable['x' - 32];                             // a tab stop: eight average characters
  std::copy(std::begin(printable), std::end(printable), font.widths + 32);
  font.lineHeight = lineHeight;
  return font;
}

int Width(const FontMetrics& font, const std::string& text, size_t begin, size_t end) {
  int width = 0;
  for (size_t i = begin; i < end; ++i) width += font.widths[static_cast<uint8_t>(text[i])];
  return width;
}

// The end of the longest piece of [begin, end) that fits width whole; at
// least one character, as a line always shows its first one.
size_t FitEnd(const FontMetrics& font, const std::string& text, size_t begin, size_t end, int width) {
  size_t stop = begin;
  int used = 0;
  while (stop < end && used + font.widths[static_cast<uint8_t>(text[stop])] <= width) {
    used += font.widths[static_cast<uint8_t>(text[stop])];
    ++stop;
  }
  return std::max(stop, std::min(begin + 1, end));
}

size_t SkipSpaces(const std::string& text, size_t position, size_t end) {
  while (position < end && text[position] == ' ') ++position;
  return position;
}

// Where the piece of a line that starts at word ends: at the next space, or
// just after a hyphen, where Windows breaks a line too ("Marie-" / "Claire").
size_t PieceEnd(const std::string& text, size_t word, size_t paragraphEnd) {
  const size_t end = text.find_first_of(" -", word);
  if (end == std::string::npos || end >= paragraphEnd) return paragraphEnd;
  return text[end] == '-' ? end + 1 : end;
}

// The end of the line that starts at begin inside the paragraph [begin,
// paragraphEnd): the words that fit, or the part of a too wide first word.
size_t LineEnd(const FontMetrics& font, const std::string& text, size_t begin, size_t paragraphEnd, int width) {
  size_t end = begin;
  for (size_t word = begin; word < paragraphEnd;) {
    const size_t wordEnd = PieceEnd(text, word, paragraphEnd);
    if (Width(font, text, begin, wordEnd) > width) break;
    end = wordEnd;
    word = SkipSpaces(text, wordEnd, paragraphEnd);
  }
  return end > begin ? end : FitEnd(font, text, begin, paragraphEnd, width);
}

ShownText Split(const std::string& text, size_t shownEnd, size_t hiddenStart) {
  ShownText shown;
  shown.shown = text.substr(0, shownEnd);
  const size_t visible = text.find_first_not_of(" \r\n", hiddenStart);
  if (visible != std::string::npos) {
    shown.cut = true;
    shown.hidden = text.substr(visible);
  }
  return shown;
}

// What the author reads in a message: the end of what shows, the start of what does not.
std::string Excerpt(std::string text, bool fromEnd) {
  const size_t most = 40;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.replace(at, 2, " / ");
  if (text.size() <= most) return Quoted(text);
  return Quoted(fromEnd ? "\x85" + text.substr(text.size() - most) : text.substr(0, most) + "\x85");
}

// "le code s'affichera « ÉTINCEL » : la suite (« LE ») ne tient pas dans sa case du lecteur".
void Warn(std::vector<QuizProblem>& out, const ShownText& shown, int row, QuizField field, const char* name,
          int lines) {
  if (!shown.cut) return;
  std::string message = std::string(name) + " s'affichera " + Excerpt(shown.shown, true) + " : la suite (" +
                        Excerpt(shown.hidden, false) + ") ne tient pas dans sa case du lecteur";
  if (lines > 1 || field == QuizField::Question || field == QuizField::Reveal1)
    message += ", qui montre " + Counted(lines, "ligne", "lignes");
  out.push_back({QuizRule::Fit, row, static_cast<int>(field), false, message});
}

HeaderPlace PlaceOf(int id, int headerWidth) {
  HeaderPlace places[HeaderPlaceCount];
  LayoutHeader(headerWidth, places);
  for (const HeaderPlace& place : places) {
    if (place.id == id) return place;
  }
  return {};
}

int LinesIn(int height, const FontMetrics& font) { return font.lineHeight > 0 ? height / font.lineHeight : 0; }

}  // namespace

const PlayerMetrics& ConservativeMetrics() {
  static const PlayerMetrics metrics = {TableFont(LabelWidths, 13), TableFont(TitleWidths, 18), 6, 2};
  return metrics;
}

ShownText ShowInLabel(const FontMetrics& font, int width, int lines, const std::string& text) {
  size_t position = 0;
  for (int line = 0; line < lines && position < text.size(); ++line) {
    size_t paragraphEnd = text.find('\n', position);
    if (paragraphEnd == std::string::npos) paragraphEnd = text.size();
    const size_t contentEnd =
        paragraphEnd > position && text[paragraphEnd - 1] == '\r' ? paragraphEnd - 1 : paragraphEnd;
    const size_t end = LineEnd(font, text, position, contentEnd, width);
    position = end < contentEnd ? SkipSpaces(text, end, contentEnd) : std::min(paragraphEnd + 1, text.size());
    if (line + 1 == lines || position >= text.size()) return Split(text, end, position);
  }
  return Split(text, 0, position);
}

ShownText ShowInField(const FontMetrics& font, int width, const std::string& text) {
  size_t end = 0;
  for (int used = 0; end < text.size(); ++end) {
    used += font.widths[static_cast<uint8_t>(text[end])];
    if (used > width) break;
  }
  return Split(text, end, end);
}

ShownText ShownCode(const std::string& code, const PlayerMetrics& metrics) {
  return ShowInField(metrics.labels, ScoreCodeFieldWidth - metrics.codeInset, code);
}

int ExplanationFitWidth(int answersPerQuestion) {
  return PlaceOf(IDC_EXPLANATION, ContentWidth(1, answersPerQuestion, false)).width;
}

std::vector<QuizProblem> FitWarnings(const AuthoredQuiz& quiz, const PlayerMetrics& metrics) {
  std::vector<QuizProblem> warnings;
  const FontMetrics& labels = metrics.labels;
  const int titleLines = LinesIn(TitleLabelHeight, metrics.title);
  Warn(warnings, ShowInLabel(metrics.title, TitleLabelWidth, titleLines, quiz.title), -1, QuizField::Title, "le titre",
       titleLines);
  const HeaderPlace author = PlaceOf(IDC_AUTHOR, 0);
  Warn(warnings, ShowInLabel(labels, author.width, LinesIn(author.height, labels), quiz.author), -1, QuizField::Author,
       "l'auteur", LinesIn(author.height, labels));
  const int explanationLines = LinesIn(PlaceOf(IDC_EXPLANATION, 0).height, labels);
  Warn(warnings, ShowInLabel(labels, ExplanationFitWidth(quiz.answersPerQuestion), explanationLines, quiz.explanation),
       -1, QuizField::Explanation, "l'explication", explanationLines);
  const int count = static_cast<int>(std::min(quiz.questions.size(), static_cast<size_t>(MaxQuestions)));
  for (int row = 0; row < count; ++row) {
    const AuthoredQuestion& question = quiz.questions[static_cast<size_t>(row)];
    if (quiz.visibility == 1) {  // any other value builds no rows
      const int lines = LinesIn(RowHeight(row + 1) - metrics.borderInset, labels);
      Warn(warnings, ShowInLabel(labels, QuestionLabelWidth - metrics.borderInset, lines, question.questionText), row,
           QuizField::Question, "la question", lines);
    }
    if (quiz.visibility == 1 && HasRevealTexts(quiz.revealMode)) {  // the label beside the row, as tall as it
      const int lines = LinesIn(RowHeight(row + 1), labels);
      Warn(warnings, ShowInLabel(labels, RevealLabelWidth, lines, question.revealText), row, QuizField::Reveal1,
           "la r\xE9v\xE9lation", lines);
    }
    if (row < ScoreCodeSlots) {  // later codes never show
      Warn(warnings, ShownCode(question.scoreCode, metrics), row, QuizField::Code, "le code", 1);
    }
  }
  return warnings;
}

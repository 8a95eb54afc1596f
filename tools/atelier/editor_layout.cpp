#include "editor_layout.h"

#include <algorithm>

namespace {

// In pixels: a margin, the column of big buttons on the right, the labels
// on the left, the length counters right of their fields.
const int Margin = 8;
const int RightColumn = 170;
const int LabelWidth = 140;
const int CounterWidth = 64;
const int LineHeight = 23;
const int TallHeight = 40;  // multi-line fields
const int ProblemsHeight = 74;
const int LabelHeight = 18;

Box At(int x, int y, int width, int height) { return {x, y, std::max(width, 0), std::max(height, 0)}; }

// One field: its label, the field, and its counter ending at counterRight.
FieldBoxes PlaceField(int labelX, int labelWidth, int y, int counterRight, int height) {
  const int editX = labelX + labelWidth;
  return {At(labelX, y + 4, labelWidth - 4, LabelHeight), At(editX, y, counterRight - CounterWidth - 6 - editX, height),
          At(counterRight - CounterWidth, y + 4, CounterWidth, LabelHeight)};
}

FieldBoxes& Of(EditorLayout& layout, QuizField field) { return layout.fields[static_cast<int>(field)]; }

// The settings row: answers per question, reveal mode, background colour; returns the y below it.
int PlaceSettings(EditorLayout& layout, int y, int counterRight) {
  const int answersLabel = 150;
  int x = Margin + answersLabel;
  layout.answersLabel = At(Margin, y + 4, answersLabel - 4, LabelHeight);
  layout.answers = At(x, y, 52, LineHeight);
  x += 52 + 16;
  layout.revealLabel = At(x, y + 4, 124, LabelHeight);
  x += 124;
  const int colourWidth = 100 + 40 + 6 + 84;
  const int modeWidth = std::max(150, std::min(330, counterRight - colourWidth - 16 - x));
  layout.reveal = At(x, y, modeWidth, LineHeight);
  x += modeWidth + 16;
  layout.colourLabel = At(x, y + 4, 100, LabelHeight);
  layout.swatch = At(x + 100, y, 40, LineHeight);
  layout.colourButton = At(x + 146, y, 84, LineHeight);
  return y + LineHeight + 8;
}

// The chosen question's fields from rowY: the question, then two columns (the
// first answer, reveal text and code; the second answer and reveal text).
void PlaceRowFields(EditorLayout& layout, int rowY, int rightX, int counterRight) {
  layout.rowLabel = At(Margin, rowY, rightX - Margin, LabelHeight);
  rowY += 20;
  Of(layout, QuizField::Question) = PlaceField(Margin, LabelWidth, rowY, counterRight, TallHeight);
  rowY += TallHeight + 6;
  const int secondLabel = 96;
  const int column = (counterRight - (Margin + LabelWidth) - 14 - secondLabel) / 2;
  const int firstRight = Margin + LabelWidth + column;
  const int secondX = firstRight + 14;
  Of(layout, QuizField::Answer1) = PlaceField(Margin, LabelWidth, rowY, firstRight, LineHeight);
  Of(layout, QuizField::Answer2) = PlaceField(secondX, secondLabel, rowY, counterRight, LineHeight);
  rowY += LineHeight + 4;
  Of(layout, QuizField::Accepted1) = PlaceField(Margin, LabelWidth, rowY, firstRight, TallHeight);
  Of(layout, QuizField::Accepted2) = PlaceField(secondX, secondLabel, rowY, counterRight, TallHeight);
  rowY += TallHeight + 2;
  layout.suggestions[0] = At(Margin + LabelWidth, rowY, firstRight - Margin - LabelWidth, LabelHeight);
  layout.suggestions[1] = At(secondX + secondLabel, rowY, counterRight - secondX - secondLabel, LabelHeight);
  rowY += LabelHeight + 4;
  Of(layout, QuizField::Reveal1) = PlaceField(Margin, LabelWidth, rowY, firstRight, TallHeight);
  Of(layout, QuizField::Reveal2) = PlaceField(secondX, secondLabel, rowY, counterRight, TallHeight);
  rowY += TallHeight + 6;
  Of(layout, QuizField::Code) = PlaceField(Margin, LabelWidth, rowY, firstRight, LineHeight);
}

// The number and code keep their widths; the texts share the rest.
void SetListColumns(EditorLayout& layout, int width, int scrollBarWidth) {
  const int number = 44, code = 90;
  const int rest = std::max(300, width - number - code - scrollBarWidth - 4);
  const int widths[] = {number, rest * 45 / 100, rest * 25 / 100, rest - rest * 45 / 100 - rest * 25 / 100, code};
  std::copy(std::begin(widths), std::end(widths), layout.listColumns);
}

}  // namespace

// The list grows with the window; everything below it follows its bottom.
EditorLayout LayoutEditor(int width, int height, int statusHeight, int scrollBarWidth) {
  EditorLayout layout;
  const int bottom = height - statusHeight - Margin;
  const int rightX = width - Margin - RightColumn;
  const int counterRight = rightX - 12;

  int y = Margin;
  Of(layout, QuizField::Title) = PlaceField(Margin, LabelWidth, y, counterRight, LineHeight);
  y += LineHeight + 6;
  Of(layout, QuizField::Author) = PlaceField(Margin, LabelWidth, y, counterRight, LineHeight);
  y += LineHeight + 6;
  Of(layout, QuizField::Explanation) = PlaceField(Margin, LabelWidth, y, counterRight, TallHeight);
  y = PlaceSettings(layout, y + TallHeight + 6, counterRight);
  for (int k = 0; k < 4; ++k) layout.outputButtons[k] = At(rightX, Margin + k * 26, RightColumn, 24);

  // Below the list, from the bottom up: the problems, then the chosen question's fields.
  const int problemsTop = bottom - ProblemsHeight;
  layout.problems = At(Margin, problemsTop, width - 2 * Margin, ProblemsHeight);
  layout.problemsLabel = At(Margin, problemsTop - 19, width - 2 * Margin, LabelHeight);  // with the counts
  const int rowHeight = 20 + TallHeight + 6 + LineHeight + 4 + TallHeight + 2 + LabelHeight + 4 + TallHeight + 6 + LineHeight;
  const int rowY = problemsTop - 24 - rowHeight;

  layout.listLabel = At(Margin, y, 400, LabelHeight);
  const int listTop = y + 20;
  const int listWidth = rightX - 12 - Margin;
  layout.list = At(Margin, listTop, listWidth, rowY - 8 - listTop);
  SetListColumns(layout, listWidth, scrollBarWidth);
  for (int k = 0; k < 5; ++k) layout.listButtons[k] = At(rightX, listTop + k * 32, RightColumn, 27);
  PlaceRowFields(layout, rowY, rightX, counterRight);
  return layout;
}

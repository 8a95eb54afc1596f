#include "row_layout.h"

#include <cstring>

#include "quiz_format.h"
#include "verdict.h"

namespace {

// The standard scroll-bar request codes (the values of the platform's SB_ names).
enum : int {
  LineUp = 0,
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbTrack = 5,
  Top = 6,
  Bottom = 7,
};

// Heights of questions 1 to 33; every later question gets 50.
const int FirstRowHeights[33] = {
    20, 55, 20, 30, 20, 45, 45, 30, 20, 20, 30,  //  1 to 11
    60, 30, 68, 20, 20, 30, 20, 20, 20, 20, 30,  // 12 to 22
    30, 20, 30, 20, 20, 30, 45, 20, 20, 20, 20,  // 23 to 33
};
const int LaterRowHeight = 50;

int Clamp(long long value, int minimum, int maximum) {
  if (value > maximum) return maximum;
  if (value < minimum) return minimum;
  return static_cast<int>(value);
}

}  // namespace

int RowHeight(int questionNumber) {
  if (questionNumber >= 1 && questionNumber <= 33) return FirstRowHeights[questionNumber - 1];
  return LaterRowHeight;
}

int RowTop(int questionNumber) {
  int top = RowGap;
  for (int i = 1; i < questionNumber && i <= MaxQuestions; ++i) top += RowHeight(i) + RowGap;
  return top;
}

int ContentHeight(int rowCount) {
  if (rowCount <= 0) return 0;
  return RowTop(rowCount + 1);
}

int ContentWidth(int rowCount, int answersPerQuestion, bool withRevealLabels) {
  int width = 0;
  if (rowCount > 0) {
    width = RowContentWidth;
    if (withRevealLabels) width += RevealLabelWidth + RevealLabelGap;
  }
  return width + (HasSecondAnswer(answersPerQuestion) ? RightMarginTwoAnswers : RightMarginOneAnswer);
}

ControlBox AnswerFieldBox(int slot, int answersPerQuestion, int top, int rowHeight) {
  if (!HasSecondAnswer(answersPerQuestion)) return {AnswerFieldX, top, AnswerFieldWidth, rowHeight};
  int pairWidth = TwoAnswerFieldWidth + TwoAnswerGap + TwoFeedbackLabelWidth + TwoAnswerGap;
  return {AnswerFieldX + (slot - 1) * pairWidth, top, TwoAnswerFieldWidth, rowHeight};
}

ControlBox FeedbackLabelBox(int slot, int answersPerQuestion, int top, int rowHeight) {
  if (!HasSecondAnswer(answersPerQuestion)) return {FeedbackLabelX, top, FeedbackLabelWidth, rowHeight};
  ControlBox field = AnswerFieldBox(slot, answersPerQuestion, top, rowHeight);
  return {field.x + field.width + TwoAnswerGap, top, TwoFeedbackLabelWidth, rowHeight};
}

ControlBox RevealLabelBox(int answersPerQuestion, int top, int rowHeight) {
  ControlBox last = FeedbackLabelBox(FieldsPerQuestion(answersPerQuestion), answersPerQuestion, top, rowHeight);
  return {last.x + last.width + RevealLabelGap, top, RevealLabelWidth, rowHeight};
}

int NewVerticalPosition(const ScrollBarState& bar, int code, int scrollTarget) {
  long long position = bar.position;
  switch (code) {
    case LineUp: position -= LineStepVertical; break;
    case LineDown: position += LineStepVertical; break;
    case PageUp: position -= bar.page; break;
    case PageDown: position += bar.page; break;
    case ThumbTrack: position = bar.trackPosition; break;
    case Top: position = 0; break;
    case Bottom: position = bar.maximum; break;
    case ScrollWheelDown: position += WheelStep; break;
    case ScrollWheelUp: position -= WheelStep; break;
    case ScrollToTarget: position = scrollTarget; break;
    default: break;  // SB_THUMBPOSITION, SB_ENDSCROLL and the rest
  }
  return Clamp(position, bar.minimum, bar.maximum);
}

int NewHorizontalPosition(const ScrollBarState& bar, int code) {
  long long position = bar.position;
  switch (code) {
    case LineUp: position -= LineStepHorizontal; break;
    case LineDown: position += LineStepHorizontal; break;
    case PageUp: position -= bar.page; break;
    case PageDown: position += bar.page; break;
    case ThumbTrack: position = bar.trackPosition; break;
    default: break;  // SB_THUMBPOSITION, SB_LEFT, SB_RIGHT, SB_ENDSCROLL
  }
  return Clamp(position, bar.minimum, bar.maximum);
}

ScrollBarFit FitScrollBar(int contentExtent, int clientExtent, int scrollUnit) {
  int visible = clientExtent / (scrollUnit > 0 ? scrollUnit : 1);
  ScrollBarFit fit = {false, contentExtent - 2, 0};
  if (contentExtent <= visible) {
    fit.resetPosition = true;
    visible = contentExtent;
  }
  fit.page = visible - 1;
  return fit;
}

int WheelRequestCode(unsigned delta) {
  if (delta == 120) return ScrollWheelUp;
  if (delta == 65416) return ScrollWheelDown;
  return -1;
}

bool TabJumpsToTop(int fieldId, bool shiftHeld, int questionCount) {
  if (questionCount <= 0) return false;
  int t = fieldId + (shiftHeld ? -1 : 1) - 4000;
  return t % questionCount == 1;
}

bool FieldOutsidePanel(int fieldTop, int fieldBottom, int panelTop, int panelBottom) {
  return fieldBottom > panelBottom || fieldTop < panelTop;
}

uint32_t NumberLabelTextColour(uint8_t backgroundRed, uint8_t backgroundGreen) {
  return (backgroundRed <= 59 && backgroundGreen <= 59) ? 0x00FFFFFFu : 0x00000000u;
}

LabelKind ClassifyLabel(int id, int questionCount, int answersPerQuestion) {
  long long fields = static_cast<long long>(questionCount) * answersPerQuestion;
  if (id == IDC_NUMBER_LABEL || (id > IDC_REVEAL_BASE && id <= IDC_REVEAL_BASE + fields)) {
    return LabelKind::NumberOrReveal;
  }
  if (id > IDC_FEEDBACK_BASE && id <= IDC_FEEDBACK_BASE + fields) return LabelKind::Feedback;
  if (id == IDC_QUESTION_LABEL) return LabelKind::Question;
  return LabelKind::Other;
}

FeedbackFill FeedbackFillFor(const char* verdictWord) {
  if (std::strcmp(verdictWord, VerdictAnagram) == 0) return FeedbackFill::Orange;
  if (std::strcmp(verdictWord, VerdictBravo) == 0) return FeedbackFill::Green;
  if (std::strcmp(verdictWord, VerdictWrong) == 0) return FeedbackFill::Red;
  if (std::strcmp(verdictWord, VerdictEmpty) == 0) return FeedbackFill::SystemDefault;
  return FeedbackFill::Gold;
}

// The arithmetic of the question panel: row heights and tops, the content
// size, the scroll positions, the Tab keep-in-view test and the colour
// choices. Portable: no windows.h, so it is unit-tested natively.
#pragma once
#include <cstdint>

#include "quiz_format.h"

enum : int {
  ScrollWheelDown = 500,  // private WM_VSCROLL request: position + 50
  ScrollWheelUp = 501,    // position - 50
  ScrollToTarget = 502,   // position := scrollTarget
};

enum : int {
  RowGap = 5,              // between rows, and above the first one
  RowContentWidth = 1030,  // right edge of a one-answer row plus its margin
  RightMarginOneAnswer = 20,
  RightMarginTwoAnswers = 80,
  NumberLabelX = 26,
  NumberLabelDy = 2,
  NumberLabelWidth = 19,
  NumberLabelHeight = 17,
  QuestionLabelX = 50,
  QuestionLabelWidth = 550,
  AnswerFieldX = 610,
  AnswerFieldWidth = 300,
  FeedbackLabelX = 920,
  FeedbackLabelWidth = 100,
  // Two answers per question share the one-answer span plus the extra 80 pixels.
  TwoAnswerFieldWidth = 140,
  TwoFeedbackLabelWidth = 90,
  TwoAnswerGap = 10,
  // Reveal labels stand right of the row's last feedback label.
  RevealLabelWidth = 400,
  RevealLabelGap = 10,
  LineStepVertical = 310,
  LineStepHorizontal = 1,
  WheelStep = 50,
  TabTargetAbove = 360,  // scrollTarget is the field's screen top minus this
};

// Row height of question number i (from 1); the text plays no part.
int RowHeight(int questionNumber);
// Top of the row of question number i when every question before it has a row.
int RowTop(int questionNumber);
// The top of the row that would follow rowCount rows: 0 when there are none.
int ContentHeight(int rowCount);
// Content width after building rowCount rows.
int ContentWidth(int rowCount, int answersPerQuestion, bool withRevealLabels);

struct ControlBox {
  int x, y, width, height;
};
ControlBox AnswerFieldBox(int slot, int answersPerQuestion, int top, int rowHeight);
ControlBox FeedbackLabelBox(int slot, int answersPerQuestion, int top, int rowHeight);
ControlBox RevealLabelBox(int answersPerQuestion, int top, int rowHeight);

struct ScrollBarState {
  int minimum, maximum, page, position, trackPosition;
};
// The requested position for a WM_VSCROLL code, clamped to [minimum, maximum].
int NewVerticalPosition(const ScrollBarState& bar, int code, int scrollTarget);
// The same for WM_HSCROLL (no private codes).
int NewHorizontalPosition(const ScrollBarState& bar, int code);

struct ScrollBarFit {
  bool resetPosition;  // the content fits: position 0
  int maximum;         // extent - 2
  int page;            // visible extent - 1
};
ScrollBarFit FitScrollBar(int contentExtent, int clientExtent, int scrollUnit);

// The private request for a wheel delta (high word of wParam, unsigned), or
// -1 when the delta is not exactly one notch.
int WheelRequestCode(unsigned delta);

// Tab released in answer field fieldId: whether the panel jumps to the top.
bool TabJumpsToTop(int fieldId, bool shiftHeld, int questionCount);
// Whether a field's screen rectangle leaves the panel's (strict comparisons).
bool FieldOutsidePanel(int fieldTop, int fieldBottom, int panelTop, int panelBottom);

// Text colour (0x00BBGGRR) of the number and reveal labels on the background.
uint32_t NumberLabelTextColour(uint8_t backgroundRed, uint8_t backgroundGreen);

enum class LabelKind { NumberOrReveal, Feedback, Question, Other };
LabelKind ClassifyLabel(int id, int questionCount, int answersPerQuestion);

enum class FeedbackFill { Orange, Green, Red, Gold, SystemDefault };
FeedbackFill FeedbackFillFor(const char* verdictWord);

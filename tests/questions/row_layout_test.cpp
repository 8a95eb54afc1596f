#include "questions/row_layout.h"

#include <gtest/gtest.h>

namespace {

struct HeightCase { int question; int height; };
const HeightCase HeightCases[] = {
    {1, 20}, {2, 55}, {6, 45}, {7, 45}, {12, 60}, {13, 30}, {14, 68}, {22, 30},
    {25, 30}, {26, 20}, {29, 45}, {33, 20}, {34, 50}, {100, 50}, {255, 50},
};

TEST(RowLayout, RowHeightFollowsTheTableThenFifty) {
  for (const HeightCase& c : HeightCases) EXPECT_EQ(RowHeight(c.question), c.height) << c.question;
}

struct TopCase { int question; int top; };
const TopCase TopCases[] = {{1, 5}, {2, 30}, {3, 90}, {4, 115}, {15, 5 + 14 * 5 + 493}};

TEST(RowLayout, RowTopsStackHeightPlusGap) {
  for (const TopCase& c : TopCases) EXPECT_EQ(RowTop(c.question), c.top) << c.question;
}

struct ContentCase { int rows, answers; bool reveal; int width, height; };
const ContentCase ContentCases[] = {
    {3, 1, false, 1050, 115},
    {3, 2, false, 1110, 115},
    {0, 1, false, 20, 0},
    {0, 2, true, 80, 0},
    {1, 1, false, 1050, 30},
    {3, 1, true, 1460, 115},
    {3, 2, true, 1520, 115},
    {3, 255, false, 1050, 115},  // only 2 widens by 80
    {34, 1, false, 1050, 5 + 33 * 5 + 948 + 55},
    {255, 1, false, 1050, 5 + 33 * 5 + 948 + 222 * 55},
};

TEST(RowLayout, ContentSize) {
  for (const ContentCase& c : ContentCases) {
    EXPECT_EQ(ContentWidth(c.rows, c.answers, c.reveal), c.width) << c.rows << "/" << c.answers;
    EXPECT_EQ(ContentHeight(c.rows), c.height) << c.rows;
  }
}

struct IdCase { int question, slot, answers, id; };
const IdCase IdCases[] = {
    {1, 1, 1, 4001}, {3, 1, 1, 4003}, {1, 1, 2, 4001}, {1, 2, 2, 4002},
    {3, 1, 2, 4005}, {3, 2, 2, 4006}, {3, 1, 7, 4003},
};

TEST(RowLayout, AnswerFieldIdsMatchTheVerdictNumbering) {
  for (const IdCase& c : IdCases)
    EXPECT_EQ(AnswerFieldId(c.question, c.slot, c.answers), c.id) << c.question << "/" << c.slot;
}

TEST(RowLayout, RevealModesAndFieldLimit) {
  const bool reveal[] = {false, false, true, true, true, false, false};
  for (int mode = 0; mode < 7; ++mode) EXPECT_EQ(HasRevealLabels(mode), reveal[mode]) << mode;
  EXPECT_EQ(AnswerFieldLimit(3, 2), 6);
  EXPECT_EQ(AnswerFieldLimit(255, 1), 255);
  EXPECT_EQ(AnswerFieldLimit(255, 255), 510);
  EXPECT_EQ(AnswerFieldLimit(-3, 1), 0);
  EXPECT_EQ(AnswerFieldLimit(2000000000, 2000000000), 510);
}

const int kTarget = 777;
struct ScrollCase { int code; int expected; };
// minimum 0, maximum 2000, page 300, position 1000, track 1234
const ScrollCase VerticalCases[] = {
    {0, 690}, {1, 1310}, {2, 700}, {3, 1300}, {4, 1000}, {5, 1234}, {6, 0}, {7, 2000},
    {8, 1000}, {500, 1050}, {501, 950}, {502, kTarget}, {499, 1000}, {503, 1000},
};

TEST(RowLayout, VerticalScrollCodes) {
  ScrollBarState bar = {0, 2000, 300, 1000, 1234};
  for (const ScrollCase& c : VerticalCases)
    EXPECT_EQ(NewVerticalPosition(bar, c.code, kTarget), c.expected) << c.code;
}

const ScrollCase HorizontalCases[] = {
    {0, 999}, {1, 1001}, {2, 700}, {3, 1300}, {4, 1000}, {5, 1234}, {6, 1000}, {7, 1000},
    {500, 1000}, {502, 1000},
};

TEST(RowLayout, HorizontalScrollCodes) {
  ScrollBarState bar = {0, 2000, 300, 1000, 1234};
  for (const ScrollCase& c : HorizontalCases)
    EXPECT_EQ(NewHorizontalPosition(bar, c.code), c.expected) << c.code;
}

TEST(RowLayout, ScrollPositionsAreClamped) {
  ScrollBarState nearTop = {0, 2000, 300, 100, 5000};
  EXPECT_EQ(NewVerticalPosition(nearTop, 0, 0), 0);
  EXPECT_EQ(NewVerticalPosition(nearTop, 501, 0), 50);
  EXPECT_EQ(NewVerticalPosition(nearTop, 5, 0), 2000);
  EXPECT_EQ(NewVerticalPosition(nearTop, 502, -400), 0);
  EXPECT_EQ(NewVerticalPosition(nearTop, 502, 99999), 2000);
  ScrollBarState nearEnd = {0, 2000, 300, 1990, 0};
  EXPECT_EQ(NewVerticalPosition(nearEnd, 1, 0), 2000);
  EXPECT_EQ(NewVerticalPosition(nearEnd, 500, 0), 2000);
  EXPECT_EQ(NewHorizontalPosition(nearEnd, 3), 2000);
  ScrollBarState atZero = {0, 2000, 300, 0, 0};
  EXPECT_EQ(NewHorizontalPosition(atZero, 0), 0);
}

struct FitCase { int content, client, unit; bool reset; int maximum, page; };
const FitCase FitCases[] = {
    {1050, 500, 1, false, 1048, 499},
    {115, 300, 1, true, 113, 114},   // fits: the page covers the range
    {300, 300, 1, true, 298, 299},   // exactly fits
    {301, 300, 1, false, 299, 299},
    {0, 200, 1, true, -2, -1},       // no rows
    {1050, 500, 0, false, 1048, 499},  // a zero unit counts as one
};

TEST(RowLayout, ScrollBarFit) {
  for (const FitCase& c : FitCases) {
    ScrollBarFit fit = FitScrollBar(c.content, c.client, c.unit);
    EXPECT_EQ(fit.resetPosition, c.reset) << c.content << "/" << c.client;
    EXPECT_EQ(fit.maximum, c.maximum) << c.content << "/" << c.client;
    EXPECT_EQ(fit.page, c.page) << c.content << "/" << c.client;
    // The bar then accepts at most maximum - page + 1: the extent past the client.
    if (!c.reset) EXPECT_EQ(fit.maximum - fit.page + 1, c.content - c.client);
  }
}

TEST(RowLayout, WheelDeltas) {
  EXPECT_EQ(WheelRequestCode(120), ScrollWheelUp);
  EXPECT_EQ(WheelRequestCode(65416), ScrollWheelDown);
  const unsigned ignored[] = {0, 240, 65296, 119, 121, 1};
  for (unsigned delta : ignored) EXPECT_EQ(WheelRequestCode(delta), -1) << delta;
}

struct TabCase { int id; bool shift; int count; bool top; };
const TabCase TabCases[] = {
    {4004, false, 4, true},   // t = 5, r = 1
    {4002, true, 4, true},    // t = 1
    {4001, false, 4, false},  // t = 2
    {4003, false, 4, false},
    {4001, true, 4, false},   // t = 0
    {4000, true, 4, false},   // t = -1: remainder -1 keeps its sign
    {4001, false, 1, false},  // t = 2, r = 0
    {4001, false, 0, false},  // no question: no division
    {4008, false, 4, true},   // t = 9, r = 1
};

TEST(RowLayout, TabJumpsToTopWhenTheRemainderIsOne) {
  for (const TabCase& c : TabCases)
    EXPECT_EQ(TabJumpsToTop(c.id, c.shift, c.count), c.top) << c.id << " shift " << c.shift;
}

TEST(RowLayout, FieldOutsidePanelIsStrict) {
  EXPECT_FALSE(FieldOutsidePanel(100, 120, 100, 120));
  EXPECT_TRUE(FieldOutsidePanel(100, 121, 100, 120));
  EXPECT_TRUE(FieldOutsidePanel(99, 110, 100, 120));
  EXPECT_FALSE(FieldOutsidePanel(105, 115, 100, 120));
}

struct ColourCase { uint8_t red, green; uint32_t colour; };
const ColourCase ColourCases[] = {
    {59, 59, 0xFFFFFF}, {0, 0, 0xFFFFFF}, {60, 0, 0}, {59, 60, 0}, {255, 255, 0}, {0, 59, 0xFFFFFF},
};

TEST(RowLayout, NumberLabelTextColour) {
  for (const ColourCase& c : ColourCases)
    EXPECT_EQ(NumberLabelTextColour(c.red, c.green), c.colour) << int(c.red) << "," << int(c.green);
}

struct KindCase { int id, count, answers; LabelKind kind; };
const KindCase KindCases[] = {
    {153, 3, 1, LabelKind::NumberOrReveal}, {8001, 3, 1, LabelKind::NumberOrReveal},
    {8003, 3, 1, LabelKind::NumberOrReveal}, {8004, 3, 1, LabelKind::Other},
    {8006, 3, 2, LabelKind::NumberOrReveal}, {8000, 3, 1, LabelKind::Other},
    {5001, 3, 1, LabelKind::Feedback}, {5003, 3, 1, LabelKind::Feedback},
    {5004, 3, 1, LabelKind::Other}, {5006, 3, 2, LabelKind::Feedback},
    {5000, 3, 1, LabelKind::Other}, {3000, 3, 1, LabelKind::Question},
    {3000, 0, 1, LabelKind::Question}, {5001, 0, 1, LabelKind::Other},
    {8000 + 65025, 255, 255, LabelKind::NumberOrReveal}, {8000, 255, 255, LabelKind::Feedback},
    {4001, 3, 1, LabelKind::Other},
};

TEST(RowLayout, LabelKinds) {
  for (const KindCase& c : KindCases)
    EXPECT_EQ(ClassifyLabel(c.id, c.count, c.answers), c.kind) << c.id;
}

struct FillCase { const char* word; FeedbackFill fill; };
const FillCase FillCases[] = {
    {"Anagramme", FeedbackFill::Orange}, {"BRAVO", FeedbackFill::Green},
    {"FAUX", FeedbackFill::Red}, {"?", FeedbackFill::SystemDefault},
    {"Presque", FeedbackFill::Gold}, {"Quasiment", FeedbackFill::Gold},
    {"y a de l'idée", FeedbackFill::Gold}, {"bravo", FeedbackFill::Gold},
    {"", FeedbackFill::Gold}, {"BRAVO ", FeedbackFill::Gold},
};

TEST(RowLayout, FeedbackFillByWord) {
  for (const FillCase& c : FillCases) EXPECT_EQ(FeedbackFillFor(c.word), c.fill) << c.word;
}

}  // namespace

// The question panel's arithmetic: rows and their controls' boxes, the
// scroll positions, the Tab rules and the colour choices.
#include "row_layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(RowLayout, RowHeightsTopsAndContentSize) {
  // clang-format off
  const struct { int question, height; } heights[] = {
      {1, 20}, {2, 55}, {6, 45}, {7, 45}, {12, 60}, {13, 30}, {14, 68}, {22, 30},
      {25, 30}, {26, 20}, {29, 45}, {33, 20}, {34, 50}, {100, 50}, {255, 50},
  };
  const struct { int question, top; } tops[] = {{1, 5}, {2, 30}, {3, 90}, {4, 115}, {15, 5 + 14 * 5 + 493}, {300, 13328}};
  const struct { int rows, answers; bool reveal; int width, height; } sizes[] = {
      {3, 1, false, 1050, 115}, {3, 2, false, 1110, 115}, {0, 1, false, 20, 0}, {0, 2, true, 80, 0},
      {1, 1, false, 1050, 30}, {3, 1, true, 1460, 115}, {3, 2, true, 1520, 115}, {3, 255, false, 1050, 115},
      {34, 1, false, 1050, 5 + 33 * 5 + 948 + 55}, {255, 1, false, 1050, 5 + 33 * 5 + 948 + 222 * 55},
  };
  // clang-format on
  for (const auto& c : heights) EXPECT_EQ(RowHeight(c.question), c.height) << c.question;
  for (const auto& c : tops) EXPECT_EQ(RowTop(c.question), c.top) << c.question;
  for (const auto& c : sizes) {
    EXPECT_EQ(ContentWidth(c.rows, c.answers, c.reveal), c.width) << c.rows << "/" << c.answers;
    EXPECT_EQ(ContentHeight(c.rows), c.height) << c.rows;
  }
}

std::tuple<int, int, int, int> Tie(const ControlBox& b) { return std::make_tuple(b.x, b.y, b.width, b.height); }

// Two answers per question share the one-answer span: field, label, field, label.
TEST(RowLayout, BoxesOfARow) {
  // clang-format off
  const struct { int slot, answers, fieldX, fieldWidth, labelX, labelWidth, revealX; } cases[] = {
      {1, 1, 610, 300, 920, 100, 1030}, {1, 255, 610, 300, 920, 100, 1030},
      {1, 2, 610, 140, 760, 90, 1110}, {2, 2, 860, 140, 1010, 90, 1110},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Tie(AnswerFieldBox(c.slot, c.answers, 30, 55)), std::make_tuple(c.fieldX, 30, c.fieldWidth, 55));
    EXPECT_EQ(Tie(FeedbackLabelBox(c.slot, c.answers, 30, 55)), std::make_tuple(c.labelX, 30, c.labelWidth, 55));
    EXPECT_EQ(Tie(RevealLabelBox(c.answers, 30, 55)), std::make_tuple(c.revealX, 30, 400, 55));
  }
}

TEST(RowLayout, ScrollCodes) {
  const ScrollBarState mid = {0, 2000, 300, 1000, 1234}, nearTop = {0, 2000, 300, 100, 5000},
                       nearEnd = {0, 2000, 300, 1990, 0};
  // clang-format off
  const struct { const ScrollBarState* bar; bool vertical; int code, target, expected; } cases[] = {
      {&mid, true, 0, 777, 690}, {&mid, true, 1, 777, 1310}, {&mid, true, 2, 777, 700}, {&mid, true, 3, 777, 1300},
      {&mid, true, 4, 777, 1000}, {&mid, true, 5, 777, 1234}, {&mid, true, 6, 777, 0}, {&mid, true, 7, 777, 2000},
      {&mid, true, 8, 777, 1000}, {&mid, true, 500, 777, 1050}, {&mid, true, 501, 777, 950}, {&mid, true, 502, 777, 777},
      {&mid, true, 499, 777, 1000}, {&mid, true, 503, 777, 1000},
      {&mid, false, 0, 0, 999}, {&mid, false, 1, 0, 1001}, {&mid, false, 2, 0, 700}, {&mid, false, 3, 0, 1300},
      {&mid, false, 4, 0, 1000}, {&mid, false, 5, 0, 1234}, {&mid, false, 6, 0, 1000}, {&mid, false, 7, 0, 1000},
      {&mid, false, 500, 0, 1000}, {&mid, false, 502, 0, 1000},
      {&nearTop, true, 0, 0, 0}, {&nearTop, true, 501, 0, 50}, {&nearTop, true, 5, 0, 2000},
      {&nearTop, true, 502, -400, 0}, {&nearTop, true, 502, 99999, 2000}, {&nearEnd, true, 1, 0, 2000},
      {&nearEnd, true, 500, 0, 2000}, {&nearEnd, false, 3, 0, 2000}, {&nearTop, false, 0, 0, 99},
  };
  // clang-format on
  for (const auto& c : cases) {
    int position = c.vertical ? NewVerticalPosition(*c.bar, c.code, c.target) : NewHorizontalPosition(*c.bar, c.code);
    EXPECT_EQ(position, c.expected) << (c.vertical ? "V" : "H") << c.code << " from " << c.bar->position;
  }
}

TEST(RowLayout, ScrollBarFitAndWheel) {
  // clang-format off
  const struct { int content, client, unit; bool reset; int maximum, page; } fits[] = {
      {1050, 500, 1, false, 1048, 499}, {115, 300, 1, true, 113, 114}, {300, 300, 1, true, 298, 299},
      {301, 300, 1, false, 299, 299}, {0, 200, 1, true, -2, -1}, {1050, 500, 0, false, 1048, 499},
  };
  const struct { unsigned delta; int code; } wheel[] = {
      {120, ScrollWheelUp}, {65416, ScrollWheelDown}, {0, -1}, {240, -1}, {65296, -1}, {119, -1}, {121, -1},
  };
  // clang-format on
  for (const auto& c : fits) {
    ScrollBarFit fit = FitScrollBar(c.content, c.client, c.unit);
    EXPECT_EQ(std::make_tuple(fit.resetPosition, fit.maximum, fit.page), std::make_tuple(c.reset, c.maximum, c.page))
        << c.content << "/" << c.client;
  }
  for (const auto& c : wheel) EXPECT_EQ(WheelRequestCode(c.delta), c.code) << c.delta;
}

TEST(RowLayout, TabJumpAndKeepInView) {
  // Jump when (field - 4000 + (shift ? -1 : 1)) % count is 1; a negative remainder keeps its sign.
  // clang-format off
  const struct { int id; bool shift; int count; bool top; } tabs[] = {
      {4004, false, 4, true}, {4002, true, 4, true}, {4001, false, 4, false}, {4003, false, 4, false},
      {4001, true, 4, false}, {4000, true, 4, false}, {4001, false, 1, false}, {4001, false, 0, false},
      {4008, false, 4, true},
  };
  const struct { int top, bottom; bool outside; } fields[] = {{100, 120, false}, {100, 121, true}, {99, 110, true}, {105, 115, false}};
  // clang-format on
  for (const auto& c : tabs) EXPECT_EQ(TabJumpsToTop(c.id, c.shift, c.count), c.top) << c.id << " shift " << c.shift;
  for (const auto& c : fields) EXPECT_EQ(FieldOutsidePanel(c.top, c.bottom, 100, 120), c.outside) << c.top;
}

TEST(RowLayout, ColoursAndLabelKinds) {
  using K = LabelKind;
  using F = FeedbackFill;
  // clang-format off
  const struct { uint8_t red, green; uint32_t colour; } colours[] = {
      {59, 59, 0xFFFFFF}, {0, 0, 0xFFFFFF}, {60, 0, 0}, {59, 60, 0}, {255, 255, 0}, {0, 59, 0xFFFFFF},
  };
  const struct { int id, count, answers; LabelKind kind; } kinds[] = {
      {153, 3, 1, K::NumberOrReveal}, {8001, 3, 1, K::NumberOrReveal}, {8003, 3, 1, K::NumberOrReveal},
      {8004, 3, 1, K::Other}, {8006, 3, 2, K::NumberOrReveal}, {8000, 3, 1, K::Other}, {5001, 3, 1, K::Feedback},
      {5003, 3, 1, K::Feedback}, {5004, 3, 1, K::Other}, {5006, 3, 2, K::Feedback}, {5000, 3, 1, K::Other},
      {3000, 3, 1, K::Question}, {3000, 0, 1, K::Question}, {5001, 0, 1, K::Other}, {4001, 3, 1, K::Other},
      {8000 + 65025, 255, 255, K::NumberOrReveal}, {8000, 255, 255, K::Feedback},
  };
  const struct { const char* word; FeedbackFill fill; } fills[] = {
      {"Anagramme", F::Orange}, {"BRAVO", F::Green}, {"FAUX", F::Red}, {"?", F::SystemDefault}, {"Presque", F::Gold},
      {"Quasiment", F::Gold}, {"y a de l'idée", F::Gold}, {"bravo", F::Gold}, {"", F::Gold}, {"BRAVO ", F::Gold},
  };
  // clang-format on
  for (const auto& c : colours)
    EXPECT_EQ(NumberLabelTextColour(c.red, c.green), c.colour) << int(c.red) << int(c.green);
  for (const auto& c : kinds) EXPECT_EQ(ClassifyLabel(c.id, c.count, c.answers), c.kind) << c.id;
  for (const auto& c : fills) EXPECT_EQ(FeedbackFillFor(c.word), c.fill) << c.word;
}

}  // namespace

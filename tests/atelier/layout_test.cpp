// The editor window's layout for any size: every control inside the window
// and clear of the others, the list taking what the window gains.
#include <gtest/gtest.h>

#include <vector>

#include "editor_layout.h"

namespace {

bool Inside(const Box& box, int width, int height) {
  return box.x >= 0 && box.y >= 0 && box.x + box.width <= width && box.y + box.height <= height;
}

bool Overlap(const Box& a, const Box& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::vector<Box> Boxes(const EditorLayout& layout) {
  std::vector<Box> boxes = {layout.answersLabel, layout.answers,  layout.revealLabel,   layout.reveal,
                            layout.colourLabel,  layout.swatch,   layout.colourButton,  layout.listLabel,
                            layout.list,         layout.rowLabel, layout.problemsLabel, layout.problems,
                            layout.suggestions[0], layout.suggestions[1]};
  for (const FieldBoxes& field : layout.fields) {
    if (field.field.width > 0) boxes.insert(boxes.end(), {field.label, field.field, field.counter});
  }
  for (const Box& button : layout.outputButtons) boxes.push_back(button);
  for (const Box& button : layout.listButtons) boxes.push_back(button);
  return boxes;
}

TEST(LayoutTest, EveryControlInsideAndApartAtAnySize) {
  // clang-format off
  const struct { int width, height; int listHeight; } cases[] = {
      {860, 600, 75},  // smaller than the window's smallest client area
      {1040, 672, 147}, {1366, 700, 175}, {1920, 1100, 575},
  };
  // clang-format on
  for (const auto& c : cases) {
    const EditorLayout layout = LayoutEditor(c.width, c.height, 22, 17);
    const int width = c.width, height = c.height - 22;
    const std::vector<Box> boxes = Boxes(layout);
    EXPECT_EQ(boxes.size(), 56u);
    for (size_t a = 0; a < boxes.size(); ++a) {
      EXPECT_TRUE(Inside(boxes[a], width, height)) << c.width << " " << a;
      for (size_t b = a + 1; b < boxes.size(); ++b)
        EXPECT_FALSE(Overlap(boxes[a], boxes[b])) << c.width << " " << a << " " << b;
    }
    EXPECT_EQ(layout.list.height, c.listHeight) << c.width;
    int columns = 0;
    for (int width : layout.listColumns) columns += width;
    EXPECT_LE(columns + 17, layout.list.width) << c.width;
    EXPECT_EQ(layout.fields[static_cast<int>(QuizField::ExtraText1)].field.width, 0);
  }
}

}  // namespace

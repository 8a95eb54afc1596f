// Where the main window puts its panels and credit label for a client size,
// and where a window goes to be centred: the arithmetic alone, natively (the
// Windows tests see the real windows follow it).
#include "layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::tuple<int, int, int, int> Box(const PanelRect& r) { return {r.x, r.y, r.width, r.height}; }

TEST(MainLayout, PanelsAndCreditLabelFollowTheClientArea) {
  // clang-format off
  const struct { int width, height; std::tuple<int, int, int, int> question, header, credit; } cases[] = {
      {600, 400, {5, 50, 589, 332}, {5, 2, 589, 49}, {455, 384, 140, 15}},
      {528, 336, {5, 50, 517, 268}, {5, 2, 517, 49}, {383, 320, 140, 15}},
      {10, 20, {5, 50, -1, -48}, {5, 2, -1, 49}, {-135, 4, 140, 15}},  // smaller than the panels: passed on as is
  };
  // clang-format on
  for (const auto& c : cases) {
    const MainLayout layout = LayoutMainWindow(c.width, c.height);
    EXPECT_EQ(Box(layout.questionPanel), c.question) << c.width;
    EXPECT_EQ(Box(layout.headerPanel), c.header) << c.width;
    EXPECT_EQ(Box(layout.creditLabel), c.credit) << c.width;
  }
}

TEST(MainLayout, CentredWithHalvesTruncatedTowardZero) {
  // clang-format off
  const struct { int left, top, width, height, windowWidth, windowHeight, x, y; } cases[] = {
      {0, 0, 1280, 1024, MainWindowWidth, MainWindowHeight, 368, 324},
      {0, 0, 1281, 1025, 544, 375, 368, 325},
      {100, -20, 800, 600, 544, 375, 228, 92},    // an area that does not start at the origin
      {0, 0, 500, 300, 544, 375, -22, -37},       // a window larger than the area: -37.5 truncates to -37
  };
  // clang-format on
  for (const auto& c : cases) {
    const ScreenPoint corner = CentreInArea(c.left, c.top, c.width, c.height, c.windowWidth, c.windowHeight);
    EXPECT_EQ(std::make_pair(corner.x, corner.y), std::make_pair(c.x, c.y)) << c.width << "x" << c.height;
  }
}

}  // namespace

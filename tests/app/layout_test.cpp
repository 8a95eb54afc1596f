// Placement of the main window's panels and credit label, and the centring.
#include "layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::tuple<int, int, int, int> Tie(const PanelRect& r) { return std::make_tuple(r.x, r.y, r.width, r.height); }

TEST(MainLayout, PanelsAndCreditLabelFollowTheClientSize) {
  // clang-format off
  const struct { int width, height; PanelRect question, header, credit; } cases[] = {
      {600, 400, {5, 50, 589, 332}, {5, 2, 589, 49}, {455, 384, 140, 15}},
      {11, 68, {5, 50, 0, 0}, {5, 2, 0, 49}, {-134, 52, 140, 15}},
  };
  // clang-format on
  for (const auto& c : cases) {
    MainLayout layout = LayoutMainWindow(c.width, c.height);
    EXPECT_EQ(std::make_tuple(Tie(layout.questionPanel), Tie(layout.headerPanel), Tie(layout.creditLabel)),
              std::make_tuple(Tie(c.question), Tie(c.header), Tie(c.credit)))
        << c.width << " x " << c.height;
  }
}

TEST(MainLayout, CentringTruncatesTowardZero) {
  // A 544 x 375 window: the area's corner counts, odd leftovers, larger than the area, -1 / 2 is 0.
  // clang-format off
  const struct { int left, top, width, height, x, y; } cases[] = {
      {100, 50, 800, 600, 228, 162}, {0, 0, 1025, 769, 240, 197}, {0, 0, 400, 300, -72, -37}, {0, 0, 543, 374, 0, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    ScreenPoint corner = CentreInArea(c.left, c.top, c.width, c.height, 544, 375);
    EXPECT_EQ(std::make_pair(corner.x, corner.y), std::make_pair(c.x, c.y)) << c.width << " x " << c.height;
  }
}

}  // namespace

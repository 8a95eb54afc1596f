// Placement of the main window's panels and label, the centring, and the
// wheel notch rule.
#include <gtest/gtest.h>

#include <tuple>

#include "layout.h"

namespace {

std::tuple<int, int, int, int> Tie(const PanelRect& r) { return std::make_tuple(r.x, r.y, r.width, r.height); }

TEST(MainLayout, PanelsAndCreditLabelFollowTheClientSize) {
  const struct {
    int width, height;
    PanelRect question, header, credit;
  } cases[] = {
      {600, 400, {5, 50, 589, 332}, {5, 2, 589, 49}, {455, 384, 140, 15}},
      {11, 68, {5, 50, 0, 0}, {5, 2, 0, 49}, {-134, 52, 140, 15}},
  };
  for (const auto& c : cases) {
    MainLayout layout = LayoutMainWindow(c.width, c.height);
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    EXPECT_EQ(Tie(layout.questionPanel), Tie(c.question));
    EXPECT_EQ(Tie(layout.headerPanel), Tie(c.header));
    EXPECT_EQ(Tie(layout.creditLabel), Tie(c.credit));
  }
}

TEST(MainLayout, CentringTruncatesTowardZero) {
  const struct {
    int left, top, width, height, x, y;  // a 544 x 375 window
  } cases[] = {
      {100, 50, 800, 600, 228, 162},  // the area's corner counts
      {0, 0, 1025, 769, 240, 197},    // odd leftovers
      {0, 0, 400, 300, -72, -37},     // larger than the area
      {0, 0, 543, 374, 0, 0},         // -1 / 2 is 0, not -1
  };
  for (const auto& c : cases) {
    ScreenPoint corner = CentreInArea(c.left, c.top, c.width, c.height, 544, 375);
    EXPECT_EQ(std::make_pair(corner.x, corner.y), std::make_pair(c.x, c.y)) << c.width << " x " << c.height;
  }
}

}  // namespace

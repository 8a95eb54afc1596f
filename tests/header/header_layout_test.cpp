// Where the header panel's right-hand controls go for a given width.
#include "header_layout.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resource.h"

namespace {

std::tuple<int, int, int, int, int, bool> Tie(const HeaderPlace& p) {
  return std::make_tuple(p.id, p.x, p.y, p.width, p.height, p.repaint);
}

TEST(HeaderLayout, ControlsFollowTheRightEdge) {
  // At 324 pixels the explanation has no room left; narrower, it stays empty and the rest follows the edge.
  // clang-format off
  const struct { int width, linkX, authorX, saveX, separatorX, explanationWidth; } cases[] = {
      {600, 466, 493, 396, 455, 276}, {325, 191, 218, 121, 180, 1}, {324, 190, 217, 120, 179, 0}, {100, -34, -7, -104, -45, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    // clang-format off
    const HeaderPlace expected[HeaderPlaceCount] = {
        {IDC_WEB_LINK, c.linkX, 0, 115, 18, false}, {IDC_BY_LABEL, c.linkX, 25, 26, 18, false},
        {IDC_AUTHOR, c.authorX, 25, 105, 18, true}, {IDC_SAVE_BUTTON, c.saveX, 25, 55, 18, true},
        {IDC_EXPLANATION, 110, 19, c.explanationWidth, 28, true}, {IDC_SEPARATOR_RIGHT, c.separatorX, 0, 1, 50, true},
    };
    // clang-format on
    HeaderPlace places[HeaderPlaceCount];
    LayoutHeader(c.width, places);
    for (int k = 0; k < HeaderPlaceCount; ++k) EXPECT_EQ(Tie(places[k]), Tie(expected[k])) << "width " << c.width;
  }
}

}  // namespace

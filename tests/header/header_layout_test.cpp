// Where the header panel's right-hand controls go for a given width.
#include <gtest/gtest.h>

#include "header/header_layout.h"
#include "resource.h"

namespace {

struct HeaderCase {
  int width;
  int linkX, authorX, saveX, separatorX, explanationWidth;
};

const HeaderCase headerCases[] = {
    {600, 466, 493, 396, 455, 276},
    {325, 191, 218, 121, 180, 1},
    {324, 190, 217, 120, 179, 0},  // exactly wide enough: no room for the explanation
    {100, -34, -7, -104, -45, 0},  // narrower: the explanation stays empty, the rest follows the edge
};

TEST(HeaderLayout, ControlsFollowTheRightEdge) {
  for (const HeaderCase& c : headerCases) {
    const HeaderPlace expected[HeaderPlaceCount] = {
        {IDC_WEB_LINK, c.linkX, 0, 115, 18, false},
        {IDC_BY_LABEL, c.linkX, 25, 26, 18, false},
        {IDC_AUTHOR, c.authorX, 25, 105, 18, true},
        {IDC_SAVE_BUTTON, c.saveX, 25, 55, 18, true},
        {IDC_EXPLANATION, 110, 19, c.explanationWidth, 28, true},
        {IDC_SEPARATOR_RIGHT, c.separatorX, 0, 1, 50, true},
    };
    HeaderPlace places[HeaderPlaceCount];
    LayoutHeader(c.width, places);
    for (int k = 0; k < HeaderPlaceCount; ++k) {
      SCOPED_TRACE(testing::Message() << "width " << c.width << ", control " << expected[k].id);
      EXPECT_EQ(places[k].id, expected[k].id);
      EXPECT_EQ(places[k].x, expected[k].x);
      EXPECT_EQ(places[k].y, expected[k].y);
      EXPECT_EQ(places[k].width, expected[k].width);
      EXPECT_EQ(places[k].height, expected[k].height);
      EXPECT_EQ(places[k].repaint, expected[k].repaint);
    }
  }
}

}  // namespace

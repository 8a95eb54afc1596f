// Placement of the main window's panels and label, the centring, and the
// wheel notch rule.
#include <gtest/gtest.h>

#include "app/layout.h"

namespace {

void ExpectRect(const PanelRect& actual, PanelRect expected, const char* what) {
  EXPECT_EQ(actual.x, expected.x) << what;
  EXPECT_EQ(actual.y, expected.y) << what;
  EXPECT_EQ(actual.width, expected.width) << what;
  EXPECT_EQ(actual.height, expected.height) << what;
}

struct LayoutCase {
  int width, height;
  PanelRect question, header, credit;
};

const LayoutCase layoutCases[] = {
    {600, 400, {5, 50, 589, 332}, {5, 2, 589, 49}, {455, 384, 140, 15}},
    // The client area of a fresh 544 x 375 window with a caption and thin frame.
    {528, 336, {5, 50, 517, 268}, {5, 2, 517, 49}, {383, 320, 140, 15}},
    {11, 68, {5, 50, 0, 0}, {5, 2, 0, 49}, {-134, 52, 140, 15}},
    {0, 0, {5, 50, -11, -68}, {5, 2, -11, 49}, {-145, -16, 140, 15}},
};

TEST(MainLayout, PanelsAndCreditLabelFollowTheClientSize) {
  for (const LayoutCase& c : layoutCases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    MainLayout layout = LayoutMainWindow(c.width, c.height);
    ExpectRect(layout.questionPanel, c.question, "question panel");
    ExpectRect(layout.headerPanel, c.header, "header panel");
    ExpectRect(layout.creditLabel, c.credit, "credit label");
  }
}

struct CentreCase {
  int left, top, width, height, windowWidth, windowHeight;
  int x, y;
};

const CentreCase centreCases[] = {
    {0, 0, 1280, 1024, 544, 375, 368, 324},
    {0, 0, 1025, 769, 544, 375, 240, 197},     // odd leftovers: halves truncate
    {100, 50, 800, 600, 544, 375, 228, 162},   // the area's corner counts
    {0, 0, 400, 300, 544, 375, -72, -37},      // larger than the area: toward zero, not down
    {0, 0, 543, 374, 544, 375, 0, 0},          // -1 / 2 is 0, not -1
};

TEST(MainLayout, CentringTruncatesTowardZero) {
  for (const CentreCase& c : centreCases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.left << "," << c.top);
    ScreenPoint corner = CentreInArea(c.left, c.top, c.width, c.height, c.windowWidth, c.windowHeight);
    EXPECT_EQ(corner.x, c.x);
    EXPECT_EQ(corner.y, c.y);
  }
}

struct WheelCase {
  unsigned wheelWord;
  int code;
};

const WheelCase wheelCases[] = {
    {120, ScrollWheelUp},          // away from the user
    {65416, ScrollWheelDown},      // -120: towards the user
    {0xFFFF0000u | 65416, ScrollWheelDown},  // only the low 16 bits count
    {240, NoWheelScroll},              // two notches in one message
    {65296, NoWheelScroll},            // -240
    {60, NoWheelScroll},               // a fine-resolution step
    {0, NoWheelScroll},
    {121, NoWheelScroll},
    {65415, NoWheelScroll},
};

TEST(MainLayout, OnlyASingleNotchScrolls) {
  for (const WheelCase& c : wheelCases) {
    EXPECT_EQ(WheelScrollCode(c.wheelWord), c.code) << "wheel word " << c.wheelWord;
  }
}

}  // namespace

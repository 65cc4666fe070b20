// Zoom buttons, axis clicks and the printed rectangle of the plot window.
#include <gtest/gtest.h>

#include <climits>

#include "plot/zoom.h"

namespace tarvik {
namespace {

TEST(ZoomRange, InNarrowsToEightyPercentAndOutWidensToHundredTwenty) {
  const AxisRange in = ZoomRange({0, 100}, kZoomInPercent);
  EXPECT_DOUBLE_EQ(in.min, 10);
  EXPECT_DOUBLE_EQ(in.max, 90);
  const AxisRange out = ZoomRange(in, kZoomOutPercent);
  EXPECT_DOUBLE_EQ(out.min, 2);
  EXPECT_DOUBLE_EQ(out.max, 98);

  struct Case {
    AxisRange range;
    double percent;
    double min, max;
  };
  const Case cases[] = {
      {{-50, 50}, 110, -40, 40},
      {{-50, 50}, 90, -60, 60},
      {{100, 200}, 100, 100, 200},       // 100 % changes nothing
      {{5, 5}, 110, 5, 5},               // an empty range stays where it is
      {{0, 0.004}, 110, 0.0004, 0.0036},
      {{10, 0}, 110, 9, 1},              // reversed limits move towards each other all the same
      {{0, 100}, 150, 50, 50},           // 150 % meets in the middle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.range.min << ".." << c.range.max << " at " << c.percent);
    const AxisRange r = ZoomRange(c.range, c.percent);
    EXPECT_NEAR(r.min, c.min, 1e-12);
    EXPECT_NEAR(r.max, c.max, 1e-12);
  }
}

TEST(AxisClickRange, LeftWidensRightNarrowsOtherKeeps) {
  struct Case {
    AxisRange range;
    AxisButton button;
    double min, max;
  };
  const Case cases[] = {
      {{0, 100}, AxisButton::Left, -5, 105},
      {{0, 100}, AxisButton::Right, 5, 95},
      {{0, 100}, AxisButton::Other, 0, 100},
      {{0, 0.004}, AxisButton::Other, 0, 0.004},
      {{0, 0.004}, AxisButton::Left, -0.0002, 0.0042},
      {{-20, -10}, AxisButton::Left, -20.5, -9.5},
      {{-20, -10}, AxisButton::Right, -19.5, -10.5},
      {{7, 7}, AxisButton::Left, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.range.min << ".." << c.range.max << " button " << static_cast<int>(c.button));
    const AxisRange r = AxisClickRange(c.range, c.button);
    EXPECT_DOUBLE_EQ(r.min, c.min);
    EXPECT_DOUBLE_EQ(r.max, c.max);
  }
  // Both limits come from the range before the click: a left then a right click does not return
  // to the start (110 % of the width, then 90 % of that).
  const AxisRange back = AxisClickRange(AxisClickRange({0, 100}, AxisButton::Left), AxisButton::Right);
  EXPECT_DOUBLE_EQ(back.min, 0.5);
  EXPECT_DOUBLE_EQ(back.max, 99.5);
}

TEST(PrintRectangle, FivePercentMarginsTruncatedDown) {
  struct Case {
    int width, height;
    PrintRect rect;
  };
  const Case cases[] = {
      {3300, 2550, {165, 127, 3135, 2423}},
      {2550, 3300, {127, 165, 2423, 3135}},
      {4958, 7016, {247, 350, 4711, 6666}},  // 247.9 and 350.8 are truncated
      {19, 20, {0, 1, 19, 19}},
      {0, 0, {0, 0, 0, 0}},
      {INT_MAX, INT_MAX, {107374182, 107374182, INT_MAX - 107374182, INT_MAX - 107374182}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const PrintRect r = PrintRectangle(c.width, c.height);
    EXPECT_EQ(r.left, c.rect.left);
    EXPECT_EQ(r.top, c.rect.top);
    EXPECT_EQ(r.right, c.rect.right);
    EXPECT_EQ(r.bottom, c.rect.bottom);
  }
}

}  // namespace
}  // namespace tarvik

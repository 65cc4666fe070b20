// Zoom, axis-click and print-margin arithmetic of the plot window.
#pragma once

namespace tarvik {

struct AxisRange {
  double min = 0.0;
  double max = 0.0;
};

// Moves both limits by d = (max - min) * (percent - 100) / 100 towards the middle:
// percent 110 zooms in (0..100 becomes 10..90), 90 zooms out (10..90 becomes 2..98).
AxisRange ZoomRange(AxisRange range, double percent);
constexpr double kZoomInPercent = 110.0;
constexpr double kZoomOutPercent = 90.0;

// A click on an axis line: the left button widens the range by 5 % of its width at each end,
// the right button narrows it by as much; any other button leaves it unchanged.
enum class AxisButton { Left, Right, Other };
AxisRange AxisClickRange(AxisRange range, AxisButton button);

// The printed rectangle on a page of width x height printer pixels: margins
// mx = floor(width * 5 * 0.01) and my = floor(height * 5 * 0.01), from (mx, my) to
// (width - mx, height - my). 3300 x 2550 gives (165, 127)-(3135, 2423).
struct PrintRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
PrintRect PrintRectangle(int width, int height);

}  // namespace tarvik

#include "plot/zoom.h"

#include <cmath>

namespace tarvik {

AxisRange ZoomRange(AxisRange range, double percent) {
  const double d = (range.max - range.min) * (percent - 100) / 100;
  return {range.min + d, range.max - d};
}

AxisRange AxisClickRange(AxisRange range, AxisButton button) {
  // Both new limits come from the limits before the click.
  const double step = 0.05 * (range.max - range.min);
  switch (button) {
    case AxisButton::Left:
      return {range.min - step, range.max + step};
    case AxisButton::Right:
      return {range.min + step, range.max - step};
    case AxisButton::Other:
      break;
  }
  return range;
}

PrintRect PrintRectangle(int width, int height) {
  // The margins are 5 % of the page, computed in double as W x 5 x 0.01 and truncated down.
  const int mx = static_cast<int>(std::floor(static_cast<double>(width) * 5 * 0.01));
  const int my = static_cast<int>(std::floor(static_cast<double>(height) * 5 * 0.01));
  PrintRect r;
  r.left = mx;
  r.top = my;
  r.right = width - mx;
  r.bottom = height - my;
  return r;
}

}  // namespace tarvik

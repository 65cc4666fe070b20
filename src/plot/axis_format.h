// Picture formats of the chart axes ("#,##0.###", "#,##0.00", "0.00E+00", "0.00E-00", "#0.##",
// "#", "#.##"), the choice of format for given axis limits, and the hh:mm label of the XY page.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The format for an axis running from min to max, first matching rule: "0.00E+00" when
// max > 1e6 or min < -1e6; "0.00E-00" when max < 0.01; "#,##0.###" when max - min >= 1;
// otherwise "#,##0.00".
std::string PickAxisFormat(double min, double max);

// Renders value in one of the picture formats above, as a spreadsheet-style picture renders:
// '0' is a digit always shown, '#' a digit shown only when significant, ',' between digits asks
// for thousands separators, '.' the decimal point (dropped when no decimal digit follows), "E+"
// an exponent always signed, "E-" an exponent signed only when negative. Rounds half away from
// zero; separators are ',' and '.' whatever the locale. A format outside the list is rendered
// as "%g".
std::string FormatPicture(double value, std::string_view picture);

// "%02d:%02d" of the hours and minutes of x seconds, each truncated toward zero (hours not
// reduced modulo 24): 45000 gives "12:30", 90000 gives "25:00".
std::string HourMinuteLabel(double seconds);

}  // namespace tarvik

#include <gtest/gtest.h>

#include <string>

#include "scan/core/scan_context.h"
#include "scan/header/header_lines.h"
#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

TEST(HeaderLinesLength, LimitIsMaxMinus32AndMessageNamesMaxMinus1) {
  struct Case {
    size_t length;  // characters including the line feed
    bool tooLong;
  } cases[] = {{991, false}, {992, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    ScanContext ctx;
    ASSERT_EQ(ctx.run.maxLineLength, 1023);
    std::string text = std::string(c.length - 1, 'x') + "\n";
    size_t kept = checkLineLength(ctx, 4, text, "Line Length Truncated");
    if (c.tooLong) {
      EXPECT_EQ(kept, 0u);
      EXPECT_EQ(ctx.report.contents(),
                red("ERROR (Line Length Truncated): Header Line4: The text on this line is too long (max=1022).<br>This error could also be due to \"carriage returns\" being missing.<br>") +
                    echoA(4, text));
    } else {
      EXPECT_EQ(kept, c.length);
      EXPECT_EQ(ctx.report.contents(), "");
    }
  }
}

TEST(HeaderLinesLength, LimitFollowsARaisedMaximum) {
  ScanContext ctx;
  ctx.run.maxLineLength = 3072;
  std::string text = std::string(3040, 'x');
  EXPECT_EQ(checkLineLength(ctx, 9, text, "T"), 3040u);
  text.push_back('x');
  EXPECT_EQ(checkLineLength(ctx, 9, text, "T"), 0u);
  EXPECT_TRUE(has(ctx.report.contents(), "ERROR (T): Header Line9: The text on this line is too long (max=3071)."));
}

TEST(HeaderLinesLength, TrailingSpaces) {
  struct Case {
    std::string text;
    std::string kept;
    std::string report;
  } cases[] = {
      {"abc     \n", "abc     \n", ""},
      {"abc      \n", "abc\n",
       orange("Warning: Header Line3 has too many trailing spaces (Line_Length=4, Spaces_Count = 6).<br>") + echoA(3, "abc\n")},
      {"a b        \r\n", "a b\n",
       orange("Warning: Header Line3 has too many trailing spaces (Line_Length=4, Spaces_Count = 8).<br>") + echoA(3, "a b\n")},
      // The first character is never examined.
      {"      \n", "      \n", ""},
      {"        \n", " \n",
       orange("Warning: Header Line3 has too many trailing spaces (Line_Length=2, Spaces_Count = 7).<br>") + echoA(3, " \n")},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScanContext ctx;
    size_t kept = checkLineLength(ctx, 3, c.text, "Line Length Truncated");
    EXPECT_EQ(c.text, c.kept);
    EXPECT_EQ(kept, c.kept.size());
    EXPECT_EQ(ctx.report.contents(), c.report);
  }
}

TEST(HeaderLinesLength, TrimmedTextIsWhatTheHeaderKeeps) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.pi = "Ostrel, Corvane      ";
  b.org = "Ostrel Test Laboratory     ";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 0) << s.header;
  EXPECT_EQ(s.messages,
            std::string(kHeaderStart) +
                orange("Warning: Header Line2 has too many trailing spaces (Line_Length=16, Spaces_Count = 6).<br>") +
                echoA(2, "Ostrel, Corvane\n"));
  EXPECT_TRUE(has(s.header, row(2, "PI Name", "Ostrel, Corvane\n")));
  EXPECT_TRUE(has(s.header, row(3, "PI Organization", "Ostrel Test Laboratory     \n")));
}

}  // namespace
}  // namespace tarvik::test

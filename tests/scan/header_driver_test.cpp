#include <gtest/gtest.h>

#include <string>

#include "scan/header_test_util.h"

namespace tarvik::test {
namespace {

using namespace hdr;

const std::string kHint =
    "Ths error could be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments or NumNormalComments.<br>\n";

std::string valuesRead(int nh, int nv, int nscom, int nncom) {
  return "Values Read: NumHeaderLines=" + std::to_string(nh) + "; NumVariables=" + std::to_string(nv) +
         "; NumSpecialComments=" + std::to_string(nscom) + "; NumNormalComments=" + std::to_string(nncom) + "<br>\n";
}

TEST(HeaderDriverNh, Formula1001) {
  // NV 3, NSCOM 1, NNCOM 20: NH must be 38. (A smaller NH makes the short-names line a data line
  // for the line-ending pass, which stops there; a larger one reaches the header's sum check.)
  IcarttBuilder b = IcarttBuilder::ffi1001(1);
  b.specialComments = {"One special comment"};
  b.normalComments.push_back("OTHER_NOTE: one more");
  b.normalComments.push_back("OTHER_NOTE: and another");
  ASSERT_EQ(b.computedNH(), 38);
  {
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, 0) << s.messages;
    EXPECT_EQ(s.messages, kHeaderStart);
  }
  b.nh = 39;
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages,
            kHeaderStart +
                red("<br>Error Header Line1, where, 39(read) != 38(expected). The NumHeaderLines Value for FFI=1001 File type must equal to (14 + NumVariables + NumSpecialComments + NumNormalComments).<br>\n" +
                    valuesRead(39, 3, 1, 20)));
  EXPECT_FALSE(has(s.header, kSummaryStart));
}

TEST(HeaderDriverNh, Formula2110And2310) {
  struct Case {
    IcarttBuilder b;
    int nh;
    std::string message;
  };
  IcarttBuilder b2110 = IcarttBuilder::ffi2110();
  b2110.auxVars = {"Stop_UTC, seconds, Stop time"};  // NV 2, NAUXV 1, NSCOM 0, NNCOM 18: NH 39
  IcarttBuilder b2310 = IcarttBuilder::ffi2310();    // NV 2, NAUXV 5, NSCOM 0, NNCOM 18: NH 43
  Case cases[] = {
      {b2110, 38,
       "<br>Error Header Line1, where, 38(read) != 39(expected). The NumHeaderLines Value for FFI=2110 File type must equal to (18 + NumIndependentVars + NumAuxiliaryVars + NumSpecialComments + NumNormalComments).<br>\n"
       "Values Read: NumHeaderLines=38; NumIndependentVars=2; NumAuxiliaryVars=1; NumSpecialComments=0; NumNormalComments=18<br>\n"},
      {b2310, 44,
       "<br>Error Header Line1, where, 44(read) != 43(expected). The NumHeaderLines Value for FFI=2310 File type must equal to (18 + NumIndependentVars + NumAuxiliaryVars + NumSpecialComments + NumNormalComments).<br>\n"
       "Values Read: NumHeaderLines=44; NumIndependentVars=2; NumAuxiliaryVars=5; NumSpecialComments=0; NumNormalComments=18<br>\n"},
  };
  ASSERT_EQ(b2110.computedNH(), 39);
  ASSERT_EQ(b2310.computedNH(), 43);
  for (Case& c : cases) {
    SCOPED_TRACE(c.b.ffi);
    {
      Scan s = scan(c.b);
      EXPECT_EQ(s.messages, kHeaderStart);  // the header passes as built
    }
    c.b.nh = c.nh;
    Scan s = scan(c.b);
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + red(c.message));
  }
}

TEST(HeaderDriverNh, NoNormalCommentsStillReadsTheShortNamesLine) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  b.normalComments.clear();
  b.nncomLine = "0";
  ASSERT_EQ(b.computedNH(), 19);  // the lines written: 18 + the short-names line
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages,
            kHeaderStart +
                red("<br>Error Header Line1, where, 19(read) != 18(expected). The NumHeaderLines Value for FFI=1001 File type must equal to (14 + NumVariables + NumSpecialComments + NumNormalComments).<br>\n" +
                    valuesRead(19, 4, 0, 0)));
}

TEST(HeaderDriverShortNames, InvalidCharacters) {
  struct Case {
    std::string line;
    std::string messages;
  } cases[] = {
      {"St\tart_UTC, Stop_UTC, Mid_UTC, V1, V2",
       red("<br>Error on Line36: Found an invalid character on this line at location 3. The invalid character is a \n'tab'.\n") +
           echoD(36, "St\tart_UTC, Stop_UTC, Mid_UTC, V1, V2\n")},
      {"Start_UTC; Stop_UTC, Mid_UTC, V1;V2",
       red("<br>Error on Line36: Found an invalid character on this line at location 10. The invalid character is a \n 'semicolon'.\n") +
           red("<br>Error on Line36: Found an invalid character on this line at location 33. The invalid character is a \n 'semicolon'.\n") +
           echoD(36, "Start_UTC; Stop_UTC, Mid_UTC, V1;V2\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.shortNames = c.line;
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
  }
}

TEST(HeaderDriverShortNames, CaseAndSpacesDoNotMatter) {
  for (IcarttBuilder b : {IcarttBuilder::ffi1001(), IcarttBuilder::ffi2110(), IcarttBuilder::ffi2310()}) {
    SCOPED_TRACE(b.ffi);
    if (b.ffi == 1001) b.shortNames = "start_utc, STOP_UTC , Mid _utc,v1,  V 2";
    if (b.ffi == 2110) b.shortNames = "START_UTC,stop_utc, MID_UTC , numalt, ALTITUDE, o3, temp";
    if (b.ffi == 2310) b.shortNames = "start_UTC, Stop_utc, mid_UTC, NUMALT, alt0, DALT, O 3, aerosol";
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, 0) << s.messages;
    EXPECT_EQ(s.messages, kHeaderStart);
  }
}

TEST(HeaderDriverShortNames, Mismatches1001) {
  const int nh = 36;
  struct Case {
    std::string line;
    std::string messages;
  } cases[] = {
      {"Begin_UTC, Stop_UTC, Mid_UTC, V1, V2",
       red("Error - Header Last Line (Line36): Var_1 - short variable name (Begin_UTC) on this line doesn't match variable's short name definition (Start_UTC).<br />" +
           kHint + valuesRead(nh, 4, 0, 18)) +
           echoB(36, "Begin_UTC, Stop_UTC, Mid_UTC, V1, V2\n")},
      {"Start_UTC, Stop_UTC, Mid_UTC, X1, V2",
       red("Error - Header Last Line (Line36): Var_4 - short variable name ( X1) on this line doesn't match variable's short name definition (V1).<br />" +
           kHint + valuesRead(nh, 4, 0, 18)) +
           echoA(36, "Start_UTC, Stop_UTC, Mid_UTC, X1, V2\n")},
      {"Start_UTC, Stop_UTC, Mid_UTC, V1",
       red("Error - Header Line36: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "The expected number of items (i.e., individual labels or data points) on this line = 5; the number of items found = 4. \n" +
           kHint + valuesRead(nh, 4, 0, 18)) +
           echoA(36, "Start_UTC, Stop_UTC, Mid_UTC, V1\n")},
      {"Start_UTC Stop_UTC Mid_UTC V1 V2",
       red("Error - Header Line36: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n"
           "The expected number of items (i.e., individual labels or data points) on this line = 5; but instead NONE found.<br>\n" +
           kHint + valuesRead(nh, 4, 0, 18)) +
           echoA(36, "Start_UTC Stop_UTC Mid_UTC V1 V2\n")},
      // An empty field yields no item: the items run out before V2, which is not compared.
      {"Start_UTC, Stop_UTC,, Mid_UTC, V1", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    IcarttBuilder b = IcarttBuilder::ffi1001();
    b.shortNames = c.line;
    Scan s = scan(b);
    if (c.messages.empty()) {
      // Five items by their commas but four names, which match the first four definitions.
      EXPECT_EQ(s.res.status, 0);
      EXPECT_EQ(s.messages, kHeaderStart);
      continue;
    }
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
  }
}

TEST(HeaderDriverShortNames, OnlyTheFirstFourPrimaryMismatchesExplain) {
  IcarttBuilder b = IcarttBuilder::ffi1001(3);  // NV 5
  b.shortNames = "Start_UTC, A, B, C, D, E";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(countOf(s.messages, "short variable name"), 5u);
  EXPECT_EQ(countOf(s.messages, kHint), 4u);
  EXPECT_TRUE(has(s.messages,
                  red("Error - Header Last Line (Line37): Var_6 - short variable name ( E) on this line doesn't match variable's short name definition (V3).<br />") +
                      echoA(37, "Start_UTC, A, B, C, D, E\n")));
}

TEST(HeaderDriverShortNames, ThirtyTwoPrimaryMismatchesAtMost) {
  IcarttBuilder b = IcarttBuilder::ffi1001(31);  // NV 33
  std::string line = "Start_UTC";
  for (int i = 0; i < 33; ++i) line += ", X" + std::to_string(i);
  b.shortNames = line;
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(countOf(s.messages, "short variable name"), 32u);
  EXPECT_EQ(countOf(s.messages, "<br>Too many errors...<br>\n"), 1u);
  EXPECT_FALSE(has(s.messages, "( X32)"));
  EXPECT_TRUE(has(s.messages, red("<br>Too many errors...<br>\n")));
  EXPECT_EQ(s.messages.substr(s.messages.size() - red("<br>Too many errors...<br>\n").size()),
            red("<br>Too many errors...<br>\n"));
}

TEST(HeaderDriverShortNames, ColumnOrderAndNumbering2110) {
  // Unbounded, auxiliary (Stop_UTC, Mid_UTC, NumAlt), bounded, primary (O3, Temp).
  const int line = 41;
  const std::string vr = valuesRead(41, 2, 0, 18);
  struct Case {
    std::string names;
    std::string messages;
  } cases[] = {
      {"Start_UTC, Stop_UTC, Mid, NumAlt, Altitude, O3, Temp",
       red("Error - Header Last Line (Line41): AUX_Var_3 - short variable name ( Mid) on this line doesn't match variable's short name definition (Mid_UTC).<br>") +
           echoA(line, "Start_UTC, Stop_UTC, Mid, NumAlt, Altitude, O3, Temp\n")},
      {"Start_UTC, Stop_UTC, Mid_UTC, NumAlt, Alt, O3, Tmp",
       red("Error - Header Last Line (Line41): Bounded_Indep_Var_5 - short variable name ( Alt) on this line doesn't match variable's short name definition (Altitude).<br>") +
           echoA(line, "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, Alt, O3, Tmp\n") +
           red("Error - Header Last Line (Line41): Var_7 - short variable name ( Tmp) on this line doesn't match variable's short name definition (Temp).<br />" +
               kHint + vr) +
           echoA(line, "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, Alt, O3, Tmp\n")},
      // The 1001 order (bounded variable last) fails for 2110.
      {"Start_UTC, Stop_UTC, Mid_UTC, NumAlt, O3, Temp, Altitude",
       red("Error - Header Last Line (Line41): Bounded_Indep_Var_5 - short variable name ( O3) on this line doesn't match variable's short name definition (Altitude).<br>") +
           echoA(line, "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, O3, Temp, Altitude\n") +
           red("Error - Header Last Line (Line41): Var_6 - short variable name ( Temp) on this line doesn't match variable's short name definition (O3).<br />" +
               kHint + vr) +
           echoA(line, "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, O3, Temp, Altitude\n") +
           red("Error - Header Last Line (Line41): Var_7 - short variable name ( Altitude) on this line doesn't match variable's short name definition (Temp).<br />" +
               kHint + vr) +
           echoA(line, "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, O3, Temp, Altitude\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names);
    IcarttBuilder b = IcarttBuilder::ffi2110();
    ASSERT_EQ(b.computedNH(), 41);
    b.shortNames = c.names;
    Scan s = scan(b);
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages, kHeaderStart + c.messages);
  }
}

TEST(HeaderDriverShortNames, Numbering2310AndItemCount) {
  IcarttBuilder b = IcarttBuilder::ffi2310();  // NAUXV 5: primary columns 7 and 8
  ASSERT_EQ(b.computedNH(), 43);
  b.shortNames = "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, Alt0, dAlt, O3, Aero";
  Scan s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_EQ(s.messages,
            kHeaderStart +
                red("Error - Header Last Line (Line43): Var_8 - short variable name ( Aero) on this line doesn't match variable's short name definition (Aerosol).<br />" +
                    kHint + valuesRead(43, 2, 0, 18)) +
                echoA(43, b.shortNames + "\n"));

  b.shortNames = "Start_UTC, Stop_UTC, Mid_UTC, NumAlt, Alt0, dAlt, O3";
  s = scan(b);
  EXPECT_EQ(s.res.status, 10);
  EXPECT_TRUE(has(s.messages, "on this line = 8; the number of items found = 7. \n")) << s.messages;
}

TEST(HeaderDriverEndOfFile, HeaderEndingEarlyGivesOneMessage) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  ASSERT_EQ(b.computedNH(), 36);
  // Each count of lines present: the file ends before the next line, whatever reader that line has.
  for (size_t present : {1u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u, 16u, 17u, 18u, 25u, 34u, 35u}) {
    SCOPED_TRACE(present);
    Scan s = scanText(firstLines(b, present));
    const int missing = static_cast<int>(present) + 1;
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages,
              kHeaderStart + red("<br>Error - Header Line" + std::to_string(missing) +
                                 ": the file ended before this header line was read (end of file inside the header; NH on line1 = 36).<br>\n"))
        << s.header;
    EXPECT_FALSE(has(s.header, kSummaryStart));
    EXPECT_TRUE(has(s.res.report, "<p>Processing incomplete: problem(s) found while processing this file (see above).</p>\n"));
  }
}

TEST(HeaderDriverEndOfFile, HeaderEndingEarlyIn2110) {
  IcarttBuilder b = IcarttBuilder::ffi2110();
  for (size_t present : {9u, 15u, 16u, 17u, 18u, 20u, 40u}) {
    SCOPED_TRACE(present);
    Scan s = scanText(firstLines(b, present));
    EXPECT_EQ(s.res.status, 10);
    EXPECT_EQ(s.messages,
              kHeaderStart + red("<br>Error - Header Line" + std::to_string(present + 1) +
                                 ": the file ended before this header line was read (end of file inside the header; NH on line1 = 41).<br>\n"));
  }
}

TEST(HeaderDriverSummary, LinesReadIsTheLastLineReached) {
  IcarttBuilder b = IcarttBuilder::ffi1001();
  Scan s = scan(b);
  EXPECT_TRUE(has(s.header, "<p><u><b>File Header Info Interpreted by Tarvik (Lines Read=36):</b></u></p><br>"));
}

TEST(HeaderDriverKeywords, LinesAfterACompleteSectionAreNotExamined) {
  // R1: once all sixteen keywords are counted and the revision section is complete, a second
  // PLATFORM line does not count as MULTIPLE.
  IcarttBuilder b = IcarttBuilder::ffi1001();
  setComment(b, "REVISION:", "REVISION: R1; R0");
  setComment(b, "R0:", "R1: Second release.");
  b.normalComments.push_back("R0: First release.");
  b.normalComments.push_back("PLATFORM: counted again?");
  Scan s = scan(b, "TEST-DATA_DC8_20190521_R1.ict");
  EXPECT_EQ(s.res.status, 0) << s.messages;
  EXPECT_TRUE(has(s.header, "<font size=\"-1\" color='#0000FF'> PLATFORM; </font>\n"));
  EXPECT_FALSE(has(s.header, "WARNING:"));

  // Without the revision section complete (R0 file), the same line is examined and is MULTIPLE.
  IcarttBuilder c = IcarttBuilder::ffi1001();
  c.normalComments.push_back("PLATFORM: counted again?");
  Scan t = scan(c);
  EXPECT_EQ(t.res.status, 0) << t.messages;
  EXPECT_TRUE(has(t.header, "<i><font size=\"-1\" color='#FF0000'>PLATFORM; </font></i>\n"));
  EXPECT_TRUE(has(t.header, orange("WARNING: 1 Keyword/Value Pair(s) Missing or entered incorrectly. It is highly recommended that you enter ALL Keywords.\n"
                                   "If a Keyword/Value is not applicable, simply enter N/A for its value (e.g., PLATFORM: N/A).\n")));
}

}  // namespace
}  // namespace tarvik::test

// The file-name phase: the rules and codes of checkFileName, the two lookup tables, the table of
// how the name was split, and the closing paragraph of every file-name code in a whole scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/filename/filename_rules.h"
#include "scan/filename/filename_table.h"
#include "scan/filename/location_types.h"
#include "support/test_files.h"

namespace tarvik::test {
namespace {

const std::string kId47(47, 'D');
const std::string kLoc31(31, 'L');

// Runs the name phase on name in a fresh context (the report stays in memory).
int32_t checkName(ScanContext& ctx, const std::string& name) {
  ctx.fn = FilenameInfo();
  ctx.fn.fileName = name;
  return checkFileName(ctx);
}

std::string revisionNotice(int n) {
  return "<font color='#FF9933'>Info: revision number (R=" + std::to_string(n) +
         ") detected in filename. \n"
         "Please make sure you included text in the \"Normal Comments Section\" of the file header that's \n"
         "specific to this revision. Remember, revision numbers and comments are cumulative.</p><br>\n"
         "</font>";
}

// ---------------------------------------------------------------------------------------------
// Status codes of the rules

TEST(FilenameRules, StatusCodeOfEachRule) {
  struct Case {
    std::string name;
    int32_t code;
  };
  const std::string nul = "ab_DC8_2019" + std::string(1, '\0') + "0101_R0.ict";
  const Case cases[] = {
      // characters: checked before every other rule
      {"ab c_DC8_20190101_R0.ict", 2},
      {"ab+c_DC8_20190101_R0.ict", 2},
      {"a+b", 2},
      {"<b>x_DC8_20190101_R0.ict", 2},
      {"ab_DC8_20190101_R0.ict\n", 2},
      {nul, 2},
      // extension
      {"abcdefghijklmnopqrst", 3},
      {"abcdefghijklmnopqrst.", 3},
      {"ab_DC8_20190101_R0.JPEG", 3},
      {"ab_DC8_20190101_R0.HTML", 3},
      {".abcdefghijklmnopqr", 3},
      {"abc.", 3},
      // at least 15 characters before the extension's period
      {"abcdefghijklmn.ict", 1},
      {"ab_c_201901_R0.ict", 1},
      {"ab.cdefghijklm.ict", 1},
      {"ab_c_20190101_R.ict", 7},  // period at index 15 passes the length rule
      // dataID
      {"_DC8_20190101_R0.ict", 13},
      {std::string(48, 'D') + "_DC8_20190101_R0.ict", 13},
      {std::string(48, 'D') + "_DC8_20190101_R0.csv", 13},
      {"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz.ict", 13},
      // locationID
      {"ab__20190101_R0.ict", 131},
      {"abcdefghijklmnopqrst.ict", 131},
      {"ab_" + std::string(32, 'L') + "_20190101_R0.ict", 131},
      {"ab_" + std::string(32, 'L') + "_20190101_R0.jpg", 131},
      // unknown extension: only dataID and locationID are checked
      {"ab_DC8_20190101_R0.csv", 151},
      {"ab_DC8_anything-goes.xyz", 151},
      // date
      {"ab_DC8_19791231_R0.ict", 5},
      {"ab_DC8_20300101_R0.ict", 5},
      {"ab_DC8_2019A101_R0.ict", 5},
      {"ab_DC8_20191301_R0.ict", 5},
      {"ab_DC8_20190001_R0.ict", 5},
      {"ab_DC8_20190132_R0.ict", 5},
      {"ab_DC8_20190100_R0.ict", 5},
      {"ab_DC8_2019010_R0.ict", 5},
      // time
      {"ab_DC8_20190101.ict", 6},
      {"ab_DC8_2019010124_R0.ict", 6},
      {"ab_DC8_201901011_R0.ict", 6},
      {"ab_DC8_201901012360_R0.ict", 6},
      {"ab_DC8_20190101235960_R0.ict", 6},
      {"ab_DC8_2019010123595_R0.ict", 6},
      {"ab_DC8_20190101R0.ict", 6},
      // revision
      {"ab_DC8_20190101_R56.ict", 7},
      {"ab_DC8_20190101_R100.ict", 7},
      {"ab_DC8_20190101_R.ict", 7},
      {"ab_DC8_20190101_X0.ict", 7},
      {"ab_DC8_20190101_R-1.ict", 7},
      {"ab_DC8_20190101_12_R0.ict", 7},
      {"ab_DC8_2019010123595959_R0.ict", 7},
      // The revision digits must be followed by '_' or '.', so a character right after them fails
      // the revision (7); an unexpected character is 141 only after a letter revision.
      {"ab_DC8_20190101_R0X.ict", 7},
      {"ab_DC8_20190101_R1-x.ict", 7},
      {"ab_DC8_20190101_RAX.ict", 141},
      {"ab_DC8_20190101_Rb-notes.ict", 141},
      // launch
      {"ab_DC8_20190101_R0_L3x.ict", 8},
      {"ab_DC8_20190101_R0_L56.ict", 8},
      {"ab_DC8_20190101_R0_L123.ict", 8},
      {"ab_DC8_20190101_R0_LA.ict", 8},
      {"ab_DC8_20190101_R0_L.ict", 8},
      // volume
      {"ab_DC8_20190101_R0_V56.ict", 9},
      {"ab_DC8_20190101_R0_Vx.ict", 9},
      {"ab_DC8_20190101_R0_L2_V56.ict", 9},
      {"ab_DC8_20190101_R0_L1_Vb.ict", 9},
      {"ab_DC8_20190101_R0_v.ict", 9},
      // comments
      {"ab_DC8_20190101_R0_" + std::string(64, 'c') + ".ict", 14},
      {kId47 + "_" + kLoc31 + "_20190101_R0_" + std::string(29, 'c') + ".ict", 14},
      {"ab_DC8_20190101_R0_L2_V3_" + std::string(64, 'c') + ".ict", 14},
      // passes
      {"TEST-DATA_DC8_20190521_R0.ict", 0},
      {"ab_c_20190101_R0.ict", 0},
      {kId47 + "_DC8_20190101_R0.ict", 0},
      {"ab_" + kLoc31 + "_20190101_R0.ict", 0},
      {"ab_DC8_19800101_R0.ict", 0},
      {"ab_DC8_20291231_R0.ict", 0},
      {"ab_DC8_20190231_R0.ict", 0},
      {"ab_DC8_2019010123_R0.ict", 0},
      {"ab_DC8_201901012359_R0.ict", 0},
      {"ab_DC8_20190101235959_R0.ict", 0},
      {"ab_DC8_20190101_R55.ict", 0},
      {"ab_DC8_20190101_RA.ict", 0},
      {"ab_DC8_20190101_R0_L55_V55.ict", 0},
      {"ab_DC8_20190101_R0_.ict", 0},
      {"ab_DC8_20190101_R0_" + std::string(63, 'c') + ".ict", 0},
      {kId47 + "_" + kLoc31 + "_20190101_R0_" + std::string(28, 'c') + ".ict", 0},
      {"CAMERA-IMAGES_DC8_20190101.jpg", 0},
      {"ab_DC8_notes-here.pdf", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    EXPECT_EQ(checkName(ctx, c.name), c.code);
  }
}

// What the phase keeps of each section.
TEST(FilenameRules, SectionsOfAcceptedNames) {
  struct Case {
    std::string name;
    std::string dataID, locationID, locationClass;
    int32_t platform;
    int32_t y, mo, d, h, mi, s;
    int32_t revision;
    bool letter;
    int32_t launch, volume;
    std::string comments;
    int32_t commentsLength;
    std::string extension, typeClass;
    int32_t typeCode;
  };
  const Case cases[] = {
      {"TEST-DATA_DC8_20190521_R0.ict", "TEST-DATA", "DC8", "DC8_AIRCRAFT", 0, 2019, 5, 21, 0, 0, 0, 0, false, 1, 1, "", 0,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_XYZ_19800101_R0.Ict", "ab", "XYZ", "UNIDENTIFIED", -1, 1980, 1, 1, 0, 0, 0, 0, false, 1, 1, "", 0, ".Ict",
       "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_dc8_20291231_r12_l3.ICT", "ab", "dc8", "DC8_AIRCRAFT", 0, 2029, 12, 31, 0, 0, 0, 12, false, 3, 1, "", 0,
       ".ICT", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC-8_20190231123456_R05.ict", "ab", "DC-8", "UNIDENTIFIED", -1, 2019, 2, 31, 12, 34, 56, 5, false, 1, 1, "",
       0, ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_P3B_201901010930_R0_L0.ict", "ab", "P3B", "P3B_AIRCRAFT", 15, 2019, 1, 1, 9, 30, 0, 0, false, 1, 1, "", 0,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_GROUND_2019010107_R0_V2.ict", "ab", "GROUND", "GROUND", 4, 2019, 1, 1, 7, 0, 0, 0, false, 1, 2, "", 0,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_V0.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 1, 1, "", 0, ".ict",
       "ICARTT_ASCII_DATA_TYPE", 150},
      // two underscores before V: the rest is the comments section
      {"ab_DC8_20190101_R0__V2.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 1, 1, "_V2", 3,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      // characters after an inner period are not examined
      {"ab_DC8_20190101_R0_notes.b.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 1, 1, "notes",
       5, ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_L2_V3_notes.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 2, 3,
       "notes", 5, ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_V7_x-y.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 1, 7, "x-y", 3,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_L4_x.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 4, 1, "x", 1,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_L2.x.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0, false, 2, 1, "", 0,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      // letter revisions keep the letter's character code
      {"ab_DC8_20190101_RA.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 'A', true, 1, 1, "", 0, ".ict",
       "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_Rb_L2.ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 'b', true, 2, 1, "", 0,
       ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      // comments at the 63-character limit
      {"ab_DC8_20190101_R0_" + std::string(63, 'c') + ".ict", "ab", "DC8", "DC8_AIRCRAFT", 0, 2019, 1, 1, 0, 0, 0, 0,
       false, 1, 1, std::string(63, 'c'), 63, ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      // comments at the limit set by their start (120 - 92 = 28)
      {kId47 + "_" + kLoc31 + "_20190101_R0_" + std::string(28, 'c') + ".ict", kId47, kLoc31, "UNIDENTIFIED", -1, 2019,
       1, 1, 0, 0, 0, 0, false, 1, 1, std::string(28, 'c'), 28, ".ict", "ICARTT_ASCII_DATA_TYPE", 150},
      // other known types: only dataID and locationID
      {"CAMERA-IMAGES_DC8_20190101.jpg", "CAMERA-IMAGES", "DC8", "DC8_AIRCRAFT", 0, 0, 0, 0, 0, 0, 0, 0, false, 0, 0,
       "", 0, ".jpg", "IMAGE_FILE_TYPE", 153},
      {"ab_SATELLITE_whatever.nc", "ab", "SATELLITE", "SATELLITE", 2, 0, 0, 0, 0, 0, 0, 0, false, 0, 0, "", 0, ".nc",
       "NETCDF_TYPE", 155},
      {"ab_TRAJECTORY_whatever.h5", "ab", "TRAJECTORY", "TRAJECTORY", 10, 0, 0, 0, 0, 0, 0, 0, false, 0, 0, "", 0,
       ".h5", "HDF_TYPE", 156},
      // the locationID runs to the next underscore or the end of the name
      {"ab_MOZAIC-notes-here.txt", "ab", "MOZAIC-notes-here.txt", "UNIDENTIFIED", -1, 0, 0, 0, 0, 0, 0, 0, false, 0, 0,
       "", 0, ".txt", "TEXT_TYPE", 154},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    ASSERT_EQ(checkName(ctx, c.name), 0);
    const FilenameInfo& fn = ctx.fn;
    EXPECT_EQ(fn.nameLength, static_cast<int32_t>(c.name.size()));
    EXPECT_EQ(fn.dataID, c.dataID);
    EXPECT_EQ(fn.dataIDLength, static_cast<int32_t>(c.dataID.size()));
    EXPECT_EQ(fn.locationID, c.locationID);
    EXPECT_EQ(fn.locationIDLength, static_cast<int32_t>(c.locationID.size()));
    EXPECT_EQ(fn.locationClass, c.locationClass);
    EXPECT_EQ(fn.platformCode, c.platform);
    EXPECT_EQ(fn.year, c.y);
    EXPECT_EQ(fn.month, c.mo);
    EXPECT_EQ(fn.day, c.d);
    EXPECT_EQ(fn.hour, c.h);
    EXPECT_EQ(fn.minute, c.mi);
    EXPECT_EQ(fn.second, c.s);
    EXPECT_EQ(fn.revision, c.revision);
    EXPECT_EQ(fn.revisionIsLetter, c.letter);
    EXPECT_EQ(fn.launch, c.launch);
    EXPECT_EQ(fn.volume, c.volume);
    EXPECT_EQ(fn.comments, c.comments);
    EXPECT_EQ(fn.commentsLength, c.commentsLength);
    EXPECT_EQ(fn.extension, c.extension);
    EXPECT_EQ(fn.typeClass, c.typeClass);
    EXPECT_EQ(fn.typeCode, c.typeCode);
  }
}

// Sections after the failing one keep their cleared values; a failed date or time field holds the code.
TEST(FilenameRules, FieldsLeftByAFailure) {
  struct Case {
    std::string name;
    int32_t code;
    int32_t y, mo, d, h, mi, s;
    int32_t launch, volume;
    std::string comments;
    int32_t commentsLength;
    std::string typeClass;
    int32_t typeCode;
  };
  const Case cases[] = {
      {"ab c_DC8_20190101_R0.ict", 2, 0, 0, 0, 0, 0, 0, 0, 0, "", 0, "NON_ASCII_TYPE", 152},
      {"abcdefghijklmn.ict", 1, 0, 0, 0, 0, 0, 0, 0, 0, "", 0, "NON_ASCII_TYPE", 152},
      {"ab_DC8_2A190101_R0.ict", 5, 5, 0, 0, 0, 0, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_2019A101_R0.ict", 5, 2019, 5, 0, 0, 0, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20191301_R0.ict", 5, 2019, 13, 0, 0, 0, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_201901xx_R0.ict", 5, 2019, 1, 5, 0, 0, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101.ict", 6, 2019, 1, 1, 6, 0, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_201901012360_R0.ict", 6, 2019, 1, 1, 23, 60, 0, 0, 0, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_L3x.ict", 8, 2019, 1, 1, 0, 0, 0, 1, 1, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0_L2_V56.ict", 9, 2019, 1, 1, 0, 0, 0, 2, 1, "", 0, "ICARTT_ASCII_DATA_TYPE", 150},
      // too long: the first characters up to the limit plus one, at most 63; the length stays 0
      {"ab_DC8_20190101_R0_" + std::string(64, 'c') + ".ict", 14, 2019, 1, 1, 0, 0, 0, 1, 1, std::string(63, 'c'), 0,
       "ICARTT_ASCII_DATA_TYPE", 150},
      {kId47 + "_" + kLoc31 + "_20190101_R0_" + std::string(31, 'c') + ".ict", 14, 2019, 1, 1, 0, 0, 0, 1, 1,
       std::string(29, 'c'), 0, "ICARTT_ASCII_DATA_TYPE", 150},
      {"ab_DC8_20190101_R0.csv", 151, 0, 0, 0, 0, 0, 0, 0, 0, "", 0, "NON_ICARTT_TYPE", 151},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    ASSERT_EQ(checkName(ctx, c.name), c.code);
    const FilenameInfo& fn = ctx.fn;
    EXPECT_EQ(fn.nameLength, static_cast<int32_t>(c.name.size()));
    EXPECT_EQ(fn.year, c.y);
    EXPECT_EQ(fn.month, c.mo);
    EXPECT_EQ(fn.day, c.d);
    EXPECT_EQ(fn.hour, c.h);
    EXPECT_EQ(fn.minute, c.mi);
    EXPECT_EQ(fn.second, c.s);
    EXPECT_EQ(fn.launch, c.launch);
    EXPECT_EQ(fn.volume, c.volume);
    EXPECT_EQ(fn.comments, c.comments);
    EXPECT_EQ(fn.commentsLength, c.commentsLength);
    EXPECT_EQ(fn.typeClass, c.typeClass);
    EXPECT_EQ(fn.typeCode, c.typeCode);
  }
}

TEST(FilenameRules, ReadDigitsReturnsValueAndStatus) {
  struct Case {
    std::string name;
    int32_t start, count, min, max, code;
    int32_t value, status;
  };
  const Case cases[] = {
      {"x2019y", 1, 4, 1980, 2029, 5, 2019, 0},
      {"x1979y", 1, 4, 1980, 2029, 5, 1979, 5},
      {"x2030y", 1, 4, 1980, 2029, 5, 2030, 5},
      {"x20a9y", 1, 4, 1980, 2029, 5, 5, 5},
      {"12", 0, 2, 0, 23, 6, 12, 0},
      {"24", 0, 2, 0, 23, 6, 24, 6},
      {"1", 0, 2, 0, 23, 6, 6, 6},  // past the end of the name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    ctx.fn.fileName = c.name;
    ctx.fn.cursor = 3;
    const DigitsRead d = readDigits(ctx, c.start, c.count, c.min, c.max, c.code);
    EXPECT_EQ(d.value, c.value);
    EXPECT_EQ(d.status, c.status);
    EXPECT_EQ(ctx.fn.cursor, 3) << "the cursor does not move";
  }
}

TEST(FilenameRules, ReadNumberedSection) {
  struct Case {
    std::string text;  // the section letter stands at index 0
    char letter;
    bool ok;
    int32_t value, cursor, revision;
    bool isLetter;
  };
  const Case cases[] = {
      {"R0.", 'R', true, 0, 1, 0, false},   {"r12_", 'R', true, 12, 2, 0, false}, {"R55.", 'R', true, 55, 2, 0, false},
      {"R56.", 'R', false, 0, 0, 0, false}, {"R100.", 'R', false, 0, 0, 0, false}, {"R0X", 'R', false, 0, 0, 0, false},
      {"R0", 'R', false, 0, 0, 0, false},   {"L0_", 'L', true, 0, 1, 0, false},   {"l3.", 'L', true, 3, 1, 0, false},
      {"LA.", 'L', false, 0, 0, 0, false},  {"V2.", 'L', false, 0, 0, 0, false},  {"v9_", 'V', true, 9, 1, 0, false},
      {"RA.", 'R', true, 0, 1, 'A', true},  {"Rz-", 'R', true, 0, 1, 'z', true},  {"R.", 'R', false, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScanContext ctx;
    ctx.fn.fileName = c.text;
    ctx.fn.cursor = 0;
    int32_t value = -1;
    EXPECT_EQ(readNumberedSection(ctx, c.letter, value), c.ok);
    if (c.ok) {
      EXPECT_EQ(value, c.value);
      EXPECT_EQ(ctx.fn.cursor, c.cursor);
    }
    EXPECT_EQ(ctx.fn.revision, c.revision);
    EXPECT_EQ(ctx.fn.revisionIsLetter, c.isLetter);
  }
}

TEST(FilenameRules, RevisionNoticeOnlyForANumberAboveZero) {
  struct Case {
    std::string name;
    std::string report;
  };
  const Case cases[] = {
      {"ab_DC8_20190101_R0.ict", ""},
      {"ab_DC8_20190101_r12.ict", revisionNotice(12)},
      {"ab_DC8_20190101_R05_L2.ict", revisionNotice(5)},
      {"ab_DC8_20190101_R55.ict", revisionNotice(55)},
      {"ab_DC8_20190101_RA.ict", ""},
      {"ab_DC8_20190101_Rb.ict", ""},
      {"ab_DC8_20190101_R56.ict", ""},
      // the notice is written when the revision is read, before a later section fails
      {"ab_DC8_20190101_R3_L99.ict", revisionNotice(3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    checkName(ctx, c.name);
    EXPECT_EQ(ctx.report.contents(), c.report);
  }
}

// ---------------------------------------------------------------------------------------------
// Location and file-type tables

TEST(FilenameTables, EveryLocation) {
  struct Case {
    std::string id, locationClass;
    int32_t platform;
  };
  const Case cases[] = {
      {"DC8", "DC8_AIRCRAFT", 0},
      {"dc8", "DC8_AIRCRAFT", 0},
      {"P3B", "P3B_AIRCRAFT", 15},
      {"J31", "J31_AIRCRAFT", 1},
      {"PROTEUS", "PROTEUS_AIRCRAFT", 8},
      {"MODEL", "MODEL", 3},
      {"GROUND", "GROUND", 4},
      {"O3SONDES", "O3SONDES", 5},
      {"AIRMAP", "AIRMAP", 6},
      {"MOZAIC", "MOZAIC", 7},
      {"SATELLITE", "SATELLITE", 2},
      {"Satellite", "SATELLITE", 2},
      {"TRAJECTORY", "TRAJECTORY", 10},
      {"C130", "C130_AIRCRAFT", 11},
      {"BE200", "BE200_AIRCRAFT", 12},
      {"DUCHESS", "DUCHESS_AIRCRAFT", 13},
      {"CESSNA", "CESSNA_AIRCRAFT", 14},
      {"LIGHTNING", "LIGHTNING", 9},
      {"XYZ", "UNIDENTIFIED", -1},
      {"DC-8", "UNIDENTIFIED", -1},
      {"DC8X", "UNIDENTIFIED", -1},
      {"DC", "UNIDENTIFIED", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ScanContext ctx;
    ctx.fn.locationID = c.id;
    ctx.fn.locationClass = "none";
    ctx.fn.platformCode = 99;
    lookupLocation(ctx);
    EXPECT_EQ(ctx.fn.locationClass, c.locationClass);
    EXPECT_EQ(ctx.fn.platformCode, c.platform);
    EXPECT_EQ(ctx.report.contents(), "");
  }
}

TEST(FilenameTables, EveryExtension) {
  struct Case {
    std::string ext, typeClass;
    int32_t code, status;
  };
  const Case cases[] = {
      {".ICT", "ICARTT_ASCII_DATA_TYPE", 150, 0}, {".ict", "ICARTT_ASCII_DATA_TYPE", 150, 0},
      {".Ict", "ICARTT_ASCII_DATA_TYPE", 150, 0}, {".JPG", "IMAGE_FILE_TYPE", 153, 0},
      {".gif", "IMAGE_FILE_TYPE", 153, 0},        {".BMP", "IMAGE_FILE_TYPE", 153, 0},
      {".png", "IMAGE_FILE_TYPE", 153, 0},        {".TXT", "TEXT_TYPE", 154, 0},
      {".doc", "DOCUMENT_TYPE", 154, 0},          {".PDF", "DOCUMENT_TYPE", 154, 0},
      {".htm", "HTML_DOCUMENT_TYPE", 154, 0},     {".XLS", "EXCEL_DOCUMENT_TYPE", 158, 0},
      {".cdf", "NETCDF_TYPE", 155, 0},            {".nc", "NETCDF_TYPE", 155, 0},
      {".HDF", "HDF_TYPE", 156, 0},               {".he5", "HDF_TYPE", 156, 0},
      {".h5", "HDF_TYPE", 156, 0},                {".KML", "GOOGLE_EARTH_TYPE", 157, 0},
      {".kmz", "GOOGLE_EARTH_TYPE", 157, 0},      {".csv", "NON_ICARTT_TYPE", 151, 151},
      {".html", "NON_ICARTT_TYPE", 151, 151},     {".ic", "NON_ICARTT_TYPE", 151, 151},
      {".jpeg", "NON_ICARTT_TYPE", 151, 151},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    ScanContext ctx;
    ctx.fn.extension = c.ext;
    EXPECT_EQ(classifyExtension(ctx), c.status);
    EXPECT_EQ(ctx.fn.typeClass, c.typeClass);
    EXPECT_EQ(ctx.fn.typeCode, c.code);
    EXPECT_EQ(ctx.report.contents(), "");
  }
}

// ---------------------------------------------------------------------------------------------
// The table of how the name was split

std::string nameTable(const std::string& name, int length, const std::string& dataID, int dataIDLength,
                      const std::string& loc, const std::string& locClass, int locLength, const std::string& date,
                      const std::string& rlv, const std::string& comments, int commentsLength,
                      const std::string& ext, const std::string& typeClass) {
  return "<p><u><b>Filename Structure Received:</b></u><br>"
         "<table border=\"2\" cellspacing=\"2\" cellpadding=\"2\">\n"
         "<tr><td>Filename</td><td><font color='#0000FF'>" + name + "</font></td></tr>\n"
         "<tr><td><i>Filename_Length</i></td><td><font color='#0000FF'>" + std::to_string(length) +
         "</font></td></tr>\n"
         "<tr><td>dataID<br><i>dataID_Length</i></td><td><font color='#0000FF'>" + dataID + "<br>" +
         std::to_string(dataIDLength) + "</font></td></tr>\n"
         "<tr><td>LocationID<br><i>LocationID_Length</i></td><td><font color='#0000FF'>" + loc + " <i>[" + locClass +
         "]</i><br>" + std::to_string(locLength) + "</font></td></tr>\n"
         "<tr><td>YYYY MM DD<br>[hr mn ss]</td><td><font color='#0000FF'>" + date + "</font></td></tr>\n"
         "<tr><td>R#; L#; V#;</td><td><font color='#0000FF'>" + rlv + "</font></td></tr>\n"
         "<tr><td>comments<br><i>comments_Length</i></td><td><font color='#0000FF'>" + comments + "<br>" +
         std::to_string(commentsLength) + "</font></td></tr>\n"
         "<tr><td>Ext</td><td><font color='#0000FF'>" + ext + " <i>[" + typeClass + "]</i></font></td></tr>\n"
         "</table></p>\n";
}

TEST(FilenameTable, RowsAsTheNameWasRead) {
  struct Case {
    std::string name, table;
  };
  const std::string longId(50, 'D');
  const Case cases[] = {
      // failed on its characters: nothing but the name and its length
      {"ab c_DC8_20190101_R0.ict",
       nameTable("ab c_DC8_20190101_R0.ict", 24, "", 0, "", "UNIDENTIFIED", 0, "0000 00 00<br>[00 00 00]", "0; 0; 0;",
                 "", 0, "", "NON_ASCII_TYPE")},
      // a name from the file is shown escaped
      {"<b>x&\"_DC8_20190101_R0.ict",
       nameTable("&lt;b&gt;x&amp;&quot;_DC8_20190101_R0.ict", 26, "", 0, "", "UNIDENTIFIED", 0,
                 "0000 00 00<br>[00 00 00]", "0; 0; 0;", "", 0, "", "NON_ASCII_TYPE")},
      // no time section
      {"TEST-DATA_DC8_20190521_R0.ict",
       nameTable("TEST-DATA_DC8_20190521_R0.ict", 29, "TEST-DATA", 9, "DC8", "DC8_AIRCRAFT", 3,
                 "2019 05 21<br>[00 00 00]", "0; 1; 1;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      {"ab_GROUND_20190521070809_r12_L2_V3_notes.b.ict",
       nameTable("ab_GROUND_20190521070809_r12_L2_V3_notes.b.ict", 46, "ab", 2, "GROUND", "GROUND", 6,
                 "2019 05 21<br>[07 08 09]", "12; 2; 3;", "notes", 5, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      // a letter revision is printed as its letter
      {"ab_DC8_20190101_RB.ict",
       nameTable("ab_DC8_20190101_RB.ict", 22, "ab", 2, "DC8", "DC8_AIRCRAFT", 3, "2019 01 01<br>[00 00 00]",
                 "B; 1; 1;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      {"ab_DC8_20190101_R55.ict",
       nameTable("ab_DC8_20190101_R55.ict", 23, "ab", 2, "DC8", "DC8_AIRCRAFT", 3, "2019 01 01<br>[00 00 00]",
                 "55; 1; 1;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      // a letter in the year: the failure code 5 with four digits
      {"ab_XYZ_2O19O101_R0.ict",
       nameTable("ab_XYZ_2O19O101_R0.ict", 22, "ab", 2, "XYZ", "UNIDENTIFIED", 3, "0005 00 00<br>[00 00 00]",
                 "0; 0; 0;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      // a dataID that is too long is shown whole with its real length
      {longId + "_DC8_20190101_R0.ict",
       nameTable(longId + "_DC8_20190101_R0.ict", 70, longId, 50, "", "UNIDENTIFIED", 0, "0000 00 00<br>[00 00 00]",
                 "0; 0; 0;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      {"ab_" + std::string(33, 'L') + "_20190101_R0.ict",
       nameTable("ab_" + std::string(33, 'L') + "_20190101_R0.ict", 52, "ab", 2, std::string(33, 'L'), "UNIDENTIFIED",
                 33, "0000 00 00<br>[00 00 00]", "0; 0; 0;", "", 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      // too-long comments keep their first characters, with length 0
      {"ab_DC8_20190101_R0_" + std::string(64, 'c') + ".ict",
       nameTable("ab_DC8_20190101_R0_" + std::string(64, 'c') + ".ict", 87, "ab", 2, "DC8", "DC8_AIRCRAFT", 3,
                 "2019 01 01<br>[00 00 00]", "0; 1; 1;", std::string(63, 'c'), 0, ".ict", "ICARTT_ASCII_DATA_TYPE")},
      {"CAMERA-IMAGES_DC8_20190101.jpg",
       nameTable("CAMERA-IMAGES_DC8_20190101.jpg", 30, "CAMERA-IMAGES", 13, "DC8", "DC8_AIRCRAFT", 3,
                 "0000 00 00<br>[00 00 00]", "0; 0; 0;", "", 0, ".jpg", "IMAGE_FILE_TYPE")},
      {"ab_DC8_20190101_R0.csv",
       nameTable("ab_DC8_20190101_R0.csv", 22, "ab", 2, "DC8", "DC8_AIRCRAFT", 3, "0000 00 00<br>[00 00 00]",
                 "0; 0; 0;", "", 0, ".csv", "NON_ICARTT_TYPE")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScanContext ctx;
    checkName(ctx, c.name);
    const std::string before = ctx.report.contents();
    writeFileNameTable(ctx);
    EXPECT_EQ(ctx.report.contents().substr(before.size()), c.table);
  }
}

// ---------------------------------------------------------------------------------------------
// Whole scans: the verdict of every file-name code

const char* const kMaxChars = "<br>Max char's per line found = less than 1023\n";
const char* const kFailed =
    "<font color='#FF0000'><br><br>Scanning failed due to the error(s) displayed here in RED.</font>";

std::string failedVerdict(const std::string& paragraph) {
  return std::string(kMaxChars) + kFailed + "<font color='#FF0000'>" + paragraph + "</font>";
}

const char* const kDoneName = "<p><H4>Done Processing File Name.</H4></p><hr>\n";
const char* const kFooterStart = "<hr><br><center>\n";

// The report between the name phase's closing line and the footer.
std::string afterNamePhase(const std::string& report) {
  size_t a = report.find(kDoneName);
  if (a == std::string::npos) return "<no name phase>";
  a += std::string(kDoneName).size();
  size_t b = report.find(kFooterStart, a);
  if (b == std::string::npos) return "<no footer>";
  return report.substr(a, b - a);
}

TEST(FilenameScan, VerdictOfEveryFileNameCode) {
  struct Case {
    std::string name;
    int32_t code;
    std::string verdict;
  };
  const Case cases[] = {
      {"abcdefghijklmn.ict", 1,
       failedVerdict("<p>Filename length NOT correct; min=18, max=127 including one period ( . ) and at least three "
                     "underscores ( _ ).<br>\n"
                     "Please see file naming convention in the ICARTT File Format document.</p>\n")},
      {"ab c_DC8_20190101_R0.ict", 2,
       failedVerdict("<p>Incorrect file naming [invalid char's]. Please see file naming convention in \n"
                     " the ICARTT File Format document for the allowed char's ascii set.</p>\n")},
      {"ab_DC8_20190101_R0.JPEG", 3,
       failedVerdict("<p>Filename extension not correct; Ext length: min=2, max=4 (see file naming convention in the "
                     "ICARTT Data Format document).</p>\n")},
      {"ab_DC8_19791231_R0.ict", 5,
       failedVerdict("<p>Incorrect filename: char's [YYYYMMDD] must be all digits (19800101 thru 20291231). \n"
                     "Or, this error could also be due to the previous section(s) [dataID or locationID] not being "
                     "defined correctly.</p>\n")},
      {"ab_DC8_20190101.ict", 6,
       failedVerdict("<p>Incorrect filename: section [hh[mm[ss]]] -- although optional but must be all digits in the "
                     "range: \n"
                     "00 thru 23; or 0000 thru 2359; or 000000 thru 235959. This error could also be due to the "
                     "\"next\" section [ R# ] not being defined correctly.</p>\n")},
      {"ab_DC8_20190101_R56.ict", 7,
       failedVerdict("<p>Incorrect Revision Number (or Filename Revision NOT matching Header Revision): section \"_Rn\" "
                     "including '_' of the filename must be _R0 thru _R55 (or _RA, _RB, ..etc for Field Data).  See "
                     "the ICARTT File Format document for details.</p>\n")},
      {"ab_DC8_20190101_R0_L3x.ict", 8,
       failedVerdict("<p>Incorrect filename: section \"_Ln\", including '_', of the filename is not correct; \n"
                     "[section \"_Ln\"] must be _L1 thru _L55 (see the ICARTT Data Format document for details).</p>\n")},
      {"ab_DC8_20190101_R0_V56.ict", 9,
       failedVerdict("<p>Incorrect filename: section \"_Vn\", including the '_' (underscore char), of the filename is "
                     "not correct; [section \"_Vn\"] must be _V1 thru _V55. \n"
                     "If section '_Ln' of the filename is NOT present, then 'V' must be set to \"__V\", (i.e.; "
                     "preceded by two underscores). See the ICARTT File Format document for details.</p>\n")},
      {std::string(48, 'D') + "_DC8_20190101_R0.ict", 13,
       failedVerdict("<p>Filename Error: Incorrect dataID or its length exceeded \n"
                     "(min_length=1; max_length=48). See file naming convention in the ICARTT File Format document for "
                     "details.</p>\n")},
      {"ab_DC8_20190101_R0_" + std::string(64, 'c') + ".ict", 14,
       failedVerdict("<p>Incorrect filename length: \"_comments\" section is too long (MAX_COMMENTS_LENGTH=63, and "
                     "MAX_FILENAME_LENGTH=127). See file naming convention in the ICARTT Data Format document for "
                     "details.</p>\n")},
      {"ab__20190101_R0.ict", 131,
       failedVerdict("<p>Filename Error: Incorrect locationID or its length exceeded. \n"
                     "This item must exist (min_length=1; max_length=32). See file naming convention in the ICARTT "
                     "File Format document for details.</p>\n")},
      {"ab_DC8_20190101_RAX.ict", 141,
       failedVerdict("<p>Incorrect filename \"_comments\" section, including \"_\" (underscore character); it must start "
                     "with the \"_\" (see the ICARTT File Format document for details).</p>\n")},
      {"ab_DC8_20190101_R0.csv", 151,
       failedVerdict("<H4>File is NOT an ICARTT type or its extension undefined. No operation was performed.<br>\n"
                     "Please correct the file and re-submit (see file naming convention in the ICARTT File Format "
                     "document).</H4><br>\n")},
      // a known non-ICARTT type passes the name check: no max-characters or scanning-failed line
      {"CAMERA-IMAGES_DC8_20190101.jpg", 152,
       "<font color='#FF0000'><font color='#FF9933'><H4>File Type: IMAGE_FILE_TYPE. ONLY Filename Verification was "
       "performed. No errors encountered.</H4><br>\n</font></font>"},
      {"ab_DC8_notes-here.pdf", 152,
       "<font color='#FF0000'><font color='#FF9933'><H4>File Type: DOCUMENT_TYPE. ONLY Filename Verification was "
       "performed. No errors encountered.</H4><br>\n</font></font>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScanResult r = scanBytes(dir, c.name, "1, 1001\n");
    EXPECT_EQ(r.status, c.code);
    EXPECT_EQ(r.reportPath, dir.file(c.name) + "__diagnostic.htm");
    EXPECT_TRUE(r.host.messages.empty());
    // the name phase ends the scan: no later phase, no finishing heading
    EXPECT_EQ(afterNamePhase(r.report), c.verdict);
    EXPECT_EQ(countOf(r.report, "<p><H4>Processing File Name . . .<br></H4></p>\n"), 1u);
    EXPECT_EQ(countOf(r.report, "<p><u><b>Filename Structure Received:</b></u><br>"), 1u);
    EXPECT_EQ(countOf(r.report, "Processing File Header"), 0u);
    EXPECT_EQ(countOf(r.report, "Finished Scanning File."), 0u);
    EXPECT_EQ(r.report.substr(r.report.size() - 15), "</BODY></HTML>\n");
  }
}

// The revision notice stands in the name phase, between the phase's heading and its table.
TEST(FilenameScan, RevisionNoticeBeforeTheTable) {
  TempDir dir;
  ScanResult r = scanBytes(dir, "ab_DC8_20190101_R7_L3x.ict", "1, 1001\n");
  EXPECT_EQ(r.status, 8);
  const std::string expected = "<p><H4>Processing File Name . . .<br></H4></p>\n" + revisionNotice(7) +
                               "<p><u><b>Filename Structure Received:</b></u><br>";
  EXPECT_NE(r.report.find(expected), std::string::npos) << r.report;
}

}  // namespace
}  // namespace tarvik::test

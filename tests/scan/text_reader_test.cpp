// The text-mode reader: the scan's mode (CR dropped, Ctrl-Z ends the input) and the repair's mode
// (CR LF read as LF, a lone CR kept, Ctrl-Z an ordinary byte), over the reader's large buffer.
#include "scan/core/text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_files.h"

namespace tarvik::test {
namespace {

using namespace std::string_literals;

constexpr size_t kBuf = 1 << 18;  // the reader's internal buffer

struct Read {
  std::string text;
  bool eof;
};

// Every readLine result until (and including) the first one that returns nothing.
std::vector<Read> readAll(const std::string& bytes, size_t maxChars,
                          TextReader::Mode mode = TextReader::Mode::Scan, TextReader* keep = nullptr) {
  TempDir dir;
  std::string path = dir.file("in.txt");
  writeFile(path, bytes);
  TextReader local;
  TextReader& r = keep ? *keep : local;
  EXPECT_TRUE(r.open(path, mode));
  std::vector<Read> out;
  std::string line;
  for (int guard = 0; guard < 1000000; ++guard) {
    size_t n = r.readLine(line, maxChars);
    EXPECT_EQ(n, line.size());
    out.push_back({line, r.eof()});
    if (n == 0) break;
  }
  return out;
}

std::vector<int> getAll(const std::string& bytes, TextReader::Mode mode) {
  TempDir dir;
  std::string path = dir.file("in.txt");
  writeFile(path, bytes);
  TextReader r;
  EXPECT_TRUE(r.open(path, mode));
  std::vector<int> out;
  for (int guard = 0; guard < 10000000; ++guard) {
    int c = r.get();
    out.push_back(c);
    if (c == TextReader::kEnd) break;
  }
  EXPECT_TRUE(r.eof());
  return out;
}

std::vector<int> codes(const std::string& s) {
  std::vector<int> v;
  for (char c : s) v.push_back(static_cast<unsigned char>(c));
  v.push_back(TextReader::kEnd);
  return v;
}

TEST(TextReaderScan, LinesAsTheCLibraryReadsThemInTextMode) {
  struct Case {
    const char* why;
    std::string bytes;
    size_t maxChars;
    std::vector<Read> reads;
  };
  const std::vector<Case> cases = {
      {"CR LF arrives as LF, a lone CR vanishes",
       "a\r\nb\rc\n\r\rd\r"s,
       100,
       {{"a\n", false}, {"bc\n", false}, {"d", true}, {"", true}}},
      {"line feed kept, no eof after a line that ended with it",
       "ab\ncd\n"s,
       100,
       {{"ab\n", false}, {"cd\n", false}, {"", true}}},
      {"last line without LF sets eof on the read that met the end",
       "ab\ncd"s,
       100,
       {{"ab\n", false}, {"cd", true}, {"", true}}},
      {"maxChars split keeps the rest for the next read",
       "abcdefghij\nk\n"s,
       4,
       {{"abcd", false}, {"efgh", false}, {"ij\n", false}, {"k\n", false}, {"", true}}},
      {"a read that fills maxChars at the very end does not see the end",
       "abcd"s,
       4,
       {{"abcd", false}, {"", true}}},
      {"CRs do not count against maxChars",
       "a\r\rb\r\rc\r\rd\n"s,
       3,
       {{"abc", false}, {"d\n", false}, {"", true}}},
      {"the LF after a split at maxChars is the next read",
       "abc\r\n"s,
       3,
       {{"abc", false}, {"\n", false}, {"", true}}},
      {"NUL bytes are characters", "a\0b\n\0\n"s, 100, {{"a\0b\n"s, false}, {"\0\n"s, false}, {"", true}}},
      {"Ctrl-Z ends the input",
       "ab\ncd\x1A"
       "ef\ngh\n"s,
       100,
       {{"ab\n", false}, {"cd", true}, {"", true}}},
      {"Ctrl-Z at the start of a line",
       "ab\n\x1A"
       "cd\n"s,
       100,
       {{"ab\n", false}, {"", true}}},
      {"empty file", ""s, 100, {{"", true}}},
      {"only line ends", "\n\r\n"s, 100, {{"\n", false}, {"\n", false}, {"", true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<Read> got = readAll(c.bytes, c.maxChars);
    ASSERT_EQ(got.size(), c.reads.size());
    for (size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(got[i].text, c.reads[i].text);
      EXPECT_EQ(got[i].eof, c.reads[i].eof);
    }
  }
}

TEST(TextReaderScan, CtrlZRecordsItsOffsetAndRewindClearsIt) {
  struct Case {
    std::string bytes;
    bool seen;
    int64_t offset;
  };
  std::string big(kBuf + 1000, 'x');
  big[kBuf + 10] = '\n';
  const std::vector<Case> cases = {
      {"ab\ncd\x1A"
       "ef\n",
       true, 5},
      {"\x1A", true, 0},
      {"a\r\nb\r\n\x1A\r\n", true, 6},
      {big + "\x1A"
             "tail",
       true, static_cast<int64_t>(big.size())},
      {"ab\ncd\n", false, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    TextReader r;
    std::vector<Read> first = readAll(c.bytes, 1 << 20, TextReader::Mode::Scan, &r);
    EXPECT_TRUE(r.eof());
    EXPECT_EQ(r.ctrlZSeen(), c.seen);
    EXPECT_EQ(r.ctrlZOffset(), c.offset);
    ASSERT_TRUE(r.rewind());
    EXPECT_FALSE(r.eof());
    EXPECT_FALSE(r.ctrlZSeen());
    EXPECT_EQ(r.ctrlZOffset(), -1);
    std::string line;
    r.readLine(line, 1 << 20);
    EXPECT_EQ(line, first.front().text);
  }
}

TEST(TextReaderScan, GetDropsCarriageReturnsAndStopsAtCtrlZ) {
  EXPECT_EQ(getAll("a\r\nb\rc\0d\x1A"
                   "e"s,
                   TextReader::Mode::Scan),
            codes("a\nbc\0d"s));
  EXPECT_EQ(getAll("\r\r\r"s, TextReader::Mode::Scan), codes(""));
}

TEST(TextReaderScan, LinesSpanningTheBufferBoundary) {
  // Lines that cross the reader's internal buffer, with a CR and a CR LF placed on the boundary.
  std::string first(kBuf - 10, 'a');
  std::string second(20, 'b');
  std::string third(kBuf * 2 + 7, 'c');
  std::string bytes = first + "\n" + second + "\n" + third + "\n" + "end";
  // A CR as the last byte of the first buffer, inside the second line.
  size_t crAt = kBuf - 1;
  ASSERT_GT(crAt, first.size());
  std::string withCr = bytes;
  withCr.insert(crAt, "\r");
  for (const std::string& b : {bytes, withCr}) {
    SCOPED_TRACE(b.size());
    std::vector<Read> got = readAll(b, kBuf * 4);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].text, first + "\n");
    EXPECT_EQ(got[1].text, second + "\n");
    EXPECT_EQ(got[2].text, third + "\n");
    EXPECT_EQ(got[3].text, "end");
    EXPECT_TRUE(got[3].eof);
    EXPECT_FALSE(got[2].eof);
    EXPECT_EQ(got[4].text, "");
  }
  // A CR LF whose CR ends the first buffer and whose LF begins the second.
  std::string pair(kBuf - 1, 'p');
  std::vector<Read> got = readAll(pair + "\r\nq\n", kBuf * 2);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].text, pair + "\n");
  EXPECT_EQ(got[1].text, "q\n");
  // Splitting by maxChars across the boundary keeps every character exactly once.
  std::string longLine(kBuf * 3 + 123, 'z');
  for (size_t i = 0; i < longLine.size(); i += 997) longLine[i] = static_cast<char>('A' + i % 26);
  std::vector<Read> parts = readAll(longLine + "\n", 1022);
  std::string joined;
  for (const auto& p : parts) joined += p.text;
  EXPECT_EQ(joined, longLine + "\n");
  EXPECT_EQ(parts.size(), (longLine.size() + 1 + 1021) / 1022 + 1);
}

TEST(TextReaderRepair, CrLfIsOneLineFeedLoneCrAndCtrlZStay) {
  struct Case {
    const char* why;
    std::string bytes;
    std::string chars;
  };
  const std::vector<Case> cases = {
      {"CR LF read as LF", "a\r\nb\r\n"s, "a\nb\n"s},
      {"lone CR kept", "a\rb\r"s, "a\rb\r"s},
      {"CR CR LF", "a\r\r\nb"s, "a\r\nb"s},
      {"Ctrl-Z and NUL passed through",
       "a\x1A"
       "b\0c\r\n"s,
       "a\x1A"
       "b\0c\n"s},
      {"LF alone", "\n\n"s, "\n\n"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(getAll(c.bytes, TextReader::Mode::Repair), codes(c.chars));
  }
  // readLine in repair mode keeps a lone CR inside the line and passes Ctrl-Z.
  std::vector<Read> got = readAll(
      "a\rb\r\nc\x1A"
      "d"s,
      100, TextReader::Mode::Repair);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].text, "a\rb\n");
  EXPECT_FALSE(got[0].eof);
  EXPECT_EQ(got[1].text,
            "c\x1A"
            "d");
  EXPECT_TRUE(got[1].eof);
  EXPECT_EQ(got[2].text, "");
}

TEST(TextReaderRepair, CrLfAcrossTheBufferBoundaryIsOnePair) {
  std::string head(kBuf - 1, 'h');
  // CR is the last byte of the first buffer, LF the first of the second.
  EXPECT_EQ(getAll(head + "\r\nx\r", TextReader::Mode::Repair), codes(head + "\nx\r"));
  // A lone CR on the boundary stays a CR.
  EXPECT_EQ(getAll(head + "\ry", TextReader::Mode::Repair), codes(head + "\ry"));
  // A CR as the very last byte of the file.
  EXPECT_EQ(getAll(head + "\r", TextReader::Mode::Repair), codes(head + "\r"));
}

TEST(TextReaderBasics, OpenFailsOnAMissingFileAndCloseIsRepeatable) {
  TempDir dir;
  TextReader r;
  EXPECT_FALSE(r.open(dir.file("missing.txt"), TextReader::Mode::Scan));
  EXPECT_FALSE(r.isOpen());
  writeFile(dir.file("a.txt"), "x\n");
  ASSERT_TRUE(r.open(dir.file("a.txt"), TextReader::Mode::Scan));
  EXPECT_TRUE(r.isOpen());
  std::string line;
  EXPECT_EQ(r.readLine(line, 0), 0u);
  EXPECT_FALSE(r.eof());
  EXPECT_EQ(r.readLine(line, 10), 2u);
  r.close();
  r.close();
  EXPECT_FALSE(r.isOpen());
  EXPECT_FALSE(r.rewind());
}

}  // namespace
}  // namespace tarvik::test

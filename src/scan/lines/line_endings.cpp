#include "scan/lines/line_endings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <string>

#include "scan/core/message_budget.h"
#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/lines/line_input.h"
#include "scan/lines/line_repair.h"

namespace tarvik {

namespace {

constexpr int64_t kLineLimit = 1048576;

// The state of one line-ending pass.
struct PassState {
  int pass = 0;
  // Warnings about line ends and lengths: more than 8 fail the pass; the first 20 are written.
  MessageBudget lineWarnings{20};
  int64_t lineNumber = 0;
  int32_t nh = 0;
  int32_t ffi = -999;
  int32_t nv = 0;
  int64_t expectedDataLength = 0;
  int lineFlag = 0;
  int64_t pieceCounter = 0;
  MessageBudget valueWarnings{20};  // unusual first fields of FFI 1001 data lines

  void resetForPass() {
    lineWarnings.reset();
    lineNumber = 0;
    nh = 0;
    ffi = -999;
    nv = 0;
    lineFlag = 0;
    pieceCounter = 0;
    valueWarnings.reset();
  }
};

bool allocateLineBuffers(ScanRun& run, size_t bytes) {
  try {
    std::string().swap(run.lineBuffer);
    std::string().swap(run.echoBuffer);
    run.lineBuffer.reserve(bytes);
    run.echoBuffer.reserve(bytes);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// True when the file holds anything but line ends and blanks after offset.
bool textFollows(const std::string& path, int64_t offset) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool found = false;
  if (::lseek(fd, offset, SEEK_SET) == offset) {
    char chunk[1 << 16];
    ssize_t n;
    while (!found && (n = ::read(fd, chunk, sizeof chunk)) > 0) {
      for (ssize_t i = 0; i < n; ++i) {
        char c = chunk[i];
        if (c != '\n' && c != '\r' && c != ' ' && c != '\t') {
          found = true;
          break;
        }
      }
    }
  }
  ::close(fd);
  return found;
}

// The first token of a line (tokens separated by the given delimiters): its start and end.
std::string_view firstToken(std::string_view line, const char* delims, size_t* end) {
  size_t s = 0;
  while (s < line.size() && std::strchr(delims, line[s]) && line[s] != '\0') ++s;
  size_t e = s;
  while (e < line.size() && !(line[e] != '\0' && std::strchr(delims, line[e]))) ++e;
  if (end) *end = e;
  return line.substr(s, e - s);
}

// Steps 8.2.6: the first field of an FFI 1001 data line. Returns 10 when the line is unusable.
int32_t checkIndependentValue(ScanContext& ctx, PassState& st, size_t len) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  const std::string& line = run.lineBuffer;
  size_t limit = line.size() < 128 ? line.size() : 128;
  bool valueTest = false;
  for (size_t i = 0; i < limit; ++i) {
    char c = line[i];
    if (c == ' ') continue;
    if (c != '\0' && std::strchr("0123456789eE.+-\r\n", c)) {
      valueTest = true;
      break;
    }
    if (static_cast<int64_t>(len) < run.maxLineLength - 1) {
      r.beginError();
      r.printf(
          "<br />Error [Len=%d, MaxL=%d, wFlag=%d] - Line%d: Certain items on this line are NOT compliant or non-allowed char(s) were encountered. If this is a HEADER ONLY file, please include also one data record (set variables' values to -9's).<br />",
          len, run.maxLineLength, st.lineFlag, st.lineNumber);
      int64_t d = st.lineNumber - st.nh;
      if (-4 < d && d < 4)
        r.write(
            "This error could also be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments or NumNormalComments.<br />\n");
      r.endBlock();
      r.echo(Echo::B, st.lineNumber, line);
      return 10;
    }
  }
  if (!valueTest) return 0;
  size_t end = 0;
  std::string_view token = firstToken(line, ", ", &end);
  double v = leadingReal(token);
  if (v > 172800 || !(v >= 0)) {
    r.warning("<br />Warning_%d Line%d: Independent Var1_Value=%s seems unusual or incorrect.<br />\n",
              st.valueWarnings.used() + 1, st.lineNumber, std::string_view(line).substr(0, end));
    r.echo(Echo::F, st.lineNumber, line);
    st.valueWarnings.spend(r, MessageBudget::Notice::Warning,
                           "<br />Too many warnings ... Independent Var1 seems unusual ...<br />\n");
  }
  return 0;
}

// Repairs the line ends of the file the scan reads: in place, or, when the input must not change,
// in a private copy that the scan reads from then on. 0, or -1 with the reason in message.
int32_t repairScannedFile(ScanContext& ctx, std::string& message, char symbol) {
  ScanRun& run = ctx.run;
  if (!ctx.settings.repairInPlace && run.privateCopy.empty()) {
    std::string reason;
    if (!copyToPrivateFolder(run.inputPath, ctx.fn.fileName, run.privateCopy, reason)) {
      message = "The submitted file is left unchanged, but no copy of it could be made to repair: " + reason;
      return -1;
    }
    run.scanPath = run.privateCopy;
  }
  return repairLineEndings(run.scanPath, message, symbol);
}

// The repair's closing lines, and the reading of the repaired file from its start.
bool afterRepair(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  r.warning("<br><br>Done. Tarvik Fixed the CR-LF symbols.<br><br>\n");
  if (ctx.settings.repairInPlace) {
    run.repairedInPlace = true;
  } else if (!run.copyNoted) {
    run.copyNoted = true;
    r.warning("The submitted file was left unchanged: the repair was made in a private copy, and that copy was scanned.<br><br>\n");
  }
  return run.input.open(run.scanPath, TextReader::Mode::Scan);
}

}  // namespace

int32_t detectLineEndings(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  Report& r = ctx.report;
  PassState st;
  std::string message;

  for (;;) {
    // Step 1: start of a pass.
    st.resetForPass();
    ctx.checks.suspiciousValues.reset();
    run.linesCounted = 0;
    run.maxLineLength = 1023;
    if (!allocateLineBuffers(run, 1024)) return 12;

    // Step 2: line 1.
    size_t len = readInputLine(ctx);
    st.lineNumber = 1;
    run.linesCounted = 1;

    // Step 3.
    if (len < 5) {
      r.error(
          "<br>Error Header Line%d seems incomplete: 2 Integer values (i.e., NH and FFI) were expected. See ICARTT document for details on NH and FFI.<br>\n",
          1);
      return 10;
    }

    // Step 4.
    run.echoBuffer.assign(run.lineBuffer, 0, 510);
    size_t comma = run.echoBuffer.find(',');
    if (comma == std::string::npos) {
      r.beginError();
      r.write(
          "Error on Line1: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. \n");
      r.write("<br />The expected number of individual items (i.e., data points) on line1 = 2.\n");
      r.write("<br />The expected number of \"commas\" on line1 = 1.<br />\n");
      r.endBlock();
      return 10;
    }

    // Step 5.
    {
      std::string pair = run.echoBuffer;
      pair[comma] = ' ';
      size_t pos = 0;
      int32_t v;
      if (scanInt(pair, pos, v)) {
        st.nh = v;
        if (scanInt(pair, pos, v)) st.ffi = v;
      }
    }

    // Step 6.
    if (len > 64 || st.nh == 0 || st.nh > 4000) {
      st.lineWarnings.spend();
      r.warning(
          "<br />Warning Header Line%d [ NH=%d, FFI=%d ] seems to have too many irrelevant char's, or may NOT be terminated correctly (end-of-line maybe unknown).<br />\n",
          1, st.nh, st.ffi);
      r.echo(Echo::E, 1, run.lineBuffer);
    }

    // Step 7: the line-feed test of the first pass.
    if (st.pass == 0 && run.lineBuffer.find('\n') == std::string::npos) {
      const char* name = "Line Feed (LF [Hex = 0x0A], '\\r')";
      r.warning(
          "<br>Warning: The file seems to have been created with the %s symbol missing. File contents (data lines) are missing the %s symbol.<br><br>Tarvik will attempt to fix the CR-LF symbols . . .\n",
          name, name);
      run.input.close();
      message = name;
      if (repairScannedFile(ctx, message, '\n') != 0) {
        r.beginError();
        r.printf("<br>%s<br>\n", message);
        r.printf("<br>Error(-101): Tarvik could not fix the CR-LF (0x%x) sybmols in file = %s<br>\n",
                 '\n' + 0, ctx.fn.fileName);
        r.write("If this error persists, please contact the ");
        r.contactLink("Error(-101):fix the CR-LF sybmols failed");
        r.write(" to report it. Thank you.<br><br>\n");
        r.endBlock();
        return 21;
      }
      if (!afterRepair(ctx)) return 4;
      st.lineNumber = 0;
      run.linesCounted = 0;
    }

    // Step 8: the line loop.
    bool leftLoop = false;
    for (;;) {
      len = readInputLine(ctx);
      if (len == 0) break;
      ++run.linesCounted;

      if (st.ffi == 1001) {
        if (st.lineNumber == 9) {
          std::string_view tok = firstToken(run.lineBuffer, " \r\n", nullptr);
          st.nv = tok.empty() ? 0 : leadingInt(tok);
          int64_t expected = 24 * static_cast<int64_t>(st.nv);
          st.expectedDataLength = expected <= 510 ? 512 : expected;
        }
        ++st.lineNumber;
        const int64_t L = static_cast<int64_t>(len);
        if (st.lineNumber > st.nh) {
          if (L > st.expectedDataLength) {
            st.lineWarnings.spend();
            st.lineFlag = 4;
          }
        } else if (st.lineNumber >= 2 && st.lineNumber <= 10) {
          if (L > 256) {
            st.lineWarnings.spend();
            st.lineFlag = 1;
          }
        } else if (st.lineNumber >= 11) {
          if (L > run.maxLineLength - 2) st.lineFlag = st.lineNumber == st.nh ? 3 : 2;
        }
        if (L > run.maxLineLength - 2) {
          st.lineWarnings.spend();
          st.lineFlag += 5;
          for (int k = 0; k < 15; ++k) {
            if (!run.lineBuffer.empty() && run.lineBuffer.back() == '\n') break;
            size_t n = readInputLine(ctx);
            if (n == 0) break;
            len = n;
            if (run.lineBuffer[0] == ',') run.lineBuffer[0] = ' ';
            ++st.pieceCounter;
            st.lineFlag += 10;
          }
        }
        // A line may count two warnings, so the count can pass 20 without the notice.
        if (st.lineFlag >= 1 && st.lineFlag <= 9) {
          if (st.lineWarnings.used() <= st.lineWarnings.limit()) {
            r.warning(
                "<br>Warning Header Line%d (Flag=[%d::%d], length=%d, FFI=%d) seems to have too many [maybe irrelevant] char's, or may NOT be terminated correctly (end-of-line maybe unknown).<br />\n",
                st.lineNumber, st.lineFlag, st.expectedDataLength, len, st.ffi);
            r.echo(Echo::F, st.lineNumber, run.lineBuffer);
            if (st.lineWarnings.used() == st.lineWarnings.limit())
              st.lineWarnings.writeNotice(r, MessageBudget::Notice::Warning,
                                          "<br>Too many warnings ... end-of-line maybe unknown.<br>\n");
          }
          st.lineFlag = 0;
        }
        if (st.lineNumber > st.nh && st.valueWarnings.allows()) {
          if (checkIndependentValue(ctx, st, len) != 0) return 10;
        }
      }

      // Step 8.3: buffer sizing.
      if (static_cast<int64_t>(len) > run.maxLineLength - 32) {
        ++st.pieceCounter;
      } else if (st.pieceCounter > 0) {
        int64_t grown = (static_cast<int64_t>(run.maxLineLength) + 1) * (st.pieceCounter + 2);
        if (grown >= kLineLimit) {
          ++st.pass;
          leftLoop = true;
          break;
        }
        run.maxLineLength = static_cast<int32_t>(grown);
        if (!allocateLineBuffers(run, static_cast<size_t>(grown))) return 12;
        st.pieceCounter = 0;
      }
    }

    // Step 9: back to the start; a Ctrl-Z followed by more text would hide that text from the scan.
    bool ctrlZ = run.input.ctrlZSeen();
    int64_t ctrlZAt = run.input.ctrlZOffset();
    run.input.rewind();
    if (!leftLoop && ctrlZ && textFollows(run.scanPath, ctrlZAt + 1)) {
      r.error(
          "<br>Error: an end-of-file mark (Ctrl-Z, Hex = 0x1A) was found at byte %lld, but the file goes on after it; the rest of the file was not scanned. Remove the mark or the text after it.<br>\n",
          ctrlZAt);
      return 10;
    }

    // Step 10.
    if (st.lineWarnings.used() > 8) {
      r.beginError();
      r.write(
          "<br>Error: Tarvik could not determine the end-of-line char's (CR-LF). The file seems to have been created with Carriage_Returns and/or Line_Feeds symbols missing on certain lines.  \n");
      r.printf(
          "<br>This error could also be due to the Number of Variables (NV) on line10 not being correct (Read NV=%d) <br>\n",
          st.nv);
      r.endBlock();
      return 21;
    }

    // Steps 11 to 13.
    if (st.pass == 0 || st.pass == 2) return 0;
    if (st.pass != 1) return 12;
    st.pass = 2;
    const char* name = "CARRIAGE RETURN(CR [Hex = 0x0D])";
    r.warning(
        "<br>Warning: This file seems to have been created with the %s symbol missing in the DATA Section. DATA lines seem to be missing the %s symbol.<br><br>Tarvik will attempt to fix the CR-LF symbols . . .\n",
        name, name);
    run.input.close();
    message = name;
    if (repairScannedFile(ctx, message, '\r') != 0) {
      r.beginError();
      r.printf("<br>%s<br>\n", message);
      r.printf("<br>Error(-101.0x0D): Tarvik could not fix the CR-LF (0x%x) sybmols in file = %s<br>\n",
               '\r' + 0, ctx.fn.fileName);
      r.write("If this error persists, please contact the ");
      r.contactLink("Error(-101.0x0D): fix the CR-LF sybmols failed");
      r.write(" to report it. Thank you.<br><br>\n");
      r.endBlock();
      return 21;
    }
    if (!afterRepair(ctx)) return 4;
  }
}

}  // namespace tarvik

#include "scan/header/header_lines.h"

#include "scan/core/scan_context.h"
#include "scan/lines/line_input.h"

namespace tarvik {

int32_t readHeaderLine(ScanContext& ctx, int64_t lineNumber) {
  size_t n = readInputLine(ctx);
  if (n == 0) {
    // The header ends before its declared lines: one message for this line, and no stale text.
    ctx.run.lineBuffer.clear();
    ctx.checks.headerEndedEarly = true;
    ctx.report.error("<br>Error - Header Line%d: the file ended before this header line was read (end of file inside the header; NH on line1 = %d).<br>\n",
                     lineNumber, ctx.hdr.numHeaderLines);
    return 10;
  }
  return checkLineLength(ctx, lineNumber, ctx.run.lineBuffer, "Line Length Truncated") == 0 ? 10 : 0;
}

size_t checkLineLength(ScanContext& ctx, int64_t lineNumber, std::string& text, const char* tag) {
  const int64_t maxLen = ctx.run.maxLineLength;
  if (static_cast<int64_t>(text.size()) > maxLen - 32) {
    ctx.report.error("ERROR (%s): Header Line%d: The text on this line is too long (max=%d).<br>This error could also be due to \"carriage returns\" being missing.<br>",
                     tag, lineNumber, maxLen - 1);
    ctx.report.echo(Echo::A, lineNumber, text);
    return 0;
  }
  size_t spaces = 0;
  size_t keep = 1;  // the walk never examines the first character
  for (size_t i = text.size(); i-- > 1;) {
    char c = text[i];
    if (c == '\r' || c == '\n') continue;
    if (c == ' ') {
      ++spaces;
      continue;
    }
    keep = i + 1;
    break;
  }
  if (spaces > 5) {
    text.resize(keep);
    text.push_back('\n');
    ctx.report.warning("Warning: Header Line%d has too many trailing spaces (Line_Length=%d, Spaces_Count = %d).<br>",
                       lineNumber, text.size(), spaces);
    ctx.report.echo(Echo::A, lineNumber, text);
  }
  return text.size();
}

}  // namespace tarvik

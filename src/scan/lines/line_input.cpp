#include "scan/lines/line_input.h"

#include "scan/core/scan_context.h"

namespace tarvik {

size_t readInputLine(ScanContext& ctx) {
  ScanRun& run = ctx.run;
  int64_t n = run.maxLineLength - 1;
  return run.input.readLine(run.lineBuffer, n > 0 ? static_cast<size_t>(n) : 0);
}

int32_t openInput(ScanContext& ctx) {
  return ctx.run.input.open(ctx.run.scanPath, TextReader::Mode::Scan) ? 0 : 4;
}

void closeInput(ScanContext& ctx) {
  if (ctx.run.input.isOpen()) ctx.run.input.close();
}

}  // namespace tarvik

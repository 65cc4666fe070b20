#include "scan/data/data_drivers.h"

#include <cmath>
#include <new>
#include <string_view>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/core/scan_host.h"
#include "scan/core/tokens.h"
#include "scan/data/data_record.h"
#include "scan/data/data_times.h"
#include "scan/data/data_values.h"

namespace tarvik {

namespace {

// The state of one data phase: the line counter, the result and the error budget.
struct DataPhase {
  ScanContext& ctx;
  int64_t lineCounter;
  int32_t phaseResult = 0;
  int32_t budget = 32;
  bool ended = false;
  ScanHost* plot = nullptr;  // null when the host keeps no plot data

  explicit DataPhase(ScanContext& c) : ctx(c), lineCounter(c.hdr.numHeaderLines) {
    ctx.run.statusCode = 0;
    if (ctx.host && ctx.host->keepsPlotData()) plot = ctx.host;
  }

  int32_t& status() { return ctx.run.statusCode; }
  // A check group failed: the first failure gives the result; the budget pays for it.
  void recordFailure() {
    if (phaseResult == 0) phaseResult = status();
    if (--budget < 0)
      ended = true;
    else
      status() = 0;
  }
  // The end of the file was read.
  void chargeEndOfFile() {
    if (--budget < 0) ended = true;
  }
  bool lodKeywords() const {
    return ctx.hdr.keywordCounts[kwUlodFlag] > 0 || ctx.hdr.keywordCounts[kwLlodFlag] > 0;
  }
  void progress() {
    if (ctx.host) ctx.host->updateProgress(ctx, lineCounter, ctx.run.linesCounted, 1);
  }
  // Hands one record (columns 0..columns-1) to the plot store.
  void handOver(const std::vector<double>& record, int64_t index) {
    if (!plot) return;
    flagClasses.assign(record.size(), 0);
    for (size_t c = 1; c < record.size(); ++c)
      flagClasses[c] = static_cast<uint8_t>(classifyFlagValue(ctx, record[c], static_cast<int32_t>(c)));
    plot->PutPlotRecord(index, record.data(), flagClasses.data(), static_cast<int32_t>(record.size()));
  }
  std::vector<uint8_t> flagClasses;
  // The first record (or unbounded-variable line) into prev: false when the phase ends here.
  bool readFirst(std::vector<double>& prev, RecordKind kind, ValueTarget::Kind target) {
    int32_t complete = 0;
    ++lineCounter;
    if (int32_t s = readDataRecord(ctx, prev.data(), lineCounter, static_cast<int64_t>(prev.size()), complete, kind)) {
      phaseResult = s;
      return false;
    }
    if (!complete) return false;
    if (lodKeywords() && checkLodLimits(ctx, lineCounter, prev.data(), {target}) != 0) {
      --budget;
      phaseResult = status();
    }
    phaseResult = checkFlagCloseness(ctx, lineCounter, prev.data(), {target});
    status() = 0;
    return true;
  }
  // The next record into cur, its time and value checks (the limits before the flags when
  // limitsFirst), then cur becomes prev. False when the phase ends.
  bool readNext(std::vector<double>& prev, std::vector<double>& cur, RecordKind kind, ValueTarget::Kind target,
                bool limitsFirst) {
    int32_t complete = 0;
    ++lineCounter;
    if (int32_t s = readDataRecord(ctx, cur.data(), lineCounter, static_cast<int64_t>(cur.size()), complete, kind)) {
      phaseResult = s;
      return false;
    }
    if (!complete) {
      chargeEndOfFile();
      if (ended) return false;
    } else {
      auto limits = [&]() { return lodKeywords() && checkLodLimits(ctx, lineCounter, cur.data(), {target}) != 0; };
      auto flags = [&]() { return checkFlagCloseness(ctx, lineCounter, cur.data(), {target}) != 0; };
      if (checkRecordTimes(ctx, lineCounter, prev.data(), cur.data()) != 0) recordFailure();
      if (!ended && (limitsFirst ? limits() : flags())) recordFailure();
      if (!ended && (limitsFirst ? flags() : limits())) recordFailure();
      prev.swap(cur);
      if (ended) return false;
    }
    if (ctx.run.abortRequested) {
      phaseResult = 20;
      return false;
    }
    return true;
  }
  int32_t close(int64_t recordsStored) {
    if (budget < 0)
      ctx.report.error("<br>Too many errors...<br>\n");
    else
      ctx.report.printf("<br>Total number of lines processed = %d<br>\n", lineCounter - 1);
    if (plot) plot->TrimPlotRecords(recordsStored);
    status() = phaseResult;
    return phaseResult;
  }
};

void initPlot(DataPhase& ph, int64_t capacity, const std::vector<std::string>& defs) {
  if (!ph.plot) return;
  const HeaderInfo& h = ph.ctx.hdr;
  ph.plot->InitPlotData(capacity, static_cast<int32_t>(defs.size() + 1), ph.ctx.fn.fileName);
  ph.plot->AddPlotVariable(h.independentVarDef);
  for (const std::string& d : defs) ph.plot->AddPlotVariable(d);
}

}  // namespace

int32_t scanData1001(ScanContext& ctx) {
  const HeaderInfo& h = ctx.hdr;
  if (ctx.run.timeIntervalType == StartStopMid && h.numVariables < 2) {
    ctx.report.error("<br>Error: Time-Interval Type \"Start, Stop, and Mid-point\" needs the Stop and Mid-point times as variables 1 and 2, but NV on line10 = %d. The data section was not scanned.<br>\n",
                     h.numVariables);
    ctx.run.statusCode = 10;
    return 10;
  }
  DataPhase ph(ctx);
  initPlot(ph, ctx.run.linesCounted, h.varDefs);
  const size_t width = static_cast<size_t>(h.numVariables) + 1;
  std::vector<double> prev, cur;
  try {
    prev.assign(width, 0.0);
    cur.assign(width, 0.0);
  } catch (const std::bad_alloc&) {
    ph.phaseResult = 11;
    return ph.close(0);
  }
  if (!ph.readFirst(prev, RecordKind::PlainRecord, ValueTarget::PrimaryRecord)) return ph.close(0);

  const int64_t records = ctx.run.linesCounted - h.numHeaderLines;
  for (int64_t i = 0; i < records && !ph.ended; ++i) {
    ph.handOver(prev, i);
    ph.progress();
    if (ctx.run.input.eof()) break;
    if (!ph.readNext(prev, cur, RecordKind::PlainRecord, ValueTarget::PrimaryRecord, false)) break;
  }
  const int64_t stored = ph.lineCounter - h.numHeaderLines - 1;
  return ph.close(stored > 0 ? stored : 0);
}

namespace {

int32_t scanBlocks(ScanContext& ctx, bool ffi2310) {
  const HeaderInfo& h = ctx.hdr;
  const int32_t arraySizeIndex = ctx.run.timeIntervalType == StartStopMid ? 3 : 1;
  if (h.numAuxVariables < arraySizeIndex) {
    ctx.report.error("<br>Error: the array size of each block is read from auxiliary variable %d, but NAUXV = %d. The data section was not scanned.<br>\n",
                     arraySizeIndex, h.numAuxVariables);
    ctx.run.statusCode = 10;
    return 10;
  }
  DataPhase ph(ctx);
  const int64_t planned = (ctx.run.linesCounted - h.numHeaderLines) / (static_cast<int64_t>(h.numVariables) + 1);
  initPlot(ph, planned, h.auxVarDefs);
  int64_t plotIndex = 0;

  const size_t width = static_cast<size_t>(h.numAuxVariables) + 1;
  const size_t boundedWidth = static_cast<size_t>(h.numVariables) + 1;
  std::vector<double> prev, cur, bounded;
  // Room of the bounded value arrays: 4097 values, grown to the array size + 2048 when a block
  // needs more than its room less 2. A line holds at most one value per two characters, so no
  // buffer is made larger than a line can fill.
  int64_t room = 4097;
  const int64_t mostValuesPerLine = static_cast<int64_t>(ctx.run.maxLineLength) / 2 + 2;
  auto physical = [&](int64_t logical) {
    return static_cast<size_t>(logical < mostValuesPerLine ? logical : mostValuesPerLine);
  };
  try {
    prev.assign(width, 0.0);
    cur.assign(width, 0.0);
    bounded.assign(ffi2310 ? physical(room) : boundedWidth, 0.0);
  } catch (const std::bad_alloc&) {
    ph.phaseResult = 11;
    return ph.close(0);
  }
  int32_t complete = 0;
  if (!ph.readFirst(prev, RecordKind::UnboundedLine, ValueTarget::AuxiliaryLine)) return ph.close(0);

  // Ends a bounded line: its failures give the result; the phase ends once the budget is spent.
  auto afterBoundedLine = [&]() {
    if (ph.status() != 0) {
      if (ph.phaseResult == 0) ph.phaseResult = ph.status();
      if (ph.budget < 0) ph.ended = true;
      ph.status() = 0;
    }
  };

  while (!ctx.run.input.eof() && !ph.ended) {
    const double v = prev[static_cast<size_t>(arraySizeIndex)];
    const double whole = std::trunc(v);
    if (!(whole > 0)) {
      const double missing = static_cast<size_t>(arraySizeIndex - 1) < h.auxMissingFlags.size()
                                 ? h.auxMissingFlags[static_cast<size_t>(arraySizeIndex - 1)]
                                 : kInitialMissingFlag;
      if (!(nearlyEqual(v, missing) || nearlyEqual(v, 0))) {
        const std::string& def = static_cast<size_t>(arraySizeIndex - 1) < h.auxVarDefs.size()
                                     ? h.auxVarDefs[static_cast<size_t>(arraySizeIndex - 1)]
                                     : h.independentVarDef;
        ctx.report.error("<br>Error Line%d (ArraySize Invalid): AuxVar%d(%s) = Array_Size; Array_Size (value read = %.0f) must be a valid positve number, AMISS (-9's) or 0\n",
                         ph.lineCounter, arraySizeIndex, def, v);
        ph.status() = 10;
        ph.phaseResult = 10;
        break;
      }
    } else {
      const int64_t n = whole > 9e15 ? static_cast<int64_t>(9e15) : static_cast<int64_t>(whole);
      if (ffi2310) {
        if (room < n + 2) {
          room = n + 2048;
          try {
            if (bounded.size() < physical(room)) bounded.assign(physical(room), 0.0);
          } catch (const std::bad_alloc&) {
            ph.phaseResult = 11;
            break;
          }
        }
        for (int32_t k = 1; k <= h.numVariables && !ph.ended; ++k) {
          ++ph.lineCounter;
          if (int32_t s = readDataRecord(ctx, bounded.data(), ph.lineCounter, n, complete, RecordKind::BoundedLine)) {
            ph.phaseResult = s;
            ph.ended = true;
            break;
          }
          if (complete) {
            const ValueTarget t{ValueTarget::BoundedValues, k, n};
            if (ph.lodKeywords() && checkLodLimits(ctx, ph.lineCounter, bounded.data(), t) != 0) --ph.budget;
            if (checkFlagCloseness(ctx, ph.lineCounter, bounded.data(), t) != 0) --ph.budget;
          } else {
            ph.chargeEndOfFile();
            if (ph.budget < 0) {
              ph.ended = false;  // the bounded lines end here; the block itself is finished below
              break;
            }
          }
          afterBoundedLine();
        }
      } else {
        for (double u = 0; u < v && !ph.ended; ++u) {
          ++ph.lineCounter;
          if (int32_t s = readDataRecord(ctx, bounded.data(), ph.lineCounter, static_cast<int64_t>(boundedWidth), complete,
                                         RecordKind::BoundedLine)) {
            ph.phaseResult = s;
            ph.ended = true;
            break;
          }
          if (complete) {
            for (int32_t c = 1; c <= h.numVariables; ++c) {
              const ValueTarget t{ValueTarget::BoundedValues, c, 1};
              const double* value = bounded.data() + c;
              if (ph.lodKeywords() && checkLodLimits(ctx, ph.lineCounter, value, t) != 0) --ph.budget;
              if (checkFlagCloseness(ctx, ph.lineCounter, value, t) != 0) --ph.budget;
            }
          } else {
            ph.chargeEndOfFile();
            if (ph.budget < 0) {
              ph.ended = false;
              break;
            }
          }
          afterBoundedLine();
        }
      }
      if (ph.ended) break;
    }
    if (plotIndex < planned) {
      ph.handOver(prev, plotIndex);
      ++plotIndex;
    }
    ph.progress();
    if (ctx.run.input.eof()) break;
    if (!ph.readNext(prev, cur, RecordKind::UnboundedLine, ValueTarget::AuxiliaryLine, true)) break;
  }
  return ph.close(plotIndex);
}

}  // namespace

int32_t scanData2110(ScanContext& ctx) { return scanBlocks(ctx, false); }
int32_t scanData2310(ScanContext& ctx) { return scanBlocks(ctx, true); }

}  // namespace tarvik

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

// A record (FFI 1001) or an unbounded-variable line (2110/2310) with the flag class of each value.
struct Record {
  std::vector<double> values;
  std::vector<uint8_t> flagClasses;  // filled only when the host keeps plot data

  void allocate(size_t width, bool classes) {
    values.assign(width, 0.0);
    if (classes) flagClasses.assign(width, 0);
  }
  void swap(Record& other) {
    values.swap(other.values);
    flagClasses.swap(other.flagClasses);
  }
  uint8_t* classes() { return flagClasses.empty() ? nullptr : flagClasses.data(); }
};

// The state of one data phase: the line counter, the result and the error budget.
struct DataPhase {
  ScanContext& ctx;
  int64_t lineCounter;
  int32_t phaseResult = 0;
  int32_t budget = 32;
  bool ended = false;
  ScanHost* plot = nullptr;  // null when the host keeps no plot data

  explicit DataPhase(ScanContext& c) : ctx(c), lineCounter(c.hdr.numHeaderLines) {
    if (ctx.host && ctx.host->keepsPlotData()) plot = ctx.host;
    prepareValueChecks(ctx);
  }

  // Takes one unit of the budget for a failure with the given status (0 for an end-of-file read);
  // the first failure's status becomes the phase's result. True when the budget is now spent.
  bool charge(int32_t status) {
    if (status != 0 && phaseResult == 0) phaseResult = status;
    return --budget < 0;
  }
  // A failing check group of a record or unbounded-variable line, or an end-of-file read: the
  // phase ends once the budget is spent.
  void chargeAndMaybeEnd(int32_t status) {
    if (charge(status)) ended = true;
  }
  bool lodKeywords() const {
    return ctx.hdr.keywordCounts[kwUlodFlag] > 0 || ctx.hdr.keywordCounts[kwLlodFlag] > 0;
  }
  void progress() {
    if (ctx.host) ctx.host->updateProgress(ctx, lineCounter, ctx.run.linesCounted, 1);
  }
  // Hands one record (columns 0..columns-1) to the plot store, with the flag classes the value
  // checks found.
  void handOver(Record& record, int64_t index) {
    if (!plot) return;
    plot->PutPlotRecord(index, record.values.data(), record.flagClasses.data(),
                        static_cast<int32_t>(record.values.size()));
  }
  // The first record (or unbounded-variable line) into prev: false when the phase ends here.
  bool readFirst(Record& prev, RecordKind kind, ValueTarget::Kind target) {
    int32_t complete = 0;
    ++lineCounter;
    if (int32_t s = readDataRecord(ctx, prev.values.data(), lineCounter,
                                   static_cast<int64_t>(prev.values.size()), complete, kind)) {
      phaseResult = s;
      return false;
    }
    if (!complete) return false;
    int32_t limits = 0;
    if (lodKeywords()) {
      limits = checkLodLimits(ctx, lineCounter, prev.values.data(), {target});
      if (limits != 0) charge(limits);
    }
    // The first record's flag check is not charged; either failure makes the result.
    const int32_t flags = checkFlagCloseness(ctx, lineCounter, prev.values.data(), {target}, prev.classes());
    phaseResult = limits != 0 ? limits : flags;
    return true;
  }
  // The next record into cur, its time and value checks (the limits before the flags when
  // limitsFirst), then cur becomes prev. False when the phase ends.
  bool readNext(Record& prev, Record& cur, RecordKind kind, ValueTarget::Kind target, bool limitsFirst) {
    int32_t complete = 0;
    ++lineCounter;
    if (int32_t s = readDataRecord(ctx, cur.values.data(), lineCounter,
                                   static_cast<int64_t>(cur.values.size()), complete, kind)) {
      phaseResult = s;
      return false;
    }
    if (!complete) {
      chargeAndMaybeEnd(0);
      if (ended) return false;
    } else {
      auto limits = [&]() {
        return lodKeywords() ? checkLodLimits(ctx, lineCounter, cur.values.data(), {target}) : 0;
      };
      auto flags = [&]() {
        return checkFlagCloseness(ctx, lineCounter, cur.values.data(), {target}, cur.classes());
      };
      if (int32_t s = checkRecordTimes(ctx, lineCounter, prev.values.data(), cur.values.data()))
        chargeAndMaybeEnd(s);
      if (!ended)
        if (int32_t s = limitsFirst ? limits() : flags()) chargeAndMaybeEnd(s);
      if (!ended)
        if (int32_t s = limitsFirst ? flags() : limits()) chargeAndMaybeEnd(s);
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
    return phaseResult;
  }
};

void initPlot(DataPhase& ph, int64_t capacity, VarKind columns) {
  if (!ph.plot) return;
  const HeaderInfo& h = ph.ctx.hdr;
  const std::span<const Variable> vars = h.vars.of(columns);
  ph.plot->InitPlotData(capacity, static_cast<int32_t>(vars.size() + 1), ph.ctx.fn.fileName);
  ph.plot->AddPlotVariable(h.independentDefinition());
  for (const Variable& v : vars) ph.plot->AddPlotVariable(v.definition);
}

}  // namespace

int32_t scanData1001(ScanContext& ctx) {
  const HeaderInfo& h = ctx.hdr;
  if (ctx.run.timeIntervalType == StartStopMid && h.numVariables < 2) {
    ctx.report.error(
        "<br>Error: Time-Interval Type \"Start, Stop, and Mid-point\" needs the Stop and Mid-point times as variables 1 and 2, but NV on line10 = %d. The data section was not scanned.<br>\n",
        h.numVariables);
    return 10;
  }
  DataPhase ph(ctx);
  initPlot(ph, ctx.run.linesCounted, VarKind::Primary);
  const size_t width = static_cast<size_t>(h.numVariables) + 1;
  Record prev, cur;
  try {
    prev.allocate(width, ph.plot != nullptr);
    cur.allocate(width, ph.plot != nullptr);
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
    ctx.report.error(
        "<br>Error: the array size of each block is read from auxiliary variable %d, but NAUXV = %d. The data section was not scanned.<br>\n",
        arraySizeIndex, h.numAuxVariables);
    return 10;
  }
  DataPhase ph(ctx);
  const int64_t planned = (ctx.run.linesCounted - h.numHeaderLines) / (static_cast<int64_t>(h.numVariables) + 1);
  initPlot(ph, planned, VarKind::Auxiliary);
  int64_t plotIndex = 0;

  const size_t width = static_cast<size_t>(h.numAuxVariables) + 1;
  const size_t boundedWidth = static_cast<size_t>(h.numVariables) + 1;
  Record prev, cur;
  std::vector<double> bounded;
  // Room of the bounded value arrays: 4097 values, grown to the array size + 2048 when a block
  // needs more than its room less 2. A line holds at most one value per two characters, so no
  // buffer is made larger than a line can fill.
  int64_t room = 4097;
  const int64_t mostValuesPerLine = static_cast<int64_t>(ctx.run.maxLineLength) / 2 + 2;
  auto physical = [&](int64_t logical) {
    return static_cast<size_t>(logical < mostValuesPerLine ? logical : mostValuesPerLine);
  };
  try {
    prev.allocate(width, ph.plot != nullptr);
    cur.allocate(width, ph.plot != nullptr);
    bounded.assign(ffi2310 ? physical(room) : boundedWidth, 0.0);
  } catch (const std::bad_alloc&) {
    ph.phaseResult = 11;
    return ph.close(0);
  }
  int32_t complete = 0;
  if (!ph.readFirst(prev, RecordKind::UnboundedLine, ValueTarget::AuxiliaryLine)) return ph.close(0);

  // The checks of one bounded line: a failure carries over to the line's later calls, and every
  // call that ends with the line failed is charged. The phase ends after the line once the budget
  // is spent.
  int32_t lineStatus = 0;
  auto boundedCheck = [&](int32_t result) {
    if (result != 0) lineStatus = result;
    if (lineStatus != 0) ph.charge(lineStatus);
  };
  auto afterBoundedLine = [&]() {
    if (lineStatus != 0 && ph.budget < 0) ph.ended = true;
    lineStatus = 0;
  };
  // The file ended while bounded lines of the block were still expected: it was cut short, and
  // the phase ends here.
  auto endedInsideBlock = [&](int64_t blockLine, int64_t announced, int64_t found) {
    ctx.report.error("<br>Error Line%d (Block Incomplete): the file ended inside the block of this unbounded-variable line, which announced %d bounded lines; %d were found. The file may have been cut short.<br>\n",
                     blockLine, announced, found);
    if (ph.phaseResult == 0) ph.phaseResult = 10;
    ph.ended = true;
  };

  while (!ctx.run.input.eof() && !ph.ended) {
    const int64_t blockLine = ph.lineCounter;  // the block's unbounded-variable line
    const double v = prev.values[static_cast<size_t>(arraySizeIndex)];
    const double whole = std::trunc(v);
    if (!(whole > 0)) {
      const Variable* sizeVar = h.vars.at(VarKind::Auxiliary, static_cast<size_t>(arraySizeIndex - 1));
      const double missing = sizeVar ? sizeVar->missingFlag : kInitialMissingFlag;
      if (!(nearlyEqual(v, missing) || nearlyEqual(v, 0))) {
        const std::string_view def =
            sizeVar ? std::string_view(sizeVar->definition) : h.independentDefinition();
        ctx.report.error(
            "<br>Error Line%d (ArraySize Invalid): AuxVar%d(%s) = Array_Size; Array_Size (value read = %.0f) must be a valid positve number, AMISS (-9's) or 0\n",
            ph.lineCounter, arraySizeIndex, def, v);
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
            if (ph.lodKeywords()) boundedCheck(checkLodLimits(ctx, ph.lineCounter, bounded.data(), t));
            boundedCheck(checkFlagCloseness(ctx, ph.lineCounter, bounded.data(), t));
          } else {
            endedInsideBlock(blockLine, h.numVariables, k - 1);
            break;
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
              if (ph.lodKeywords()) boundedCheck(checkLodLimits(ctx, ph.lineCounter, value, t));
              boundedCheck(checkFlagCloseness(ctx, ph.lineCounter, value, t));
            }
          } else {
            endedInsideBlock(blockLine, n + (v > whole ? 1 : 0), static_cast<int64_t>(u));
            break;
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

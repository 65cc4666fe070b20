#include "scan/data/data_values.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "scan/core/message_budget.h"
#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"

namespace tarvik {

namespace {

VarLimits limitsOf(const Variable& v) {
  return {v.scaleFactor,
          v.missingFlag,
          v.ulodFlag,
          v.llodFlag,
          v.ulodValue,
          v.llodValue,
          !nearlyEqual(v.ulodValue, v.missingFlag),
          !nearlyEqual(v.llodValue, v.missingFlag),
          &v.definition};
}

// What a variable the header did not describe is checked against.
const VarLimits& undescribed() {
  static const std::string empty;
  static const VarLimits v{1,
                           kInitialMissingFlag,
                           kInitialUlodFlag,
                           kInitialLlodFlag,
                           kInitialLodValue,
                           kInitialLodValue,
                           false,
                           false,
                           &empty};
  return v;
}

// Walks the values of a target: f(x, limits, definition text, 1-based variable number, 1-based
// position), called only for the values for which the quick test q(x, limits) says it may write.
template <class Q, class F>
void forEachValue(ScanContext& ctx, const double* values, const ValueTarget& t, Q q, F f) {
  prepareValueChecks(ctx);
  const CheckStates& st = ctx.checks;
  switch (t.kind) {
    case ValueTarget::PrimaryRecord:
      for (size_t i = 0; i < st.primaryLimits.size(); ++i)
        if (q(values[i + 1], st.primaryLimits[i]))
          f(values[i + 1], st.primaryLimits[i], static_cast<int64_t>(i) + 1, static_cast<int64_t>(i) + 1);
      break;
    case ValueTarget::AuxiliaryLine:
      for (size_t i = 0; i < st.auxLimits.size(); ++i)
        if (q(values[i + 1], st.auxLimits[i]))
          f(values[i + 1], st.auxLimits[i], static_cast<int64_t>(i) + 1, static_cast<int64_t>(i) + 1);
      break;
    case ValueTarget::BoundedValues: {
      const size_t k = static_cast<size_t>(t.variable > 0 ? t.variable - 1 : 0);
      if (k >= st.primaryLimits.size()) break;
      const VarLimits& v = st.primaryLimits[k];
      for (int64_t j = 0; j < t.count; ++j)
        if (q(values[j], v)) f(values[j], v, static_cast<int64_t>(t.variable), j + 1);
      break;
    }
  }
}


bool isAnyFlag(double x, const VarLimits& v) { return nearlyEqual(x, v.M) || nearlyEqual(x, v.UF) || nearlyEqual(x, v.LF); }

// The value printed without decimals is a minus sign followed by `lead` repeated up to eight times
// and nines after that (the look-alike of a flag written with one more digit than usual).
bool digitsLookLikeFlag(double x, int code) {
  const double r = std::nearbyint(x);
  if (!(r > -1e14)) return false;  // 16 characters or more when printed
  int64_t m = -static_cast<int64_t>(r);
  if (m <= 0) return false;
  char digits[24];
  int n = 0;
  while (m > 0) {
    digits[n++] = static_cast<char>('0' + m % 10);
    m /= 10;
  }
  const char lead = static_cast<char>('0' - code);
  for (int k = 0; k < n; ++k) {
    const char d = digits[n - 1 - k];
    if (d != (k < 8 ? lead : '9')) return false;
  }
  return true;
}

}  // namespace

void prepareValueChecks(ScanContext& ctx) {
  CheckStates& st = ctx.checks;
  if (st.limitsReady) return;
  const HeaderInfo& h = ctx.hdr;
  auto gather = [&](VarKind kind, int32_t count, std::vector<VarLimits>& out) {
    out.clear();
    for (size_t i = 0; i < static_cast<size_t>(count > 0 ? count : 0); ++i) {
      const Variable* v = h.vars.at(kind, i);
      out.push_back(v ? limitsOf(*v) : undescribed());
    }
  };
  gather(VarKind::Primary, h.numVariables, st.primaryLimits);
  gather(VarKind::Auxiliary, h.numAuxVariables, st.auxLimits);
  st.limitsReady = true;
}

uint8_t flagClassOf(double value, const VarLimits& v) {
  if (nearlyEqual(value, v.M)) return 1;
  if (nearlyEqual(value, v.LF)) return 2;
  if (nearlyEqual(value, v.UF)) return 3;
  return 0;
}

void reportSuspiciousValue(ScanContext& ctx, int64_t lineNumber, int64_t variable, double x, double flag, double lodValue,
                           double missingFlag, int code) {
  MessageBudget& budget = ctx.checks.suspiciousValues;
  const bool isFlag = nearlyEqual(x, flag);
  if (!budget.allows()) return;
  const char* name = code == -7 ? "ULOD_FLAG" : (code == -8 ? "LLOD_FLAG" : "MissingDataFlag");
  const HeaderInfo& h = ctx.hdr;
  const bool keyword = code == -7 ? h.keywordCounts[kwUlodFlag] > 0 : (code == -8 ? h.keywordCounts[kwLlodFlag] > 0 : false);
  Report& r = ctx.report;
  if (isFlag && (code == -7 || code == -8) && keyword && nearlyEqual(lodValue, missingFlag)) {
    r.beginWarning();
    r.printf("<font size=\"-1\">Line%d: %s is being used and its LOD_VALUE is not defined (or is a function): Var_%d (Value=%.3f, LOD_FLAG=%.3f, LOD_VALUE=%.5f)<br></font>\n",
             lineNumber, name, variable, x, flag, lodValue);
    budget.spend(r, MessageBudget::Notice::Plain,
                 "<br><br>Too many suspicious LOD_FLAG misusage found...<br> \n");
    r.endBlock();
  }
  if (isFlag || x >= -99.9) return;
  const double t = std::trunc(x);
  bool lookAlike = false;
  for (double m : {111.0, 1111.0, 11111.0, 111111.0, 1111111.0})
    if (t == code * m) lookAlike = true;
  if (!lookAlike) lookAlike = digitsLookLikeFlag(x, code);
  if (!lookAlike) return;
  r.beginWarning();
  r.printf("<font size=\"-1\">Line%d: Suspicious Data: Var_%d (Value=%.3f) looks similar to %s in Header. If this point is a FLAG, it MUST be the same as in Header (%.0f...)<br></font>\n",
           lineNumber, variable, x, name, flag);
  budget.spend(r, MessageBudget::Notice::Plain, "<br><br>Too many suspicious data found...<br> \n");
  r.endBlock();
}

int32_t checkLodLimits(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target) {
  const HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  const bool ulod = h.keywordCounts[kwUlodFlag] > 0, llod = h.keywordCounts[kwLlodFlag] > 0;
  const bool ffi2310 = h.ffi == 2310;
  int32_t status = 0;
  if (!ulod && !llod) return status;
  auto mayFail = [&](double x, const VarLimits& v) {
    const double xs = x * v.s;
    return ((ulod && v.uvDefined && xs > v.UV) || (llod && v.lvDefined && xs < v.LV)) && !isAnyFlag(x, v);
  };
  forEachValue(ctx, values, target, mayFail, [&](double x, const VarLimits& v, int64_t i, int64_t j) {
    const std::string& name = *v.definition;
    const bool flag = isAnyFlag(x, v);
    if (ulod && !flag && v.uvDefined && x * v.s > v.UV) {
      switch (target.kind) {
        case ValueTarget::PrimaryRecord:
          if (nearlyEqual(v.s, 1.0))
            r.error("Line%d: Error - Var_%d (%s): Value = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n", lineNumber, i, name, x, v.UV);
          else
            r.error("Line%d: Error - Var_%d (%s): ScaleFactor(%.4f) * Value(%.4f) = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n",
                    lineNumber, i, name, v.s, x, v.s * x, v.UV);
          break;
        case ValueTarget::AuxiliaryLine:
          r.error("Line%d: Error - AuxVar_%d (%s): Value(%.4f) * Multiplier(%.4f) = %.4f is GREATER_THAN ULOD_VALUE(%.4f) in header.<br>\n",
                  lineNumber, i, name, x, v.s, x * v.s, v.UV);
          break;
        case ValueTarget::BoundedValues:
          if (ffi2310)
            r.error("Line%d: Error - PrimaryVar_%d = %s: [ Array_Point_%d = %.4f * Multiplier = %.4f ] is GREATER_THAN ULOD_VALUE (%.4f) in header.<br>\n",
                    lineNumber, i, name, j, x, v.s, v.UV);
          else
            r.error("Line%d: Error - PrimaryVar_%d = %s: [ Value = %.4f * ScaleFactor = %.4f ] is GREATER_THAN ULOD_VALUE (%.4f) in header.<br>\n",
                    lineNumber, i, name, x, v.s, v.UV);
          break;
      }
      status = 10;
    }
    if (llod && !flag && v.lvDefined && x * v.s < v.LV) {
      switch (target.kind) {
        case ValueTarget::PrimaryRecord:
          if (nearlyEqual(v.s, 1.0))
            r.error("Line%d: Error - Var_%d (%s): Value = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n", lineNumber, i, name, x, v.LV);
          else
            r.error("Line%d: Error - Var_%d (%s): ScaleFactor(%.4f) * Value(%.4f) = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                    lineNumber, i, name, v.s, x, v.s * x, v.LV);
          break;
        case ValueTarget::AuxiliaryLine:
          r.error("Line%d: Error - AuxVar_%d (%s): Value(%.4f) * Multiplier(%.4f) = %.4f is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                  lineNumber, i, name, x, v.s, x * v.s, v.LV);
          break;
        case ValueTarget::BoundedValues:
          if (ffi2310)
            r.error("Line%d: Error - PrimaryVar_%d = %s: [ Array_Point_%d = %.4f * Multiplier = %.4f ] is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                    lineNumber, i, name, j, x, v.s, v.LV);
          else
            r.error("Line%d: Error - PrimaryVar_%d = %s: [ Value = %.4f * ScaleFactor = %.4f ] is LESS_THAN LLOD_VALUE (%.4f) in header.<br>\n",
                    lineNumber, i, name, x, v.s, v.LV);
          break;
      }
      status = 10;
    }
  });
  return status;
}

int32_t checkFlagCloseness(ScanContext& ctx, int64_t lineNumber, const double* values, ValueTarget target,
                           uint8_t* flagClasses) {
  const HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  const bool ulod = h.keywordCounts[kwUlodFlag] > 0, llod = h.keywordCounts[kwLlodFlag] > 0;
  const MessageBudget& suspicious = ctx.checks.suspiciousValues;
  prepareValueChecks(ctx);
  int32_t status = 0;
  int tooClose = 0;
  // Only the values the quick test lets through can be flags; every other value's class is 0.
  const bool classify = flagClasses && target.kind != ValueTarget::BoundedValues;
  if (classify) {
    const size_t n = 1 + (target.kind == ValueTarget::PrimaryRecord ? ctx.checks.primaryLimits.size()
                                                                    : ctx.checks.auxLimits.size());
    std::fill(flagClasses, flagClasses + n, uint8_t{0});
  }
  // Most values are no flag, not too close to one and not below -99.9: nothing to write.
  auto mayWrite = [&](double x, const VarLimits& v) {
    const double xs = x * v.s;
    const bool close = 0.1 * v.M > xs || (ulod && v.uvDefined && 0.1 * v.UF > xs) || (llod && v.lvDefined && 0.1 * v.LF > xs);
    return close || (x < -99.9 && suspicious.allows()) || isAnyFlag(x, v);
  };
  forEachValue(ctx, values, target, mayWrite, [&](double x, const VarLimits& v, int64_t i, int64_t) {
    const std::string& name = *v.definition;
    const bool eqM = nearlyEqual(x, v.M), eqU = nearlyEqual(x, v.UF), eqL = nearlyEqual(x, v.LF);
    if (classify) flagClasses[i] = flagClassOf(x, v);
    if (!(eqM || eqU || eqL)) {
      const double xs = x * v.s;
      if (0.1 * v.M > xs) {
        if (target.kind == ValueTarget::PrimaryRecord)
          r.error("Line%d: Error(-9's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        else if (target.kind == ValueTarget::BoundedValues)
          r.error("Line%d: Error - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>",
                  lineNumber, i, name, x, v.s);
        else
          r.error("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined Missing Data Flag(-9's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        status = 10;
        ++tooClose;
      }
      if (ulod && v.uvDefined && 0.1 * v.UF > xs) {
        if (target.kind == ValueTarget::AuxiliaryLine)
          r.error("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined (Aux) U_LOD_FLAG(-7's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        else
          r.error("Line%d: Error(-7's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined U_LOD_FLAG(-7's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        status = 10;
        ++tooClose;
      }
      if (llod && v.lvDefined && 0.1 * v.LF > xs) {
        if (target.kind == ValueTarget::AuxiliaryLine)
          r.error("Line%d: Error - AuxVar_%d (%s)<br> [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined (Aux) L_LOD_FLAG(-8's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        else
          r.error("Line%d: Error(-8's) - Var_%d (%s): [ Value = %.4f * ScaleFactor = %.4f ] is 'considered too close' to the defined L_LOD_FLAG(-8's) in header.<br>\n",
                  lineNumber, i, name, x, v.s);
        status = 10;
        ++tooClose;
      }
    }
    // A value that is no flag and not below -99.9 is never suspicious: most values stop here.
    if (!suspicious.allows() || (x >= -99.9 && !(eqM || eqU || eqL))) return;
    reportSuspiciousValue(ctx, lineNumber, i, x, v.UF, v.UV, v.M, -7);
    reportSuspiciousValue(ctx, lineNumber, i, x, v.LF, v.LV, v.M, -8);
    reportSuspiciousValue(ctx, lineNumber, i, x, v.M, -9999.0, v.M, -9);
  });
  if (tooClose > 0) {
    r.write("<strong style=\"background-color:#FF9966; color:#000000\">");
    r.write("Note: Missing and LOD Flags MUST be at least one digit higher than data; e.g., if data = -123 (3 digits), then Missing Flag should be set to -9999 (4 digits).</strong><br>\n");
    status = 10;
  }
  return status;
}

}  // namespace tarvik

#include "scan/header/lod.h"

#include <cmath>
#include <span>
#include <string>
#include <string_view>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"

namespace tarvik {

namespace {

// Steps 3 to 5 of the preparation: the working text of the items.
std::string prepareLodText(ScanContext& ctx, int64_t lineNumber, std::string_view keyword, std::string_view rest) {
  std::string text(rest);
  if (text.size() > 1022) {
    ctx.report.warning("<br />Warning Line%d: seems unusual or incorrect.<br />%s: %s<br /><br />\n", lineNumber, keyword,
                       rest);
    size_t cut = std::string::npos;
    for (size_t i = 1000; i < 1022 && i < text.size(); ++i)
      if (text[i] == ';' || text[i] == ',') {
        cut = i + 1;
        break;
      }
    text.resize(cut != std::string::npos ? cut : 1023);
  }
  std::string squeezed;
  squeezed.reserve(text.size());
  for (char c : text)
    if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' ')) squeezed.push_back(c);
  std::string filled;
  filled.reserve(squeezed.size() + 16);
  for (size_t i = 0; i < squeezed.size(); ++i) {
    char c = squeezed[i];
    if ((c == ';' || c == ',') && (i == 0 || squeezed[i - 1] == ';' || squeezed[i - 1] == ',')) filled.append("N/A");
    filled.push_back(c);
  }
  if (!filled.empty()) filled.pop_back();
  return filled;
}

bool flagFails(double f, double b, bool lowerBound) {
  if (f > 11 * b) return true;
  double whole = std::trunc(f);
  if (!std::isfinite(whole) || std::fmod(whole, b) != 0) return true;
  return lowerBound && f < -888888888.1;
}

}  // namespace

int32_t readLodLine(ScanContext& ctx, LodKind kind, int64_t lineNumber, std::string_view keyword,
                    const std::string_view* rest) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  if (!rest) {
    r.error("<br />Error Line%d: seems unusual or empty.<br />%s<br /><br />\n", lineNumber, keyword);
    return 0;
  }
  if (rest->size() < 2) {
    r.error("<br />Error Line%d: seems unusual or empty.<br />%s: %s<br /><br />\n", lineNumber, keyword, *rest);
    return 0;
  }
  const bool upper = kind == LodKind::UlodFlag || kind == LodKind::UlodValue;
  const bool flagKind = kind == LodKind::UlodFlag || kind == LodKind::LlodFlag;
  const char letter = upper ? 'U' : 'L';
  const double b = upper ? -7 : -8;
  const bool multi = h.multiDimensional();
  const size_t nv = static_cast<size_t>(h.numVariables > 0 ? h.numVariables : 0);
  const size_t naux = multi ? static_cast<size_t>(h.numAuxVariables > 0 ? h.numAuxVariables : 0) : 0;

  // The field of each variable record this line fills, and the flag field that goes with a value.
  double Variable::*const field = flagKind ? (upper ? &Variable::ulodFlag : &Variable::llodFlag)
                                           : (upper ? &Variable::ulodValue : &Variable::llodValue);
  double Variable::*const flagField = upper ? &Variable::ulodFlag : &Variable::llodFlag;
  const std::span<Variable> prim = h.vars.of(VarKind::Primary);
  const std::span<Variable> aux = h.vars.of(VarKind::Auxiliary);
  auto setPrim = [&](size_t i, double v) {
    if (i < prim.size()) prim[i].*field = v;
  };
  auto setAux = [&](size_t i, double v) {
    if (i < aux.size()) aux[i].*field = v;
  };
  auto missingOf = [](std::span<Variable> vars, size_t i) {
    return i < vars.size() ? vars[i].missingFlag : kInitialMissingFlag;
  };

  const std::string text = prepareLodText(ctx, lineNumber, keyword, *rest);
  Tokenizer tok(text, ":;,\t\r\n");
  std::string_view item;
  size_t p = 0, a = 0;
  bool itemNotNumber = false, tooMany = false;
  while (tok.next(item)) {
    const bool isNumber = isNumberToken(item).ok;
    if (flagKind) {
      if (!isNumber) {
        itemNotNumber = true;
        break;
      }
      const double v = leadingReal(item);
      if (a < naux) {
        for (size_t j = a; j < naux; ++j) setAux(j, v);
        ++a;
        for (size_t j = 0; j < nv; ++j) setPrim(j, v);
        continue;
      }
      if (p >= nv) {
        tooMany = true;
        break;
      }
      for (size_t j = p; j < nv; ++j) setPrim(j, v);
      ++p;
    } else {
      if (a < naux) {
        setAux(a, isNumber ? leadingReal(item) : missingOf(aux, a));
        ++a;
        continue;
      }
      if (p >= nv) {
        tooMany = true;
        break;
      }
      setPrim(p, isNumber ? leadingReal(item) : missingOf(prim, p));
      ++p;
    }
  }

  int32_t status = 0;
  if (flagKind) {
    bool failed = itemNotNumber;
    double shown = prim.empty() ? 0.0 : prim[0].*field;
    for (size_t j = 0; j < nv && j < prim.size(); ++j)
      if (flagFails(prim[j].*field, b, true)) {
        failed = true;
        shown = prim[j].*field;
        break;
      }
    for (size_t j = 0; j < naux && j < aux.size(); ++j)
      if (flagFails(aux[j].*field, b, false)) failed = true;
    if (failed) {
      r.beginError();
      r.printf("Error Header Line%d: The %cLOD_FLAG expected is %d, %d, or %d, etc.<br>\n", lineNumber, letter,
               static_cast<int>(111 * b), static_cast<int>(1111 * b), static_cast<int>(11111 * b));
      r.printf("The %cLOD_FLAG Value should NOT be less than %d (Nine (9) digits)<br />", letter,
               static_cast<int>(111111111 * b));
      r.endBlock();
      r.printf("<font color='#0000FF'>Line%d:</font> %s [%lf]<br /><br />\n", lineNumber, run.echoBuffer, shown);
      status = 10;
    }
  } else {
    // A LOD value other than the missing flag needs its LOD flag.
    auto needsFlag = [&](std::span<Variable> vars, size_t n) {
      for (size_t j = 0; j < n && j < vars.size(); ++j) {
        const double f = vars[j].*flagField;
        if (!nearlyEqual(vars[j].*field, vars[j].missingFlag) && f > -1e15 && f < -888888888.1) return true;
      }
      return false;
    };
    if (needsFlag(prim, nv) || (multi && needsFlag(aux, naux))) {
      r.beginError();
      r.printf("Error Header Line%d: The %cLOD_VALUE seem valid; therefore, %cLOD_FLAG must also exist. \n", lineNumber,
               letter, letter);
      r.printf("If you did not intend on using %cLOD's, then enter N/A on line%d in the header (i.e., %cLOD_VALUE: N/A)<br />\n",
               letter, lineNumber, letter);
      r.endBlock();
      r.echo(Echo::B, lineNumber, run.echoBuffer);
      status = 10;
    }
  }
  if (tooMany) {
    r.error("Error Header Line%d: The number of points found on this line MUST NOT be GREATER_THAN the total number of primary variables (NV = %d). Please remove any extra text from this line.<br />\n",
            lineNumber, h.numVariables);
    r.echo(Echo::B, lineNumber, run.echoBuffer);
    status = 10;
  }
  if (!flagKind && run.timeIntervalType == StartStopMid) {
    const std::span<Variable> vals = multi ? aux : prim;
    if (!vals.empty() && !nearlyEqual(vals[0].*field, vals[0].missingFlag)) {
      r.error("<br />Error Header Line%d: [U/L]LOD_VALUE for <b>STOP_TIME</b> (independent variable) detected.<br />LODs do NOT apply to independent variables; please enter N/A for independent variable's LOD_VALUE.\n",
              lineNumber);
      status = 10;
    }
  }
  return status;
}

}  // namespace tarvik

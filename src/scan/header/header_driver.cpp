#include "scan/header/header_driver.h"

#include <new>
#include <span>
#include <string>
#include <string_view>

#include "scan/core/message_budget.h"
#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/header/fixed_lines.h"
#include "scan/header/icartt_v2.h"
#include "scan/header/keywords.h"
#include "scan/header/variables.h"

namespace tarvik {

namespace {

std::string_view shortNameOf(std::string_view def) { return def.substr(0, def.find(',')); }

void writeValuesRead(ScanContext& ctx) {
  const HeaderInfo& h = ctx.hdr;
  ctx.report.printf("Values Read: NumHeaderLines=%d; NumVariables=%d; NumSpecialComments=%d; NumNormalComments=%d<br>\n",
                    h.numHeaderLines, h.numVariables, h.numSpecialComments, h.numNormalComments);
}

constexpr const char* kMismatchHint =
    "Ths error could be due to a mismatch in the NumHeaderLines on line1, NumVariables on line10, NumSpecialComments or NumNormalComments.<br>\n";

}  // namespace

int32_t checkShortNames(ScanContext& ctx, const std::string& line, int64_t number) {
  const HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  bool invalid = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\t' && line[i] != ';') continue;
    invalid = true;
    r.beginError();
    r.printf("<br>Error on Line%d: Found an invalid character on this line at location %d. The invalid character is a \n",
             number, i + 1);
    r.write(line[i] == '\t' ? "'tab'.\n" : " 'semicolon'.\n");
    r.endBlock();
  }
  if (invalid) {
    r.echo(Echo::D, number, line);
    return 10;
  }

  const int64_t nv = h.numVariables, naux = h.numAuxVariables;
  const int64_t expected = h.ffi == 1001 ? nv + 1 : (h.ffi == 2310 ? nv + naux + 1 : nv + naux + 2);
  std::string copy;
  try {
    copy = line;
  } catch (const std::bad_alloc&) {
    return 12;
  }
  int64_t commas = 0;
  const int64_t cap = 100 * expected + 1;
  for (char& c : copy) {
    if (c != ',') continue;
    c = '`';
    if (++commas >= cap) break;
  }
  if (commas + 1 != expected) {
    r.beginError();
    r.printf("Error - Header Line%d: Either the delimiter(s) NOT compliant or the number of items on this line NOT matching; delimiters should be all commas. See ICARTT File Format document for details. \n",
             number);
    if (commas == 0)
      r.printf("The expected number of items (i.e., individual labels or data points) on this line = %d; but instead NONE found.<br>\n",
               expected);
    else
      r.printf("The expected number of items (i.e., individual labels or data points) on this line = %d; the number of items found = %d. \n",
               expected, commas + 1);
    r.write(kMismatchHint);
    writeValuesRead(ctx);
    r.endBlock();
    r.echo(Echo::A, number, line);
    return 10;
  }

  Tokenizer tok(copy, "`");
  std::string_view item;
  bool mismatch = false;
  auto itemText = [](std::string_view it) { return it.substr(0, 255); };
  if (tok.next(item)) {
    if (!sameShortName(h.independentDefinition(), itemText(item), '`')) {
      mismatch = true;
      r.beginError();
      r.printf(
          "Error - Header Last Line (Line%d): Var_1 - short variable name (%s) on this line doesn't match variable's short name definition (%s).<br />",
          number, itemText(item), shortNameOf(h.independentDefinition()));
      r.write(kMismatchHint);
      writeValuesRead(ctx);
      r.endBlock();
      r.echo(Echo::B, number, line);
    }
  } else {
    return 0;
  }
  const char* rest = "`\r\n";
  const std::span<const Variable> aux = h.vars.of(VarKind::Auxiliary);
  const std::span<const Variable> primary = h.vars.of(VarKind::Primary);
  if (h.multiDimensional()) {
    for (size_t k = 0; k < aux.size(); ++k) {
      if (!tok.next(item, rest)) return mismatch ? 10 : 0;
      if (sameShortName(aux[k].definition, itemText(item), '`')) continue;
      mismatch = true;
      r.error(
          "Error - Header Last Line (Line%d): AUX_Var_%d - short variable name (%s) on this line doesn't match variable's short name definition (%s).<br>",
          number, static_cast<int64_t>(k) + 2, itemText(item), shortNameOf(aux[k].definition));
      r.echo(Echo::A, number, line);
    }
  }
  if (h.ffi == 2110) {
    if (!tok.next(item, rest)) return mismatch ? 10 : 0;
    if (!sameShortName(h.boundedDefinition(), itemText(item), '`')) {
      mismatch = true;
      r.error(
          "Error - Header Last Line (Line%d): Bounded_Indep_Var_%d - short variable name (%s) on this line doesn't match variable's short name definition (%s).<br>",
          number, naux + 2, itemText(item), shortNameOf(h.boundedDefinition()));
      r.echo(Echo::A, number, line);
    }
  }
  const int64_t offset = h.ffi == 1001 ? 2 : (h.ffi == 2310 ? naux + 2 : naux + 3);
  MessageBudget primaryMismatches(32);  // the first four also say what the header's counts are
  for (size_t k = 0; k < primary.size(); ++k) {
    if (!tok.next(item, rest)) break;
    if (sameShortName(primary[k].definition, itemText(item), '`')) continue;
    mismatch = true;
    r.beginError();
    r.printf(
        "Error - Header Last Line (Line%d): Var_%d - short variable name (%s) on this line doesn't match variable's short name definition (%s).<br />",
        number, static_cast<int64_t>(k) + offset, itemText(item), shortNameOf(primary[k].definition));
    if (primaryMismatches.used() < 4) {
      r.write(kMismatchHint);
      writeValuesRead(ctx);
    }
    r.endBlock();
    r.echo(Echo::A, number, line);
    if (primaryMismatches.spend(r, MessageBudget::Notice::Error, "<br>Too many errors...<br>\n")) break;
  }
  return mismatch ? 10 : 0;
}

int32_t readHeader(ScanContext& ctx, int32_t& linesRead) {
  ScanRun& run = ctx.run;
  HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  linesRead = 1;
  int32_t status = readLine1(ctx);
  if (status != 0) return status;

  const bool multi = h.ffi != 1001;
  int32_t line = 1;
  // Raises linesRead for the next line of the grammar; false when the header phase has stopped.
  auto next = [&]() {
    if (status != 0) return false;
    linesRead = ++line;
    return true;
  };
  const HeaderSlot texts[] = {HeaderSlot::PiName, HeaderSlot::PiOrganization, HeaderSlot::Instrumentation,
                              HeaderSlot::MissionName};
  for (HeaderSlot s : texts)
    if (next()) status = readTextLine(ctx, line, 0, s);
  if (next()) status = readLine6(ctx);
  if (next()) status = readLine7(ctx);
  if (next()) status = readLine8(ctx);
  // Line 9 defines the independent variable (FFI 1001) or the bounded one, line 10 the unbounded.
  if (next()) status = readTextLine(ctx, line, 1, HeaderSlot::Definition, {VarKind::Independent, 0});
  if (multi && next()) status = readTextLine(ctx, line, 1, HeaderSlot::Definition, {VarKind::Independent, 1});
  int32_t count = 0;
  if (next()) {
    status = readCountLine(ctx, line, 1, 4094, "Header No. Vars", count);
    if (status == 0) h.numVariables = count;
  }
  if (next()) status = readScaleLine(ctx, h.numVariables, line, VarKind::Primary);
  if (next()) status = readMissingLine(ctx, h.numVariables, line, VarKind::Primary);
  for (int32_t i = 0; i < h.numVariables && status == 0; ++i)
    if (next())
      status = readTextLine(ctx, line, 1, HeaderSlot::Definition, {VarKind::Primary, static_cast<size_t>(i)});
  if (multi) {
    if (next()) {
      status = readCountLine(ctx, line, 1, 4095, "Header No. Auxiliary Vars", count);
      if (status == 0) h.numAuxVariables = count;
    }
    if (next()) status = readScaleLine(ctx, h.numAuxVariables, line, VarKind::Auxiliary);
    if (next()) status = readMissingLine(ctx, h.numAuxVariables, line, VarKind::Auxiliary);
    for (int32_t i = 0; i < h.numAuxVariables && status == 0; ++i)
      if (next())
        status =
            readTextLine(ctx, line, 1, HeaderSlot::Definition, {VarKind::Auxiliary, static_cast<size_t>(i)});
  } else {
    h.numAuxVariables = 0;
  }
  if (next()) {
    status = readCountLine(ctx, line, 0, 4095, "Header No. Special Comments", count);
    if (status == 0) h.numSpecialComments = count;
  }
  for (int32_t i = 0; i < h.numSpecialComments && status == 0; ++i)
    if (next()) status = readTextLine(ctx, line, 0, HeaderSlot::SpecialComment);
  if (next()) {
    status = readCountLine(ctx, line, 0, 4095, "Header No. Normal Comments", count);
    if (status == 0) h.numNormalComments = count;
  }
  const int32_t nncomLine = line;

  // The keyword state starts again with the normal comments.
  for (int32_t& c : h.keywordCounts) c = 0;
  h.allKeywordsFound = 0;
  h.uncertaintyText.clear();
  h.revisionComplete = 0;

  for (int32_t i = 0; i < h.numNormalComments - 1 && status == 0; ++i) {
    if (!next()) break;
    status = readTextLine(ctx, line, 0, HeaderSlot::NormalComment);
    run.echoBuffer = run.lineBuffer;
    if (status == 0) status = checkNormalComment(ctx, line, run.lineBuffer);
    if (status == 0 && v2Mode(ctx)) noteNormalComment(ctx, line, run.lineBuffer);
  }
  if (status == 0 && v2Mode(ctx)) checkKeywordOrder(ctx);
  if (next()) status = readTextLine(ctx, line, 0, HeaderSlot::NormalComment);
  if (status == 0) status = checkShortNames(ctx, run.lineBuffer, line);
  if (status == 0 && v2Mode(ctx)) checkShortNamesV2(ctx, line, run.lineBuffer);

  if (status == 0 && ctx.fn.revision > 0 && h.revisionComplete == 0) {
    if (ctx.fn.revisionIsLetter) {
      r.error("<br>HEADER REVISION Section seems incorrect -- Expecting _RA, _RB, .etc. for Field data files.\n");
    } else {
      r.beginError();
      r.printf("<br>HEADER REVISION Section seems incomplete. Expecting %d separate 'Revision Comments'. Please note, revision numbers and comments are cumulative. For example,\n",
               ctx.fn.revision + 1);
      r.printf("<blockquote>REVISION: R1; R0<br> R1: Enter text here specific to this revision <br> R0: No comments for this revision.</blockquote>This error could also be due to the NumNormalComments (Line%d: N_COMM=%d) not being correct \n",
               nncomLine, h.numNormalComments);
      r.endBlock();
    }
    status = 10;
  }

  if (status == 0) {
    const int64_t base = static_cast<int64_t>(h.numVariables) + h.numSpecialComments + h.numNormalComments;
    const int64_t expected = multi ? base + h.numAuxVariables + 18 : base + 14;
    if (h.numHeaderLines != expected) {
      r.beginError();
      if (!multi) {
        r.printf("<br>Error Header Line1, where, %d(read) != %d(expected). The NumHeaderLines Value for FFI=1001 File type must equal to (14 + NumVariables + NumSpecialComments + NumNormalComments).<br>\n",
                 h.numHeaderLines, expected);
        r.printf("Values Read: NumHeaderLines=%d; NumVariables=%d; NumSpecialComments=%d; NumNormalComments=%d<br>\n",
                 h.numHeaderLines, h.numVariables, h.numSpecialComments, h.numNormalComments);
      } else {
        r.printf("<br>Error Header Line1, where, %d(read) != %d(expected). The NumHeaderLines Value for FFI=%d File type must equal to (18 + NumIndependentVars + NumAuxiliaryVars + NumSpecialComments + NumNormalComments).<br>\n",
                 h.numHeaderLines, expected, h.ffi);
        r.printf("Values Read: NumHeaderLines=%d; NumIndependentVars=%d; NumAuxiliaryVars=%d; NumSpecialComments=%d; NumNormalComments=%d<br>\n",
                 h.numHeaderLines, h.numVariables, h.numAuxVariables, h.numSpecialComments, h.numNormalComments);
      }
      r.endBlock();
      status = 10;
    }
  }
  return v2HeaderStatus(ctx, status);
}

}  // namespace tarvik

#include "scan/header/header_summary.h"

#include <span>
#include <string>
#include <vector>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"

namespace tarvik {

namespace {

// Writes the rows of the table, each under its line number, up to the last line the driver reached.
class SummaryRows {
 public:
  SummaryRows(Report& r, int64_t linesRead) : r_(r), linesRead_(linesRead) {}

  void row(const std::string& label, const std::string& value) {
    if (r_number_ <= linesRead_)
      r_.printf("<tr><td><font size=\"-1\">Line%d: %s</font></td><td><font color='#0000FF' size=\"-1\">%s</font></td></tr>\n",
                r_number_, label, value);
    ++r_number_;
  }
  void rawRow(const std::string& label, const std::string& value) {
    if (r_number_ <= linesRead_)
      r_.printf("<tr><td><font size=\"-1\">Line%d: %s</font></td><td><font color='#0000FF' size=\"-1\">%s</font></td></tr>\n",
                r_number_, label, Raw{value});
    ++r_number_;
  }
  // A group of rows; those beyond the last line reached are counted but not written. text(i) is
  // the text of row i (0-based), empty when the header holds none.
  template <class Text>
  void group(const char* labelFormat, int64_t count, Text text) {
    for (int64_t i = 0; i < count; ++i) {
      if (r_number_ > linesRead_) {
        r_number_ += count - i;
        return;
      }
      row(format(labelFormat, i + 1), text(static_cast<size_t>(i)));
    }
  }
  int64_t counter() const { return r_number_; }

 private:
  Report& r_;
  int64_t linesRead_;
  int64_t r_number_ = 1;
};

using Field = double Variable::*;

std::string scaleText(std::span<const Variable> vars, double upper) {
  std::string out;
  for (size_t i = 0; i < vars.size(); ++i) {
    if (i) out += ",";
    double s = vars[i].scaleFactor;
    if (nearlyEqual(s, 1))
      out += format(" %.1f", s);
    else if (s > upper || s < 0.0011)
      out += format(" %.1e", s);
    else
      out += format(" %.5f", s);
  }
  return out;
}

std::string flagText(std::span<const Variable> vars) {
  std::string out;
  for (size_t i = 0; i < vars.size(); ++i) {
    if (i) out += ",";
    out += format(" %.0f", vars[i].missingFlag);
  }
  return out;
}

void flagLine(Report& r, const char* first, std::span<const Variable> vars, Field flag) {
  r.printf(first, vars.empty() ? 0.0 : vars[0].*flag);
  for (size_t i = 1; i < vars.size(); ++i) r.printf(", %.0f", vars[i].*flag);
  r.write("</font><br>\n");
}

// A LOD value equal to the missing flag is shown as the flag, without decimals.
void valueLine(Report& r, const char* first, std::span<const Variable> vars, Field value, const char* end) {
  r.printf(first, vars.empty() ? 0.0 : vars[0].*value);
  for (size_t i = 1; i < vars.size(); ++i) {
    if (nearlyEqual(vars[i].*value, vars[i].missingFlag))
      r.printf(", %.0f", vars[i].*value);
    else
      r.printf(", %.4f", vars[i].*value);
  }
  r.write(end);
}

struct KeywordText {
  Keyword kw;
  const char* blue;
  const char* red;
  const char* example;
  bool nonOptional;
};

const KeywordText kKeywordTexts[] = {
    {kwPiContactInfo, "<font size=\"-1\" color='#0000FF'> PI_CONTACT_INFO; </font>\n", "<i><font size=\"-1\" color='#FF0000'>PI_CONTACT_INFO; </font></i>\n", "PI_CONTACT_INFO: N/A", false},
    {kwPlatform, "<font size=\"-1\" color='#0000FF'> PLATFORM; </font>\n", "<i><font size=\"-1\" color='#FF0000'>PLATFORM; </font></i>\n", "PLATFORM: N/A", false},
    {kwLocation, "<font size=\"-1\" color='#0000FF'> LOCATION; </font>\n", "<i><font size=\"-1\" color='#FF0000'> LOCATION; </font></i>\n", "LOCATION: N/A", false},
    {kwAssociatedData, "<font size=\"-1\" color='#0000FF'> ASSOCIATED_DATA; </font>\n", "<i><font size=\"-1\" color='#FF0000'> ASSOCIATED_DATA; </font></i>\n", "ASSOCIATED_DATA: N/A", false},
    {kwInstrumentInfo, "<font size=\"-1\" color='#0000FF'> INSTRUMENT_INFO; </font>\n", "<i><font size=\"-1\" color='#FF0000'> INSTRUMENT_INFO; </font></i>\n", "INSTRUMENT_INFO: N/A", false},
    {kwDataInfo, "<font size=\"-1\" color='#0000FF'> DATA_INFO; </font>\n", "<i><font size=\"-1\" color='#FF0000'> DATA_INFO; </font></i>\n", "DATA_INFO: N/A", false},
    {kwUncertainty, "<font size=\"-1\" color='#0000FF'> UNCERTAINTY; </font>\n", "<i><font size=\"-1\" color='#FF0000'> UNCERTAINTY; </font></i>\n", "UNCERTAINTY: N/A", true},
    {kwDmContactInfo, "<font size=\"-1\" color='#0000FF'> DM_CONTACT_INFO; </font>\n", "<i><font size=\"-1\" color='#FF0000'> DM_CONTACT_INFO; </font></i>\n", "DM_CONTACT_INFO: N/A", false},
    {kwProjectInfo, "<font size=\"-1\" color='#0000FF'> PROJECT_INFO; </font>\n", "<i><font size=\"-1\" color='#FF0000'> PROJECT_INFO; </font></i>\n", "PROJECT_INFO: N/A", false},
    {kwStipulationsOnUse, "<font size=\"-1\" color='#0000FF'> STIPULATIONS_ON_USE; </font>\n", "<i><font size=\"-1\" color='#FF0000'> STIPULATIONS_ON_USE; </font></i>\n", "STIPULATIONS_ON_USE: N/A", false},
    {kwOtherComments, "<font size=\"-1\" color='#0000FF'> OTHER_COMMENTS; </font>\n", "<i><font size=\"-1\" color='#FF0000'> OTHER_COMMENTS; </font></i>\n", "OTHER_COMMENTS: N/A", false},
    {kwRevision, "<font size=\"-1\" color='#0000FF'> REVISION; </font>\n", "<i><font size=\"-1\" color='#FF0000'> REVISION; </font></i>\n", "REVISION: N/A", false},
};

}  // namespace

int32_t writeHeaderSummary(ScanContext& ctx, int32_t linesRead) {
  const HeaderInfo& h = ctx.hdr;
  Report& r = ctx.report;
  const bool multi = h.multiDimensional();
  const std::span<const Variable> primary = h.vars.of(VarKind::Primary);
  const std::span<const Variable> aux = h.vars.of(VarKind::Auxiliary);
  auto definitionOf = [](std::span<const Variable> vars) {
    return [vars](size_t i) { return i < vars.size() ? vars[i].definition : std::string(); };
  };
  auto textOf = [](const std::vector<std::string>& texts) {
    return [&texts](size_t i) { return i < texts.size() ? texts[i] : std::string(); };
  };

  r.printf("<p><u><b>File Header Info Interpreted by Tarvik (Lines Read=%d):</b></u></p><br>", linesRead);
  r.write("<table border=\"2\" cellspacing=\"1\" cellpadding=\"1\">\n");
  SummaryRows rows(r, linesRead);
  rows.row("NH, FFI", format("%d, %d", h.numHeaderLines, h.ffi));
  rows.row("PI Name", h.piName);
  rows.row("PI Organization", h.piOrganization);
  rows.row("Instrumentation", h.instrumentation);
  rows.row("Mission Name", h.missionName);
  rows.rawRow("File Number, Volume Number",
              format("%d, %d <i>[Filename _V#=%d]</i>", h.volumeNumber, h.volumeCount, ctx.fn.volume));
  rows.row("Acquisition Date, Revision Date",
           format("%04d, %02d, %02d, %04d, %02d, %02d", h.collectionDate[0], h.collectionDate[1], h.collectionDate[2],
                  h.revisionDate[0], h.revisionDate[1], h.revisionDate[2]));
  if (h.dataInterval == -1)
    rows.rawRow("Data Interval", format("%.1f <i>[non-constant, non-uniform interval]</i>", h.dataInterval));
  else if (h.dataIntervalIsInteger == 1 || h.dataInterval == 1)
    rows.row("Data Interval", format("%.1f", h.dataInterval));
  else
    rows.row("Data Interval", format("%.5f", h.dataInterval));
  if (multi) {
    rows.row("Independent VarName1 (bounded)", std::string(h.boundedDefinition()));
    rows.row("Independent VarName2 (unbounded)", std::string(h.independentDefinition()));
  } else {
    rows.row("Independent VarName", std::string(h.independentDefinition()));
  }
  rows.row("Number of Vars", format("%d", h.numVariables));
  rows.row("Scale Factor(s)", scaleText(primary, 99999));
  rows.row("Missing Data Indicator(s)", flagText(primary));
  rows.group("Var%d", h.numVariables, definitionOf(primary));
  if (multi) {
    rows.row("Number of AuxVars", format("%d", h.numAuxVariables));
    rows.row("AuxVars Scale Factor(s)", scaleText(aux, 9999));
    rows.row("AuxVars Missing Data Indicator(s)", flagText(aux));
    rows.group("AuxVar%d", h.numAuxVariables, definitionOf(aux));
  }
  rows.row("#_Special_Comments (S_COMM)", format("%d", h.numSpecialComments));
  rows.group("S_COMM_Line%d", h.numSpecialComments, textOf(h.specialComments));
  rows.row("#_Normal Comments (N_COMM)", format("%d", h.numNormalComments));
  rows.group("N_COMM_Line%d", h.numNormalComments, textOf(h.normalComments));
  if (ctx.settings.icartt == IcarttVersion::V2_0)
    r.write(
        "<tr><td><font size=\"-1\">Rules Applied</font></td><td><font color='#0000FF' size=\"-1\">ICARTT V2.0: the V1.1 rules, with the version on line 1, short names, three-item definitions, the order of the keywords and two intervals on an FFI 2110 line 8</font></td></tr>\n");
  r.write("</table><br>\n");

  if (static_cast<int64_t>(linesRead) + 1 < rows.counter()) return 0;

  r.write("<p><u><b>Normal Comments (Supporting Info) KEYWORDS Found </b><i><font color='#FF0000'>(MISSING or MULTIPLE entries displayed in RED)</font></i>:</u><br>\n");
  int missing = 0, nonOptional = 0;
  const char* example = "";
  for (const KeywordText& k : kKeywordTexts) {
    if (h.keywordCounts[k.kw] == 1) {
      r.write(k.blue);
      continue;
    }
    r.write(k.red);
    ++missing;
    if (k.nonOptional) ++nonOptional;
    example = k.example;
  }

  r.write("<blockquote><i><u>Upper and Lower LOD's (values read):</u></i><br>\n");
  auto lodMissing = [&](const char* red, const char* ex) {
    r.write(red);
    ++missing;
    ++nonOptional;
    example = ex;
  };
  if (h.keywordCounts[kwUlodFlag] == 1) {
    flagLine(r, "<font size=\"-1\"> ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>%.0f", primary,
             &Variable::ulodFlag);
    if (multi)
      flagLine(r, "<font size=\"-1\"> AUX_VAR_ULOD_FLAG: </font><font size=\"-1\" color='#0000FF'>%.0f", aux,
               &Variable::ulodFlag);
  } else {
    lodMissing("<i><font size=\"-1\" color='#FF0000'> ULOD_FLAG; <br></font></i>\n", "ULOD_FLAG: N/A");
  }
  if (h.keywordCounts[kwUlodValue] == 1) {
    valueLine(r, "<font size=\"-1\"> ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>%.4f", primary,
              &Variable::ulodValue, "</font><br>\n");
    if (multi)
      valueLine(r, "<font size=\"-1\"> AUX_VAR_ULOD_VALUE: </font><font size=\"-1\" color='#0000FF'>%.4f",
                aux, &Variable::ulodValue, "</font><br><br>\n");
  } else {
    lodMissing("<i><font size=\"-1\" color='#FF0000'> ULOD_VALUE; <br></font></i>\n", "ULOD_VALUE: N/A");
  }
  if (h.keywordCounts[kwLlodFlag] == 1) {
    flagLine(r, "<font size=\"-1\"> LLOD_FLAG: </font> <font size=\"-1\" color='#0000FF'>%.0f", primary,
             &Variable::llodFlag);
    if (multi)
      flagLine(r, "<font size=\"-1\"> AUX_VAR_LLOD_FLAG: </font><font size=\"-1\" color='#0000FF'>%.0f", aux,
               &Variable::llodFlag);
  } else {
    lodMissing("<i><font size=\"-1\" color='#FF0000'> LLOD_FLAG; <br></font></i>\n", "LLOD_FLAG: N/A");
  }
  if (h.keywordCounts[kwLlodValue] == 1) {
    valueLine(r, "<font size=\"-1\"> LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>%.4f", primary,
              &Variable::llodValue, "</font><br>\n");
    if (multi)
      valueLine(r, "<font size=\"-1\"> AUX_VAR_LLOD_VALUE: </font><font size=\"-1\" color='#0000FF'>%.4f",
                aux, &Variable::llodValue, "</font><br>\n");
  } else {
    lodMissing("<i><font size=\"-1\" color='#FF0000'> LLOD_VALUE; <br></font></i>\n", "LLOD_VALUE: N/A");
  }
  r.write("</blockquote>\n");

  if (nonOptional >= 1) {
    r.beginError();
    r.printf("<br>Error: %d non-optional Keyword/Value Pair(s) missing (or entered incorrectly). Non-optional keywords are UNCERTAINTY and LODs.\n",
             nonOptional);
    r.write("If LODs are not used, enter N/A for their values. Example:<br>\n");
    r.write("<blockquote>LLOD_FLAG: N/A<br>LLOD_VALUE: N/A</blockquote>\n");
    r.endBlock();
    return 10;
  }
  if (h.uncertaintyText.size() < 2) {
    r.error("Error: Can't read UNCERTAINTY Value(s). UNCERTAINTY must be defined as data column(s), equation(s), or clearly described/explained in the header.<br>\n");
    return 10;
  }
  if (missing >= 1) {
    r.beginWarning();
    r.printf("WARNING: %d Keyword/Value Pair(s) Missing or entered incorrectly. It is highly recommended that you enter ALL Keywords.\n",
             missing);
    r.printf("If a Keyword/Value is not applicable, simply enter N/A for its value (e.g., %s).\n", example);
    r.endBlock();
  }
  return 0;
}

}  // namespace tarvik

#include "scan/header/icartt_v2.h"

#include <algorithm>
#include <vector>

#include "scan/core/message_budget.h"
#include "scan/core/tokens.h"
#include "scan/header/fixed_lines.h"
#include "scan/header/keywords.h"

namespace tarvik {

namespace {

// The normal-comment keywords in the order V2.0 asks for.
constexpr Keyword kV2Order[kKeywordCount] = {
    kwPiContactInfo,  kwPlatform,          kwLocation,      kwAssociatedData,
    kwInstrumentInfo, kwDataInfo,          kwUncertainty,   kwUlodFlag,
    kwUlodValue,      kwLlodFlag,          kwLlodValue,     kwDmContactInfo,
    kwProjectInfo,    kwStipulationsOnUse, kwOtherComments, kwRevision};

constexpr const char* kVersionToken = "V02_2016";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The comma-separated items of text, blanks around them trimmed.
std::vector<std::string_view> itemsOf(std::string_view text) {
  std::vector<std::string_view> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    items.push_back(trimBlanks(
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

// Line 1's items: a ';' begins a comment there.
std::vector<std::string_view> line1Items(std::string_view line) {
  return itemsOf(line.substr(0, line.find(';')));
}

// What is wrong with a name by the short-name rule (ASCII letters, digits and underscores, a
// letter first, and, when length counts, at most 31 characters), as report markup; empty when
// nothing is.
std::string nameFault(std::string_view name, bool lengthCounts) {
  if (name.empty()) return "is empty";
  for (char c : name) {
    if (isAsciiLetter(c) || isDigit(c) || c == '_') continue;
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) return format("holds the byte 0x%02x", static_cast<unsigned>(u));
    return format("holds the character '%c'", c);
  }
  if (!isAsciiLetter(name[0])) return "does not begin with a letter";
  if (lengthCounts && name.size() > 31) return format("has %d characters", name.size());
  return "";
}

void badShortName(ScanContext& ctx, int64_t lineNumber, std::string_view name, const std::string& fault,
                  const std::string& line) {
  CheckStates::V2& v2 = ctx.checks.v2;
  v2.failed = true;
  v2.badNames.emplace_back(name);
  if (!v2.nameErrors.allows()) return;
  Report& r = ctx.report;
  r.error(
      "<br>Error - Header Line%d: the short name \"%s\" %s; a short name holds only ASCII letters, digits and underscores, begins with a letter and has at most 31 characters.<br>\n",
      lineNumber, name, Raw{fault});
  r.echo(Echo::A, lineNumber, line);
  v2.nameErrors.spend(r, MessageBudget::Notice::Error, "<br>Too many errors in short names ...<br>\n");
}

bool alreadyReported(const ScanContext& ctx, std::string_view name) {
  const auto& bad = ctx.checks.v2.badNames;
  return std::find(bad.begin(), bad.end(), name) != bad.end();
}

// A revision note begins with R and a number (or, for field data, one letter): "R1: ...".
bool isRevisionNote(std::string_view word) {
  if (word.size() < 2 || (word[0] != 'R' && word[0] != 'r')) return false;
  if (word.size() == 2 && isAsciiLetter(word[1])) return true;
  return std::all_of(word.begin() + 1, word.end(), [](char c) { return isDigit(c); });
}

// A keyword finding, written once all the normal comments have been seen, in the order of lines.
struct KeywordFinding {
  int64_t line;  // 0: the finding names no line (a missing keyword)
  std::string message;
  std::string text;  // the line, echoed after the block
};

}  // namespace

void checkVersionItem(ScanContext& ctx, std::string& line) {
  CheckStates::V2& v2 = ctx.checks.v2;
  Report& r = ctx.report;
  const std::vector<std::string_view> items = line1Items(line);
  if (items.size() < 3) {
    r.warning(
        "<br>Warning - Header Line%d: the file does not declare its version; line 1 of an ICARTT V2.0 file is \"NH, FFI, V02_2016\". The V2.0 rules are applied.<br>\n",
        1);
    r.echo(Echo::A, 1, line);
    return;
  }
  if (items.size() > 3) {
    v2.failed = true;
    r.error(
        "<br>Error - Header Line%d: %d items found; line 1 of an ICARTT V2.0 file holds three: \"NH, FFI, V02_2016\".<br>\n",
        1, items.size());
    r.echo(Echo::A, 1, line);
  } else if (!sameTextNoCase(nullptr, items[2], kVersionToken)) {
    v2.failed = true;
    r.error(
        "<br>Error - Header Line%d: the version item \"%s\" is not V02_2016; line 1 of an ICARTT V2.0 file is \"NH, FFI, V02_2016\".<br>\n",
        1, items[2]);
    r.echo(Echo::A, 1, line);
  }
  // NH and FFI are then read from the line without its version item, as in V1.1.
  const size_t second = line.find(',', line.find(',') + 1);
  line.resize(second);
  line.push_back('\n');
}

void hintVersionItem(ScanContext& ctx, std::string_view line) {
  const std::vector<std::string_view> items = line1Items(line);
  if (items.size() < 3 || !samePrefixNoCase(nullptr, items[2], "V0", 2) || items[2].size() < 2) return;
  ctx.report.warning(
      "<br>Header Line%d declares an ICARTT V2.0 header (version item \"%s\"). To check the file by the V2.0 rules, scan it with \"tarvik-scan --icartt 2.0\", or choose \"ICARTT V2.0\" in the main window.<br>\n",
      1, items[2]);
}

void checkDefinitionV2(ScanContext& ctx, int64_t lineNumber, const std::string& line, VarKind kind,
                       size_t index) {
  CheckStates::V2& v2 = ctx.checks.v2;
  Report& r = ctx.report;
  const std::vector<std::string_view> items = itemsOf(line);
  if (items.size() < 3) {
    v2.failed = true;
    r.error(
        "<br>Error - Header Line%d: the variable definition holds %d item(s); an ICARTT V2.0 definition is \"short name, units, standard name[, long name]\".<br>\n",
        lineNumber, items.size());
    r.echo(Echo::A, lineNumber, line);
  }
  const std::string_view name = items[0];
  if (const std::string fault = nameFault(name, true); !fault.empty())
    badShortName(ctx, lineNumber, name, fault, line);
  if (items.size() >= 3) {
    if (const std::string fault = nameFault(items[2], false); !fault.empty() && v2.standardNames.allows()) {
      r.warning(
          "<br>Warning - Header Line%d: the standard name \"%s\" %s; standard names usually hold only ASCII letters, digits and underscores and begin with a letter.<br>\n",
          lineNumber, items[2], Raw{fault});
      r.echo(Echo::A, lineNumber, line);
      v2.standardNames.spend(r, MessageBudget::Notice::Warning,
                             "<br>Too many warnings about standard names ...<br>\n");
    }
  }
  // The short name of every variable defined before this one differs from it.
  if (name.empty()) return;
  const Variable* self = ctx.hdr.vars.at(kind, index);
  for (const Variable& earlier : ctx.hdr.vars.all()) {
    if (&earlier == self) break;
    if (earlier.shortName != name) continue;
    if (v2.repeatedNames.allows()) {
      r.warning(
          "<br>Warning - Header Line%d: the short name \"%s\" is also that of the variable defined on Line%d; short names must be unique.<br>\n",
          lineNumber, name, earlier.line);
      r.echo(Echo::A, lineNumber, line);
      v2.repeatedNames.spend(r, MessageBudget::Notice::Warning,
                             "<br>Too many repeated short names ...<br>\n");
    }
    break;
  }
}

void checkShortNamesV2(ScanContext& ctx, int64_t lineNumber, const std::string& line) {
  for (std::string_view name : itemsOf(line)) {
    if (alreadyReported(ctx, name)) continue;
    if (const std::string fault = nameFault(name, true); !fault.empty())
      badShortName(ctx, lineNumber, name, fault, line);
  }
}

void noteNormalComment(ScanContext& ctx, int64_t lineNumber, std::string_view line) {
  std::string_view word;
  const int keyword = keywordOfLine(line, &word);
  ctx.checks.v2.comments.push_back(
      {lineNumber, keyword, keyword == kKeywordCount && isRevisionNote(word), std::string(line)});
}

void checkKeywordOrder(ScanContext& ctx) {
  CheckStates::V2& v2 = ctx.checks.v2;
  const auto& comments = v2.comments;
  std::vector<KeywordFinding> found;
  // The first line of each keyword; a keyword written again is an error at each repetition.
  const CheckStates::V2::CommentLine* first[kKeywordCount] = {};
  for (const auto& c : comments) {
    if (c.keyword == kKeywordCount) continue;
    if (first[c.keyword]) {
      found.push_back(
          {c.line,
           format(
               "<br>Error - Header Line%d: the keyword %s is repeated (first on Line%d); each keyword is written once.<br>\n",
               c.line, kKeywordNames[c.keyword], first[c.keyword]->line),
           c.text});
      continue;
    }
    first[c.keyword] = &c;
  }
  // Each keyword follows the keyword before it in the V2.0 order (among those the file holds).
  for (int i = 1; i < kKeywordCount; ++i) {
    const auto* self = first[kV2Order[i]];
    if (!self) continue;
    for (int j = i - 1; j >= 0; --j) {
      const auto* before = first[kV2Order[j]];
      if (!before) continue;
      if (before->line > self->line)
        found.push_back(
            {self->line,
             format(
                 "<br>Error - Header Line%d: the keyword %s is out of order; it must follow %s (on Line%d).<br>\n",
                 self->line, kKeywordNames[kV2Order[i]], kKeywordNames[kV2Order[j]], before->line),
             self->text});
      break;
    }
  }
  // Revision notes follow REVISION.
  if (const auto* revision = first[kwRevision]) {
    for (const auto& c : comments) {
      if (!c.revisionNote || c.line > revision->line) continue;
      std::string_view word;
      keywordOfLine(c.text, &word);
      found.push_back(
          {c.line,
           format(
               "<br>Error - Header Line%d: the revision note %s comes before the REVISION keyword (on Line%d); revision notes follow REVISION.<br>\n",
               c.line, word, revision->line),
           c.text});
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const KeywordFinding& a, const KeywordFinding& b) { return a.line < b.line; });
  for (int i = 0; i < kKeywordCount; ++i)
    if (!first[kV2Order[i]])
      found.push_back(
          {0,
           format(
               "<br>Error - Header: the keyword %s is missing; the normal comments of an ICARTT V2.0 file hold all sixteen keywords, each once and in order.<br>\n",
               kKeywordNames[kV2Order[i]]),
           ""});
  Report& r = ctx.report;
  for (const KeywordFinding& f : found) {
    v2.failed = true;
    if (!v2.keywordErrors.allows()) continue;
    r.beginError();
    r.write(f.message);
    r.endBlock();
    if (f.line > 0) r.echo(Echo::A, f.line, f.text);
    v2.keywordErrors.spend(r, MessageBudget::Notice::Error,
                           "<br>Too many errors in the normal-comment keywords ...<br>\n");
  }
}

int32_t checkTwoIntervals(ScanContext& ctx, const std::string& line) {
  const std::vector<std::string_view> items = itemsOf(line);
  if (items.size() != 2) {
    ctx.checks.v2.failed = true;
    ctx.report.error(
        "<br>Error - Header Line%d: %d intervals found; line 8 of an FFI 2110 file holds one interval, or two: the bounded independent variable's, then the unbounded one's.<br>\n",
        8, items.size());
    ctx.report.echo(Echo::A, 8, line);
    return 10;
  }
  return checkIntervalItems(ctx, line, items[0], items[1]);
}

}  // namespace tarvik

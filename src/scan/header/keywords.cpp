#include "scan/header/keywords.h"

#include <string>
#include <string_view>

#include "scan/core/scan_context.h"
#include "scan/core/tokens.h"
#include "scan/header/lod.h"

namespace tarvik {

namespace {

constexpr const char* kWordDelims = " =:;,\t\r\n";

// "R" followed by digits: the number, or -1 when the word is not of that form.
int64_t revisionNumberOf(std::string_view word, bool capitalOnly) {
  if (word.size() < 2) return -1;
  if (!(word[0] == 'R' || (!capitalOnly && word[0] == 'r'))) return -1;
  if (!isDigit(word[1])) return -1;
  return leadingInt(word.substr(1));
}

void readUncertainty(ScanContext& ctx, Tokenizer& tok) {
  HeaderInfo& h = ctx.hdr;
  std::string_view piece;
  if (!tok.next(piece, ":\t\r\n")) {
    h.uncertaintyText.clear();
    return;
  }
  std::string kept;
  if (piece.size() > 500) {
    kept.assign(piece.substr(0, 500));
  } else {
    size_t s = 0;
    while (s < piece.size() && piece[s] == ' ') ++s;
    kept.assign(piece.substr(s));
  }
  if (kept.size() <= 3 &&
      (samePrefixNoCase(&ctx.report, kept, "N/A", 3) || samePrefixNoCase(&ctx.report, kept, "NA", 2)))
    kept.clear();
  h.uncertaintyText = kept;
}

int32_t checkRevisionLine(ScanContext& ctx, int64_t lineNumber, Tokenizer& tok) {
  HeaderInfo& h = ctx.hdr;
  const FilenameInfo& fn = ctx.fn;
  Report& r = ctx.report;
  h.revisionCommentsCounted = 0;
  h.nextRevisionExpected = 0;
  std::string_view word;
  std::string given;
  if (tok.next(word, kWordDelims)) given.assign(word.substr(0, 31));
  if (given.size() < 2) {
    r.error("Error Line%d: (Header REVISION Section): R# on this line MUST exist and match R# in filename. Please do NOT left-pad the R value with leading zeros<br>\n",
            lineNumber);
    return 7;
  }
  given.resize(given.size() < 6 ? given.size() : 6);
  if (given[0] != 'R' && given[0] != 'r') given = std::string("R").append(given);
  std::string expected;
  if (fn.revisionIsLetter) {
    expected = "R";
    expected.push_back(upperAscii(static_cast<char>(fn.revision)));
    h.revisionComplete = 1;
  } else {
    expected = format("R%d", fn.revision);
  }
  if (!sameTextNoCase(&r, given, expected)) {
    r.beginError();
    r.printf("Error Line%d: (Header REVISION section): R# on this line(%s) MUST match R# in filename(%s). Please do NOT left-pad the R value with leading zeros.<br>\n",
             lineNumber, given, expected);
    r.write("Please note, Revision numbers and comments are cumulative starting with the latest. For example,<blockquote>REVISION: R1; R0<br> R1: Enter text here specific to this revision <br> R0: No comments for this revision.</blockquote>\n");
    r.endBlock();
    return 7;
  }
  for (int k = 0; k < 8 && tok.next(word, kWordDelims); ++k) {
    int64_t n = revisionNumberOf(word, false);
    if (n < 0 || n > fn.revision) {
      r.error("<br />Error Line%d: (Header REVISION section): R# on this line(%s) must exist and can't be GREATER_THAN R# in filename(R%d).<br />\n",
              lineNumber, word, fn.revision);
      return 7;
    }
  }
  return 0;
}

// A line whose first word is no keyword may be a revision comment: 0, or 7 after a revision error.
int32_t checkRevisionComment(ScanContext& ctx, int64_t lineNumber, std::string_view word) {
  HeaderInfo& h = ctx.hdr;
  const FilenameInfo& fn = ctx.fn;
  if (h.keywordCounts[kwRevision] <= 0 || fn.revision < 0 || fn.revisionIsLetter) return 0;
  const int32_t R = fn.revision;
  const int64_t n = revisionNumberOf(word, true);
  bool error = false;
  if (R > 0) {
    if (n > R) {
      error = true;
    } else {
      if (h.nextRevisionExpected == 0) h.nextRevisionExpected = R;
      for (int32_t k = R; k >= 0; --k) {
        if (!sameTextNoCase(&ctx.report, word, format("R%d", k))) continue;
        if (k == h.nextRevisionExpected) {
          --h.nextRevisionExpected;
          ++h.revisionCommentsCounted;
          if (h.revisionCommentsCounted >= R && h.nextRevisionExpected >= 0) h.revisionComplete = 1;
        }
        break;
      }
    }
  } else if (n > 0) {
    error = true;
  }
  if (!error) return 0;
  h.revisionComplete = 0;
  ctx.report.error("<br />Error Line%d: (Header REVISION section): R# on this line(%s) can't be GREATER_THAN R# in filename(R%d).<br />\n",
                   lineNumber, word, R);
  return 7;
}

}  // namespace

int keywordOfLine(std::string_view line, std::string_view* firstWord) {
  Tokenizer tok(line, kWordDelims);
  std::string_view word;
  if (!tok.next(word)) return kKeywordCount;
  if (firstWord) *firstWord = word;
  for (int i = 0; i < kKeywordCount; ++i)
    if (sameTextNoCase(nullptr, word, kKeywordNames[i])) return i;
  return kKeywordCount;
}

int32_t checkNormalComment(ScanContext& ctx, int64_t lineNumber, std::string_view line) {
  HeaderInfo& h = ctx.hdr;
  if (h.allKeywordsFound == 1 && h.revisionComplete == 1) return 0;
  Tokenizer tok(line, kWordDelims);
  std::string_view word;
  if (!tok.next(word)) return 0;
  int kw = kKeywordCount;
  for (int i = 0; i < kKeywordCount; ++i)
    if (sameTextNoCase(&ctx.report, word, kKeywordNames[i])) {
      kw = i;
      break;
    }
  int32_t status = 0;
  bool updateAllFound = false;
  switch (kw) {
    case kwUncertainty:
      ++h.keywordCounts[kw];
      readUncertainty(ctx, tok);
      break;
    case kwRevision:
      ++h.keywordCounts[kw];
      status = checkRevisionLine(ctx, lineNumber, tok);
      break;
    case kwUlodFlag:
    case kwUlodValue:
    case kwLlodFlag:
    case kwLlodValue: {
      ++h.keywordCounts[kw];
      const LodKind kind = kw == kwUlodFlag    ? LodKind::UlodFlag
                           : kw == kwUlodValue ? LodKind::UlodValue
                           : kw == kwLlodFlag  ? LodKind::LlodFlag
                                               : LodKind::LlodValue;
      std::string_view rest = line.substr(tok.position());
      status = readLodLine(ctx, kind, lineNumber, word, tok.endedByDelimiter() ? &rest : nullptr);
      updateAllFound = true;
      break;
    }
    case kKeywordCount:
      status = checkRevisionComment(ctx, lineNumber, word);
      updateAllFound = status == 0;
      break;
    default:
      ++h.keywordCounts[kw];
      break;
  }
  if (updateAllFound) {
    bool all = true;
    for (int c : h.keywordCounts)
      if (c <= 0) all = false;
    h.allKeywordsFound = all ? 1 : 0;
  }
  return status;
}

}  // namespace tarvik

#include "scan/core/report.h"

#include <locale.h>

#include <cerrno>

#include "scan/core/site.h"

namespace tarvik {

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

void appendEscaped(std::string& out, std::string_view text) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char* rep = nullptr;
    switch (text[i]) {
      case '&': rep = "&amp;"; break;
      case '<': rep = "&lt;"; break;
      case '>': rep = "&gt;"; break;
      case '"': rep = "&quot;"; break;
      case '\0': rep = "&#65533;"; break;
      default: continue;
    }
    out.append(text.substr(start, i - start));
    out.append(rep);
    start = i + 1;
  }
  out.append(text.substr(start));
}

std::string htmlEscape(std::string_view text) {
  std::string out;
  appendEscaped(out, text);
  return out;
}

Report::~Report() {
  if (file_) std::fclose(file_);
}

bool Report::create(const std::string& path) {
  if (file_) std::fclose(file_);
  buf_.clear();
  failed_ = false;
  openFinding_ = kNoBlock;
  blockText_.clear();
  blockStart_ = 0;
  phase_ = Phase::FileName;
  findings_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void Report::write(std::string_view raw) {
  buf_.append(raw);
  maybeFlush();
}

void Report::beginBlock(Severity severity, std::string_view openingTag) {
  finishFinding();  // a block begun inside another ends the other's message
  write(openingTag);
  Finding f;
  f.severity = severity;
  f.phase = phase_;
  findings_.push_back(std::move(f));
  openFinding_ = findings_.size() - 1;
  blockText_.clear();
  blockStart_ = buf_.size();
}

void Report::keepBlockText() {
  if (openFinding_ == kNoBlock) return;
  blockText_.append(buf_, blockStart_, std::string::npos);
  blockStart_ = buf_.size();
}

void Report::finishFinding() {
  if (openFinding_ == kNoBlock) return;
  keepBlockText();
  Finding& f = findings_[openFinding_];
  f.message = plainText(blockText_);
  f.line = lineNamedIn(f.message);
  openFinding_ = kNoBlock;
  blockText_.clear();
}

void Report::endBlock() {
  finishFinding();
  write("</font>");
}

void Report::notice(std::string_view text) {
  Finding f;
  f.severity = openFinding_ != kNoBlock ? findings_[openFinding_].severity : Severity::Warning;
  f.phase = phase_;
  f.message = plainText(text);
  keepBlockText();
  findings_.push_back(std::move(f));
  buf_.append(text);
  blockStart_ = buf_.size();  // the notice is no part of the block's message
  maybeFlush();
}

void Report::flush() {
  if (!file_) return;
  keepBlockText();
  if (!buf_.empty()) {
    if (std::fwrite(buf_.data(), 1, buf_.size(), file_) != buf_.size()) failed_ = true;
    buf_.clear();
    blockStart_ = 0;
  }
}

bool Report::close() {
  if (!file_) return !failed_;
  flush();
  if (std::fflush(file_) != 0) failed_ = true;
  if (std::ferror(file_)) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

void Report::echo(Echo form, int64_t lineNumber, std::string_view lineText) {
  switch (form) {
    case Echo::A: printf("<font color='#0000FF'>Line%d:</font> %s<br><br>\n", lineNumber, lineText); break;
    case Echo::B: printf("<font color='#0000FF'>Line%d:</font> %s<br /><br />\n", lineNumber, lineText); break;
    case Echo::C: printf("<br /><font color='#0000FF'>Line%d:</font> %s<br /><br />\n", lineNumber, lineText); break;
    case Echo::D: printf("<br><font color='#0000FF'>Line%d:</font> %s<br><br>\n", lineNumber, lineText); break;
    case Echo::E: printf("<font color='#0000FF'>Line%d:</font> %s\n<br><br>", lineNumber, lineText); break;
    case Echo::F: printf("<font color='#0000FF'>Line%d:</font> %s\n<br /><br />", lineNumber, lineText); break;
  }
}

void Report::contactLink(const char* subject) {
  write("<a href=\"mailto:");
  write(site::kProjectOfficeMail);
  write("?subject=");
  write(subject);
  write("\">Ostrel Project Office</a>");
}

void beginReport(Report& r) {
  r.write("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  r.write("<HTML><HEAD>\n");
  r.write("<TITLE>ICARTT File Format Scanning -- Corvane Ostrel</TITLE></HEAD>\n");
  r.write("<BODY bgcolor=\"#F1F1F1\"><center><H1>ICARTT File Format Scanning - Results</H1></center><hr>\n");
  r.write("<font color='#0000FF'>");
  r.write("<b>Please scroll down to the end of this page to view the results.</b>\n");
  r.write("</font>");
}

void endReport(Report& r) {
  std::string home = site::kHomeAddress;
  r.write("<hr><br><center>\n");
  r.printf("<a href=\"%s\">| Home |</a>\n", home.c_str());
  r.printf("<a href=\"%s/missions.htm\">| Field Campaigns |</a>\n", home.c_str());
  r.write("</center>\n");
  r.write("<br><br><center><font size=\"-2\">\n");
  r.printf("<br>Curator: <a href=\"mailto:%s\">%s</a>\n", site::kCuratorMail, site::kCuratorName);
  r.printf("<br><a href=\"%s/comments/comments.htm\">Send Us Your Comments</a>\n", home.c_str());
  r.printf("<br><a href=\"%s\">%s</a></font></center>\n", site::kFeedbackAddress, site::kFeedbackText);
  r.write("</BODY></HTML>\n");
}

}  // namespace tarvik

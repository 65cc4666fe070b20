#include "scan/core/report.h"

#include <locale.h>

#include <cerrno>
#include <cstring>

#include "scan/core/site.h"

namespace tarvik {

namespace {

void appendPadded(std::string& out, std::string_view body, int width, bool left) {
  if (width > 0 && static_cast<int>(body.size()) < width) {
    size_t pad = static_cast<size_t>(width) - body.size();
    if (left) {
      out.append(body);
      out.append(pad, ' ');
    } else {
      out.append(pad, ' ');
      out.append(body);
    }
  } else {
    out.append(body);
  }
}

}  // namespace

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

// The conversions are rebuilt from the checked literal one at a time, so the format is not a literal here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
void formatInto(std::string& out, const char* fmt, const FmtArg* args, size_t count) {
  size_t next = 0;
  const char* p = fmt;
  while (*p) {
    const char* pct = std::strchr(p, '%');
    if (!pct) {
      out.append(p);
      break;
    }
    out.append(p, static_cast<size_t>(pct - p));
    const char* q = pct + 1;
    if (*q == '%') {
      out.push_back('%');
      p = q + 1;
      continue;
    }
    // flags, width, precision, length
    std::string spec = "%";
    bool left = false;
    while (*q && std::strchr("-+ #0", *q)) {
      if (*q == '-') left = true;
      spec.push_back(*q++);
    }
    int width = 0;
    while (*q >= '0' && *q <= '9') {
      width = width * 10 + (*q - '0');
      spec.push_back(*q++);
    }
    int precision = -1;
    if (*q == '.') {
      spec.push_back(*q++);
      precision = 0;
      while (*q >= '0' && *q <= '9') {
        precision = precision * 10 + (*q - '0');
        spec.push_back(*q++);
      }
    }
    while (*q && std::strchr("hlLqjzt", *q)) ++q;  // lengths: the argument carries its own type
    char conv = *q;
    if (!conv) {
      out.append(pct);
      break;
    }
    p = q + 1;
    if (next >= count) {
      out.append("<?>");
      continue;
    }
    const FmtArg& a = args[next++];
    char tmp[512];
    switch (conv) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o': {
        int64_t v = a.kind == FmtArg::Real ? static_cast<int64_t>(a.d) : a.i;
        std::string s = spec + "ll" + conv;
        if (conv == 'd' || conv == 'i')
          std::snprintf(tmp, sizeof tmp, s.c_str(), static_cast<long long>(v));
        else
          std::snprintf(tmp, sizeof tmp, s.c_str(), static_cast<unsigned long long>(static_cast<uint32_t>(v)));
        out.append(tmp);
        break;
      }
      case 'c': {
        char c = static_cast<char>(a.i);
        std::string_view body(&c, 1);
        std::string esc;
        appendEscaped(esc, body);
        appendPadded(out, esc, width, left);
        break;
      }
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        double v = a.kind == FmtArg::Real ? a.d : static_cast<double>(a.i);
        std::string s = spec + conv;
        locale_t old = uselocale(cLocale());
        int n = std::snprintf(tmp, sizeof tmp, s.c_str(), v);
        if (n >= static_cast<int>(sizeof tmp)) {
          std::string big(static_cast<size_t>(n) + 1, '\0');
          std::snprintf(big.data(), big.size(), s.c_str(), v);
          big.resize(static_cast<size_t>(n));
          out.append(big);
        } else if (n > 0) {
          out.append(tmp, static_cast<size_t>(n));
        }
        uselocale(old);
        break;
      }
      case 's': {
        std::string_view body = a.s;
        if (a.kind == FmtArg::Int || a.kind == FmtArg::Real) body = "<?>";
        if (precision >= 0 && body.size() > static_cast<size_t>(precision)) body = body.substr(0, precision);
        if (a.kind == FmtArg::Text) {
          std::string esc;
          appendEscaped(esc, body);
          appendPadded(out, esc, width, left);
        } else {
          appendPadded(out, body, width, left);
        }
        break;
      }
      default:
        out.append(pct, static_cast<size_t>(p - pct));
        break;
    }
  }
}

#pragma GCC diagnostic pop

Report::~Report() {
  if (file_) std::fclose(file_);
}

bool Report::create(const std::string& path) {
  if (file_) std::fclose(file_);
  buf_.clear();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void Report::write(std::string_view raw) {
  buf_.append(raw);
  maybeFlush();
}

void Report::flush() {
  if (!file_) return;
  if (!buf_.empty()) {
    if (std::fwrite(buf_.data(), 1, buf_.size(), file_) != buf_.size()) failed_ = true;
    buf_.clear();
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

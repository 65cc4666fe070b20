#include "cli/summary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "cli/report_paths.h"
#include "cli/utf8_text.h"
#include "tarvik_version.h"

namespace tarvik::cli {

namespace fs = std::filesystem;

namespace {

std::string errorText(int err) { return std::generic_category().message(err); }

std::string htmlEscaped(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

// A path as the part of a URL: unreserved characters and "/" as they are, every other byte as %XX,
// so that "#", "?", "%" and bytes of any encoding reach the file they name.
std::string percentEncoded(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (keep) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

struct Counts {
  size_t passed = 0, failed = 0, withoutReport = 0;
};

Counts countRows(const std::vector<SummaryRow>& rows) {
  Counts c;
  for (const SummaryRow& r : rows) {
    if (!r.hasReport)
      ++c.withoutReport;
    else if (r.passed)
      ++c.passed;
    else
      ++c.failed;
  }
  return c;
}

std::string plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string linkFrom(const std::string& summaryFolder, const std::string& target) {
  const fs::path to(absoluteNormalPath(target));
  const fs::path rel = to.lexically_relative(fs::path(absoluteNormalPath(summaryFolder)));
  return rel.empty() ? to.string() : rel.string();
}

std::string summaryHtml(const std::vector<SummaryRow>& rows, const std::string& summaryFolder) {
  const Counts c = countRows(rows);
  std::string out =
      "<!DOCTYPE html>\n"
      "<html lang=\"en\">\n"
      "<head>\n"
      "<meta charset=\"utf-8\">\n"
      "<title>tarvik-scan summary</title>\n"
      "<style>\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
      "td.n { text-align: right; }\n"
      "</style>\n"
      "</head>\n"
      "<body>\n"
      "<h1>tarvik-scan summary</h1>\n";
  out += "<p>" + plural(rows.size(), "file", "files") + ": " + std::to_string(c.passed) + " passed, " +
         std::to_string(c.failed) + " failed, " + std::to_string(c.withoutReport) +
         " without report. Written by tarvik-scan " TARVIK_VERSION ".</p>\n";
  out += "<table>\n";
  out +=
      "<tr><th>File</th><th>Verdict</th><th>Status code</th><th>Errors</th><th>Warnings</th><th>Report</th></tr>\n";
  for (const SummaryRow& r : rows) {
    out +=
        "<tr><td>" + htmlEscaped(utf8Text(r.file)) + "</td><td>" + htmlEscaped(utf8Text(r.verdict)) + "</td>";
    if (r.hasReport) {
      const std::string link = linkFrom(summaryFolder, r.report);
      out += "<td class=\"n\">" + std::to_string(r.status) + "</td><td class=\"n\">" +
             std::to_string(r.errors) + "</td><td class=\"n\">" + std::to_string(r.warnings) +
             "</td><td><a href=\"" + htmlEscaped(percentEncoded(link)) + "\">" + htmlEscaped(utf8Text(link)) +
             "</a></td></tr>\n";
    } else {
      out += "<td></td><td></td><td></td><td></td></tr>\n";
    }
  }
  out += "</table>\n</body>\n</html>\n";
  return out;
}

std::string summaryCsv(const std::vector<SummaryRow>& rows, const std::string& summaryFolder) {
  std::string out = "file,verdict,status,errors,warnings,report\r\n";
  for (const SummaryRow& r : rows) {
    out += csvField(utf8Text(r.file)) + "," + csvField(utf8Text(r.verdict)) + ",";
    if (r.hasReport)
      out += std::to_string(r.status) + "," + std::to_string(r.errors) + "," + std::to_string(r.warnings) +
             "," + csvField(utf8Text(linkFrom(summaryFolder, r.report)));
    else
      out += ",,,";
    out += "\r\n";
  }
  return out;
}

SummaryFile::~SummaryFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

bool SummaryFile::open(const std::string& path, std::string& reason) {
  path_ = path;
  folder_ = fs::path(absoluteNormalPath(path)).parent_path().string();
  std::string tmpl = path + ".XXXXXX";
  fd_ = ::mkstemp(tmpl.data());
  if (fd_ < 0) {
    reason = "cannot write the summary " + path + ": " + errorText(errno);
    return false;
  }
  temp_ = tmpl;
  // mkstemp makes the file private; the summary gets the mode any new file gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (::fchmod(fd_, 0666 & ~mask) != 0) {
    // The summary then stays readable by its owner only; it is still written.
  }
  return true;
}

bool SummaryFile::commit(const std::string& text, std::string& reason) {
  if (fd_ < 0) {
    reason = "cannot write the summary " + path_;
    return false;
  }
  size_t done = 0;
  int err = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp_.c_str());
    reason = "cannot write the summary " + path_ + ": " + errorText(err);
    return false;
  }
  return true;
}

}  // namespace tarvik::cli

#include "scan/core/outcome.h"

#include <cstdint>

namespace tarvik {

namespace {

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// The entity starting at html[i] ('&'): appends what it stands for and returns its length, or 0
// when it is no entity this report writes.
size_t decodeEntity(std::string_view html, size_t i, std::string& out) {
  const size_t semi = html.find(';', i);
  if (semi == std::string_view::npos || semi - i > 10) return 0;
  const std::string_view name = html.substr(i + 1, semi - i - 1);
  if (name == "amp")
    out.push_back('&');
  else if (name == "lt")
    out.push_back('<');
  else if (name == "gt")
    out.push_back('>');
  else if (name == "quot")
    out.push_back('"');
  else if (name == "apos")
    out.push_back('\'');
  else if (name == "nbsp")
    out.push_back(' ');
  else if (name.size() >= 2 && name[0] == '#') {
    uint32_t cp = 0;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    for (char c : digits) {
      uint32_t d;
      if (c >= '0' && c <= '9')
        d = static_cast<uint32_t>(c - '0');
      else if (hex && c >= 'a' && c <= 'f')
        d = static_cast<uint32_t>(c - 'a' + 10);
      else if (hex && c >= 'A' && c <= 'F')
        d = static_cast<uint32_t>(c - 'A' + 10);
      else
        return 0;
      cp = cp * (hex ? 16 : 10) + d;
      if (cp > 0x10FFFF) cp = 0x110000;
    }
    appendUtf8(out, cp);
  } else {
    return 0;
  }
  return semi - i + 1;
}

}  // namespace

const char* severityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

const char* phaseName(Phase p) {
  switch (p) {
    case Phase::FileName: return "filename";
    case Phase::LineEndings: return "line-endings";
    case Phase::Header: return "header";
    case Phase::Data: return "data";
  }
  return "";
}

int64_t lineNamedIn(std::string_view message) {
  for (size_t at = message.find("Line"); at != std::string_view::npos; at = message.find("Line", at + 4)) {
    size_t i = at + 4;
    int64_t n = 0;
    size_t digits = 0;
    while (i < message.size() && message[i] >= '0' && message[i] <= '9' && digits < 18) {
      n = n * 10 + (message[i] - '0');
      ++i;
      ++digits;
    }
    if (digits > 0) return n;
  }
  return Finding::kNoLine;
}

std::string plainText(std::string_view html) {
  std::string decoded;
  decoded.reserve(html.size());
  for (size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<') {
      const size_t close = html.find('>', i);
      if (close == std::string_view::npos) {
        decoded.append(html.substr(i));
        break;
      }
      decoded.push_back(' ');  // a tag separates words (<br>, <p>, ...)
      i = close + 1;
      continue;
    }
    if (c == '&') {
      const size_t n = decodeEntity(html, i, decoded);
      if (n > 0) {
        i += n;
        continue;
      }
    }
    decoded.push_back(c);
    ++i;
  }
  std::string out;
  out.reserve(decoded.size());
  bool pendingSpace = false;
  for (char c : decoded) {
    if (isBlank(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out.push_back(' ');
    pendingSpace = false;
    out.push_back(c);
  }
  return out;
}

}  // namespace tarvik

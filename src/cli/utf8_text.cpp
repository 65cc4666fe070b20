#include "cli/utf8_text.h"

namespace tarvik::cli {

namespace {

bool inRange(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }

// The length of the well-formed UTF-8 sequence starting at s[i] (a byte of 0x80 or more), or 0. The
// ranges are those of the Unicode standard's table of well-formed sequences: no overlong forms, no
// surrogates, nothing above U+10FFFF.
size_t sequenceLength(std::string_view s, size_t i) {
  auto at = [&](size_t k) -> int { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : -1; };
  auto cont = [&](size_t k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    const int c = at(k);
    return c >= 0 && inRange(static_cast<unsigned char>(c), lo, hi);
  };
  const auto lead = static_cast<unsigned char>(s[i]);
  if (inRange(lead, 0xC2, 0xDF)) return cont(1) ? 2 : 0;
  if (lead == 0xE0) return cont(1, 0xA0, 0xBF) && cont(2) ? 3 : 0;
  if (inRange(lead, 0xE1, 0xEC) || inRange(lead, 0xEE, 0xEF)) return cont(1) && cont(2) ? 3 : 0;
  if (lead == 0xED) return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 0;
  if (lead == 0xF0) return cont(1, 0x90, 0xBF) && cont(2) && cont(3) ? 4 : 0;
  if (inRange(lead, 0xF1, 0xF3)) return cont(1) && cont(2) && cont(3) ? 4 : 0;
  if (lead == 0xF4) return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
  return 0;
}

}  // namespace

std::string utf8Text(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (const size_t len = sequenceLength(bytes, i); len > 0) {
      out.append(bytes.substr(i, len));
      i += len;
      continue;
    }
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    ++i;
  }
  return out;
}

}  // namespace tarvik::cli

// Text for readers that require UTF-8 (JSON, the summary): file names and file contents are bytes,
// and real ICARTT files carry Latin-1 bytes.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::cli {

// The bytes as valid UTF-8: every well-formed UTF-8 sequence is kept as it is, and every other byte
// becomes the Latin-1 character of the same number (0xE9 becomes "é", encoded as C3 A9).
std::string utf8Text(std::string_view bytes);

}  // namespace tarvik::cli

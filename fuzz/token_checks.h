// The body of the fuzz_tokens target, shared with the test that replays its corpus: the token tests,
// the text reader, the line-ending repair, the header line readers and the data-record reader run
// over one input, and the invariants that must hold between them are checked.
//
// Input layout: four parameter bytes (missing ones read as 0), then the text.
//   byte 0: the expected item count of data lines (mod 40)
//   byte 1: the record kind (mod 3), the line-length limit (/ 3, mod 8) and the line-end symbol
//           of the repair (/ 24, mod 2: LF or CR)
//   byte 2: the number of header lines (mod 64), and the choices of the header line readers
//   byte 3: which file operation of the repair fails (mod 24, 0 = none), the tokenizer's delimiter
//           sets (/ 24, mod 8) and whether they alternate between calls (>= 192)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik::fuzz {

// Runs every check over the input. Returns an empty string when every invariant held, otherwise
// the description of the first broken one.
std::string runTokenChecks(const uint8_t* data, size_t size);

}  // namespace tarvik::fuzz

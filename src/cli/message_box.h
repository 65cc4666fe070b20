// A message box the engine showed, as the command line keeps it: its caption and its text.
#pragma once

#include <string>

namespace tarvik::cli {

struct MessageBox {
  std::string caption, text;
};

// The box's words as one line: "CAPTION: TEXT".
inline std::string boxWords(const MessageBox& box) { return box.caption + ": " + box.text; }

}  // namespace tarvik::cli

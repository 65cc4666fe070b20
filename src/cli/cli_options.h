// The command line of tarvik-scan.
#pragma once

#include <string>
#include <vector>

#include "scan/core/scan_context.h"

namespace tarvik::cli {

struct CliOptions {
  TimeIntervalType interval = StartStopMid;
  bool extraIntervals = false;
  int jobs = 1;
  bool quiet = false;
  bool help = false;
  std::vector<std::string> files;
};

// Parses argv; false with a one-line reason in error for a usage error.
bool parseOptions(int argc, char** argv, CliOptions& out, std::string& error);
const char* usageText();

}  // namespace tarvik::cli

// The command line of tarvik-scan.
#pragma once

#include <string>
#include <vector>

#include "scan/core/scan_context.h"

namespace tarvik::cli {

enum class SummaryFormat { None, Html, Csv };

struct CliOptions {
  TimeIntervalType interval = StartStopMid;
  bool extraIntervals = false;
  IcarttVersion icartt = IcarttVersion::V1_1;  // the rule set
  int jobs = 1;
  bool quiet = false;
  bool recursive = false;
  bool json = false;
  bool noRepair = false;
  std::string reportDir;    // empty: every report beside its file
  std::string summaryPath;  // empty: no summary
  SummaryFormat summaryFormat = SummaryFormat::None;
  bool help = false;
  bool version = false;
  std::vector<std::string> files;  // files and folders, as given
};

// Parses argv; false with a one-line reason in error for a usage error. Folders among the files are
// not looked at here (see main).
bool parseOptions(int argc, char** argv, CliOptions& out, std::string& error);
// The help text: the usage line, what the program does, every option, the exit statuses.
std::string usageText();

}  // namespace tarvik::cli

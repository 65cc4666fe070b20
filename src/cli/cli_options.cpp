#include "cli/cli_options.h"

#include <charconv>
#include <cstring>

namespace tarvik::cli {

const char* usageText() {
  return "usage: tarvik-scan [options] FILE...\n"
         "Scans ICARTT files and writes each report beside its file (FILE__diagnostic.htm).\n"
         "  -t, --interval start-stop-mid|constant  time-interval type (default start-stop-mid)\n"
         "  -x, --extra-intervals                   also allow the intervals 5, 10, 15 and 30\n"
         "  -j, --jobs N                            scan N files at once (default 1)\n"
         "  -q, --quiet                             no progress bar, no lines for passing files\n"
         "  -h, --help                              this text\n"
         "Exit status: 0 all passed, 1 a file failed, 2 usage error or a file without report.\n";
}

bool parseOptions(int argc, char** argv, CliOptions& out, std::string& error) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      out.files.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    std::string value;
    bool hasInlineValue = false;
    if (a.rfind("--", 0) == 0) {
      size_t eq = a.find('=');
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
        a = a.substr(0, eq);
        hasInlineValue = true;
      }
    }
    auto takeValue = [&](const char* name) -> bool {
      if (hasInlineValue) return true;
      if (i + 1 >= argc) {
        error = std::string("option ") + name + " needs a value";
        return false;
      }
      value = argv[++i];
      return true;
    };
    if (a == "-t" || a == "--interval") {
      if (!takeValue(a.c_str())) return false;
      if (value == "start-stop-mid")
        out.interval = StartStopMid;
      else if (value == "constant")
        out.interval = ConstantEqual;
      else {
        error = "unknown interval type '" + value + "' (start-stop-mid or constant)";
        return false;
      }
    } else if (a == "-x" || a == "--extra-intervals") {
      out.extraIntervals = true;
    } else if (a == "-j" || a == "--jobs") {
      if (!takeValue(a.c_str())) return false;
      int n = 0;
      auto res = std::from_chars(value.data(), value.data() + value.size(), n);
      if (res.ec != std::errc() || res.ptr != value.data() + value.size() || n < 1 || n > 256) {
        error = "--jobs takes a whole number from 1 to 256";
        return false;
      }
      out.jobs = n;
    } else if (a == "-q" || a == "--quiet") {
      out.quiet = true;
    } else if (a == "-h" || a == "--help") {
      out.help = true;
    } else {
      error = "unknown option '" + a + "'";
      return false;
    }
  }
  if (!out.help && out.files.empty()) {
    error = "no file given";
    return false;
  }
  return true;
}

}  // namespace tarvik::cli

#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace tarvik::cli {

namespace {

// The values that are checked after CLI11 has split the command line, so that their messages are
// ours.
struct RawValues {
  std::string interval, jobs, icartt;
};

const char* const kUsageLine = "usage: tarvik-scan [options] FILE...";

// Declares every option; the help text is made from these declarations, so it lists them all.
void declareOptions(CLI::App& app, CliOptions& o, RawValues& raw) {
  app.set_help_flag();  // -h is ours, printed by main
  app.allow_extras();   // unknown options are collected and refused with our message
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("-t,--interval", raw.interval, "time-interval type (default start-stop-mid)")
      ->type_name("start-stop-mid|constant");
  app.add_flag("-x,--extra-intervals", o.extraIntervals, "also allow the intervals 5, 10, 15 and 30");
  app.add_option("--icartt", raw.icartt, "the rules to check by (default 1.1; 2.0 adds the V2.0 rules)")
      ->type_name("1.1|2.0");
  app.add_option("-j,--jobs", raw.jobs, "scan N files at once (default 1)")->type_name("N");
  app.add_flag("-q,--quiet", o.quiet, "no progress bar, no lines for passing files");
  app.add_flag("-r,--recursive", o.recursive, "scan the .ict files in the folders given and below them");
  app.add_option("--report-dir", o.reportDir, "write the reports under DIR, not beside the files")
      ->type_name("DIR");
  app.add_flag("--no-repair", o.noRepair, "never change a file; repair line ends in a private copy");
  app.add_flag("--json", o.json, "one JSON object per file per line, not PASS/FAIL/ERROR");
  app.add_option("--summary", o.summaryPath, "after the run, write a table of every file (HTML or CSV)")
      ->type_name("FILE.html|FILE.csv");
  app.add_flag("--version", o.version, "print the version and exit");
  app.add_flag("-h,--help", o.help, "this text");
  app.add_option("files", o.files, "files and folders to scan")->type_name("FILE");
}

bool endsWithNoCase(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    char c = s[s.size() - tail.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

// "--interval: 1 required ... missing" names the option before the colon.
std::string optionNamed(const std::string& message) {
  const size_t colon = message.find(": ");
  return colon == std::string::npos ? std::string() : message.substr(0, colon);
}

}  // namespace

std::string usageText() {
  CliOptions o;
  RawValues raw;
  CLI::App app("", "tarvik-scan");
  declareOptions(app, o, raw);
  std::string text = std::string(kUsageLine) + "\n";
  text +=
      "Scans ICARTT files and writes each report beside its file (FILE__diagnostic.htm).\n"
      "With -r, a FILE may be a folder: its files ending in .ict are scanned, and those below it.\n";
  for (const CLI::Option* opt : app.get_options()) {
    if (opt->get_positional()) continue;
    std::string names = opt->get_name(false, true);  // "-t,--interval"
    if (const size_t comma = names.find(','); comma != std::string::npos) names.replace(comma, 1, ", ");
    if (names.rfind("--", 0) == 0) names = "    " + names;  // long-only options line up with the long names
    std::string left = "  " + names;
    if (!opt->get_type_name().empty() && opt->get_expected_max() > 0) left += " " + opt->get_type_name();
    if (left.size() < 42)
      left.resize(42, ' ');
    else
      left += "  ";
    text += left + opt->get_description() + "\n";
  }
  text += "Exit status: 0 all passed, 1 a file failed, 2 usage error or a file without report.\n";
  return text;
}

bool parseOptions(int argc, char** argv, CliOptions& out, std::string& error) {
  RawValues raw;
  CLI::App app("", "tarvik-scan");
  declareOptions(app, out, raw);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ArgumentMismatch& e) {
    const std::string name = optionNamed(e.what());
    error = name.empty() ? std::string(e.what()) : "option " + name + " needs a value";
    return false;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  for (const std::string& extra : app.remaining()) {
    if (extra == "--") continue;  // the end of the options, kept by CLI11 among the extras
    error = "unknown option '" + extra.substr(0, extra.find('=')) + "'";
    return false;
  }
  if (app.count("--interval") > 0) {
    if (raw.interval == "start-stop-mid") {
      out.interval = StartStopMid;
    } else if (raw.interval == "constant") {
      out.interval = ConstantEqual;
    } else {
      error = "unknown interval type '" + raw.interval + "' (start-stop-mid or constant)";
      return false;
    }
  }
  if (app.count("--icartt") > 0) {
    if (raw.icartt == "1.1") {
      out.icartt = IcarttVersion::V1_1;
    } else if (raw.icartt == "2.0") {
      out.icartt = IcarttVersion::V2_0;
    } else {
      error = "unknown ICARTT version '" + raw.icartt + "' (1.1 or 2.0)";
      return false;
    }
  }
  if (app.count("--jobs") > 0) {
    int n = 0;
    const std::string& v = raw.jobs;
    auto res = std::from_chars(v.data(), v.data() + v.size(), n);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size() || n < 1 || n > 256) {
      error = "--jobs takes a whole number from 1 to 256";
      return false;
    }
    out.jobs = n;
  }
  if (app.count("--report-dir") > 0 && out.reportDir.empty()) {
    error = "--report-dir needs a folder";
    return false;
  }
  if (app.count("--summary") > 0) {
    if (endsWithNoCase(out.summaryPath, ".html"))
      out.summaryFormat = SummaryFormat::Html;
    else if (endsWithNoCase(out.summaryPath, ".csv"))
      out.summaryFormat = SummaryFormat::Csv;
    else {
      error = "--summary takes a file name ending in .html or .csv: '" + out.summaryPath + "'";
      return false;
    }
  }
  if (!out.help && !out.version && out.files.empty()) {
    error = "no file given";
    return false;
  }
  return true;
}

}  // namespace tarvik::cli

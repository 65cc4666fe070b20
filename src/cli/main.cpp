// tarvik-scan: scans ICARTT files from the command line, one report per file.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "cli/file_list.h"
#include "cli/json_lines.h"
#include "cli/report_paths.h"
#include "cli/summary.h"
#include "scan/core/scan_context.h"
#include "scan/run/scan_run.h"
#include "tarvik_version.h"

namespace {

using tarvik::cli::CliOptions;
using tarvik::cli::ConsoleHost;
using tarvik::cli::MessageBox;
using tarvik::cli::ScanItem;

enum class State { Pending, Pass, Fail, Error, NotScanned };

struct FileResult {
  State state = State::Pending;
  tarvik::ScanOutcome outcome;
  std::optional<MessageBox> box;  // the first message box, when no report was written
  std::string words;              // every box's words, for the ERROR line
};

void onInterrupt(int) {
  tarvik::cli::g_abortRequested.store(true);
  std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}

int usageError(const std::string& reason) {
  std::fprintf(stderr, "tarvik-scan: %s\n%s", reason.c_str(), tarvik::cli::usageText().c_str());
  return 2;
}

FileResult scanOne(const ScanItem& item, const CliOptions& opt, bool showProgress) {
  FileResult res;
  ConsoleHost host(showProgress);
  std::string reason;
  if (!opt.reportDir.empty() && !tarvik::cli::makeReportFolder(item.report, reason)) {
    host.showMessage("Report Folder Error...", reason);
  } else {
    tarvik::ScanContext ctx;
    ctx.host = &host;
    ctx.run.allowExtraIntervals = opt.extraIntervals;
    ctx.settings.reportPath = item.report;
    ctx.settings.repairInPlace = !opt.noRepair;
    ctx.settings.icartt = opt.icartt;
    try {
      res.outcome = tarvik::runScan(ctx, item.path, static_cast<int32_t>(opt.interval));
    } catch (const std::exception& e) {
      res.outcome = tarvik::ScanOutcome();
      host.showMessage("Exception: Program Error Encountered.", e.what());
    } catch (...) {
      res.outcome = tarvik::ScanOutcome();
      host.showMessage("Exception: Program Error Encountered.", item.path);
    }
    host.finishProgress();
  }
  if (res.outcome.reportWritten()) {
    res.state = res.outcome.passed() ? State::Pass : State::Fail;
    return res;
  }
  res.state = State::Error;
  for (const auto& m : host.messages()) {
    if (!res.words.empty()) res.words += "; ";
    res.words += tarvik::cli::boxWords(m);
  }
  if (host.messages().empty())
    res.box = MessageBox{"No Report", "no report was written"};
  else
    res.box = host.messages().front();
  if (res.words.empty()) res.words = tarvik::cli::boxWords(*res.box);
  return res;
}

// The line a file gets on stdout, without its line feed.
std::string plainLine(const ScanItem& item, const FileResult& r) {
  if (r.state == State::Error) return "ERROR " + item.path + "  " + r.words;
  std::string line = r.state == State::Pass
                         ? "PASS  " + item.path + "  report: " + r.outcome.reportPath
                         : "FAIL  " + item.path + "  code " + std::to_string(r.outcome.status) +
                               "  report: " + r.outcome.reportPath;
  if (r.outcome.repairedInPlace) line += "  (line ends repaired in place)";
  return line;
}

tarvik::cli::SummaryRow summaryRow(const ScanItem& item, const FileResult& r) {
  tarvik::cli::SummaryRow row;
  row.file = item.path;
  row.hasReport = r.state != State::Error;
  if (row.hasReport) {
    row.verdict = r.outcome.verdict;
    row.passed = r.state == State::Pass;
    row.status = r.outcome.status;
    row.errors = r.outcome.count(tarvik::Severity::Error);
    row.warnings = r.outcome.count(tarvik::Severity::Warning);
    row.report = r.outcome.reportPath;
  } else {
    row.verdict = r.words;
  }
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  CliOptions opt;
  std::string error;
  if (!tarvik::cli::parseOptions(argc, argv, opt, error)) return usageError(error);
  if (opt.help) {
    std::fputs(tarvik::cli::usageText().c_str(), stdout);
    return 0;
  }
  if (opt.version) {
    std::fputs("tarvik-scan " TARVIK_VERSION "\n", stdout);
    return 0;
  }
  if (!opt.recursive)
    for (const std::string& f : opt.files)
      if (tarvik::cli::isFolder(f))
        return usageError(f + " is a folder; add -r (--recursive) to scan the .ict files in it");

  int status = 0;
  tarvik::cli::SummaryFile summary;
  if (!opt.summaryPath.empty() && !summary.open(opt.summaryPath, error)) {
    std::fprintf(stderr, "tarvik-scan: %s\n", error.c_str());
    return 2;
  }
  std::signal(SIGINT, onInterrupt);

  tarvik::cli::FileList list = tarvik::cli::collectFiles(opt.files);
  for (const std::string& p : list.problems) std::fprintf(stderr, "tarvik-scan: %s\n", p.c_str());
  if (!list.problems.empty()) status = 2;  // files below that folder may have gone unchecked
  if (list.items.empty())
    std::fprintf(stderr, "tarvik-scan: no file to scan (no .ict file in the folders given)\n");
  tarvik::cli::planReports(list.items, opt.reportDir);

  const std::vector<ScanItem>& items = list.items;
  const size_t n = items.size();
  const int jobs = opt.jobs < static_cast<int>(n) ? opt.jobs : static_cast<int>(n);
  const bool showProgress = !opt.quiet && jobs == 1 && isatty(STDERR_FILENO);
  std::vector<FileResult> results(n);
  std::vector<tarvik::cli::SummaryRow> rows;
  std::mutex mutex;
  size_t nextToScan = 0, nextToPrint = 0;

  // Results are printed in the order of the files, each as soon as those before it are done; a
  // printed result keeps only its state (and its summary row), so memory does not grow with the
  // findings of every file.
  auto printReady = [&]() {
    while (nextToPrint < n && results[nextToPrint].state != State::Pending) {
      const ScanItem& item = items[nextToPrint];
      FileResult& r = results[nextToPrint++];
      if (r.state == State::NotScanned) continue;
      if (!(opt.quiet && r.state == State::Pass)) {
        const std::string line = opt.json ? tarvik::cli::jsonLine(tarvik::cli::scanResultJson(
                                                item.path, r.outcome, r.box ? &*r.box : nullptr))
                                          : plainLine(item, r);
        std::fprintf(stdout, "%s\n", line.c_str());
        std::fflush(stdout);
      }
      if (r.state == State::Error) std::fprintf(stderr, "tarvik-scan: %s\n", r.words.c_str());
      if (!opt.summaryPath.empty()) rows.push_back(summaryRow(item, r));
      r.outcome = tarvik::ScanOutcome();
      r.box.reset();
      r.words.clear();
    }
  };
  auto worker = [&]() {
    for (;;) {
      size_t i;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (nextToScan >= n) return;
        i = nextToScan++;
        if (tarvik::cli::g_abortRequested.load()) {
          results[i].state = State::NotScanned;
          printReady();
          continue;
        }
      }
      FileResult r = scanOne(items[i], opt, showProgress);
      std::lock_guard<std::mutex> lock(mutex);
      results[i] = std::move(r);
      printReady();
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < jobs; ++t) threads.emplace_back(worker);
  worker();
  for (auto& t : threads) t.join();

  for (const FileResult& r : results) {
    if (r.state == State::Error) status = 2;
    if ((r.state == State::Fail || r.state == State::NotScanned) && status == 0) status = 1;
  }
  if (tarvik::cli::g_abortRequested.load())
    std::fprintf(stderr, "tarvik-scan: interrupted; files not yet started were not scanned\n");
  if (!opt.summaryPath.empty()) {
    const std::string text = opt.summaryFormat == tarvik::cli::SummaryFormat::Csv
                                 ? tarvik::cli::summaryCsv(rows, summary.folder())
                                 : tarvik::cli::summaryHtml(rows, summary.folder());
    if (!summary.commit(text, error)) {
      std::fprintf(stderr, "tarvik-scan: %s\n", error.c_str());
      status = 2;
    }
  }
  return status;
}

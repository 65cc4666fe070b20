// tarvik-scan: scans ICARTT files from the command line, one report beside each file.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "scan/core/scan_context.h"
#include "scan/run/scan_run.h"

namespace {

using tarvik::cli::CliOptions;
using tarvik::cli::ConsoleHost;

enum class Outcome { Pending, Pass, Fail, Error, NotScanned };

struct FileResult {
  Outcome outcome = Outcome::Pending;
  std::string line;    // the line for stdout
  std::string errLine; // the same words for stderr
};

void onInterrupt(int) {
  tarvik::cli::g_abortRequested.store(true);
  std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}

FileResult scanOne(const std::string& file, const CliOptions& opt, bool showProgress) {
  FileResult res;
  ConsoleHost host(showProgress);
  tarvik::ScanContext ctx;
  ctx.host = &host;
  ctx.run.allowExtraIntervals = opt.extraIntervals;
  tarvik::ScanOutcome outcome;
  try {
    outcome = tarvik::runScan(ctx, file, static_cast<int32_t>(opt.interval));
  } catch (const std::exception& e) {
    host.showMessage("Exception: Program Error Encountered.", e.what());
  } catch (...) {
    host.showMessage("Exception: Program Error Encountered.", file);
  }
  host.finishProgress();
  if (!outcome.reportWritten()) {
    res.outcome = Outcome::Error;
    std::string words;
    for (const auto& m : host.messages()) {
      if (!words.empty()) words += "; ";
      words += m.caption + ": " + m.text;
    }
    if (words.empty()) words = "no report was written";
    res.line = "ERROR " + file + "  " + words;
    res.errLine = "tarvik-scan: " + words;
    return res;
  }
  if (outcome.passed()) {
    res.outcome = Outcome::Pass;
    res.line = "PASS  " + file + "  report: " + outcome.reportPath;
  } else {
    res.outcome = Outcome::Fail;
    res.line =
        "FAIL  " + file + "  code " + std::to_string(outcome.status) + "  report: " + outcome.reportPath;
  }
  return res;
}

}  // namespace

int main(int argc, char** argv) {
  CliOptions opt;
  std::string error;
  if (!tarvik::cli::parseOptions(argc, argv, opt, error)) {
    std::fprintf(stderr, "tarvik-scan: %s\n%s", error.c_str(), tarvik::cli::usageText());
    return 2;
  }
  if (opt.help) {
    std::fputs(tarvik::cli::usageText(), stdout);
    return 0;
  }
  std::signal(SIGINT, onInterrupt);

  const size_t n = opt.files.size();
  const int jobs = opt.jobs < static_cast<int>(n) ? opt.jobs : static_cast<int>(n);
  const bool showProgress = !opt.quiet && jobs == 1 && isatty(STDERR_FILENO);
  std::vector<FileResult> results(n);
  std::mutex mutex;
  size_t nextToScan = 0, nextToPrint = 0;

  // Results are printed in the order the files were given, each as soon as those before it are done.
  auto printReady = [&]() {
    while (nextToPrint < n && results[nextToPrint].outcome != Outcome::Pending) {
      const FileResult& r = results[nextToPrint++];
      if (r.outcome == Outcome::NotScanned) continue;
      if (!(opt.quiet && r.outcome == Outcome::Pass)) {
        std::fprintf(stdout, "%s\n", r.line.c_str());
        std::fflush(stdout);
      }
      if (!r.errLine.empty()) std::fprintf(stderr, "%s\n", r.errLine.c_str());
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
          results[i].outcome = Outcome::NotScanned;
          printReady();
          continue;
        }
      }
      FileResult r = scanOne(opt.files[i], opt, showProgress);
      std::lock_guard<std::mutex> lock(mutex);
      results[i] = std::move(r);
      printReady();
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < jobs; ++t) threads.emplace_back(worker);
  worker();
  for (auto& t : threads) t.join();

  int status = 0;
  for (const FileResult& r : results) {
    if (r.outcome == Outcome::Error) status = 2;
    if ((r.outcome == Outcome::Fail || r.outcome == Outcome::NotScanned) && status == 0) status = 1;
  }
  if (tarvik::cli::g_abortRequested.load())
    std::fprintf(stderr, "tarvik-scan: interrupted; files not yet started were not scanned\n");
  return status;
}

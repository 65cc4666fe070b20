#include <gtest/gtest.h>

#include "cli/console_host.h"
#include "scan/core/scan_context.h"

namespace tarvik::cli {
namespace {

TEST(CliConsoleHost, InterruptBecomesAbortAtTheNextProgressCall) {
  ConsoleHost host(false);
  ScanContext ctx;
  g_abortRequested = false;
  host.updateProgress(ctx, 10, 100, 1);
  EXPECT_FALSE(ctx.run.abortRequested);
  g_abortRequested = true;  // what the SIGINT handler does
  host.updateProgress(ctx, 11, 100, 1);
  EXPECT_TRUE(ctx.run.abortRequested);
  g_abortRequested = false;
}

TEST(CliConsoleHost, MessageBoxesAreKeptAsText) {
  ConsoleHost host(false);
  host.showMessage("File Open Error...", "/x/y.ict");
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].caption, "File Open Error...");
  EXPECT_EQ(host.messages()[0].text, "/x/y.ict");
}

}  // namespace
}  // namespace tarvik::cli

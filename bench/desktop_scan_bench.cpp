// How fast the desktop scans a large file compared with the command line: the real main window,
// offscreen, scans the file as a user does (its path in the file box, Enter pressed) until the
// report is written and shown, its own host filling the plot store; then tarvik-scan -q scans the
// same file as a child process. Both are timed RUNS times (default 5), alternating, after one
// untimed scan of each; the medians and their ratio (desktop / command line) are printed, for the
// elapsed time and, as a figure that a busy machine disturbs less, for the processor time.
//
//   desktop_scan_bench [FILE]
//
// Without FILE it writes the benchmark's 100 MB FFI 1001 file with 30 variables (gen_icartt,
// seed 42) into a temporary folder. gen_icartt and tarvik-scan are taken from the program's own
// folder. Runs under QT_QPA_PLATFORM=offscreen unless another platform is set.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <ctime>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/dialogs.h"
#include "desktop/mainwindow/tform1.h"
#include "desktop/plotview/tplotview.h"

extern char** environ;

namespace {

// Answers every dialog at once; a box shown during the benchmark is counted as a failure.
class SilentDialogs : public tarvik::desktop::Dialogs {
 public:
  int boxes = 0;
  void showError(const QString& caption, const QString& text) override { note(caption, text); }
  void showWarning(const QString& caption, const QString& text) override { note(caption, text); }
  void showInformation(const QString& caption, const QString& text) override { note(caption, text); }
  void showPlain(const QString& caption, const QString& text) override { note(caption, text); }
  QColor chooseColor(const QColor&) override { return QColor(); }
  bool setUpPrinter(QPrinter&) override { return false; }
  QString openFileName(const QString&, const QString&) override { return QString(); }
  QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
  void printDocument(QTextDocument&) override {}
  bool openExternal(const QUrl&) override { return false; }

 private:
  void note(const QString& caption, const QString& text) {
    ++boxes;
    std::fprintf(stderr, "desktop_scan_bench: a box was shown: %s: %s\n", qPrintable(caption), qPrintable(text));
  }
};

std::string ownFolder() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return ".";
  self[n] = '\0';
  std::string dir = self;
  return dir.substr(0, dir.find_last_of('/'));
}

struct Times {
  double elapsed = 0;    // seconds
  double processor = 0;  // user and system seconds
};

double processorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs a program with its output sent to /dev/null; its exit status, or -1. cpuSeconds, when
// given, receives the program's user and system time.
int runQuietly(const std::vector<std::string>& args, double* cpuSeconds = nullptr) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) return -1;
  if (cpuSeconds) {
    auto seconds = [](const timeval& v) { return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) / 1e6; };
    *cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  }
  return WEXITSTATUS(status);
}

double median(const std::vector<Times>& runs, double Times::*field) {
  std::vector<double> v;
  for (const Times& t : runs) v.push_back(t.*field);
  std::sort(v.begin(), v.end());
  return v[(v.size() - 1) / 2];
}

// Qt's notes about the offscreen platform would only clutter the figures.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietQtNotes);
  QApplication app(argc, argv);
  const int runs = qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 5;
  const std::string bin = ownFolder();
  const std::string scanner = bin + "/tarvik-scan";

  QTemporaryDir temp;
  QString file;
  if (argc > 1) {
    file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  } else {
    file = temp.filePath("TARVIK-BENCH_DC8_20190521_R0.ict");
    const int made = runQuietly({bin + "/gen_icartt", "--ffi", "1001", "--vars", "30", "--mb", "100", "--seed", "42",
                                 QFile::encodeName(file).toStdString()});
    if (made != 0) {
      std::fprintf(stderr, "desktop_scan_bench: gen_icartt failed\n");
      return 1;
    }
  }
  const std::string path = QFile::encodeName(file).toStdString();

  SilentDialogs dialogs;
  tarvik::desktop::TPlotView plotView(dialogs);
  tarvik::desktop::TForm1 window(dialogs, plotView, {});
  window.show();
  QCoreApplication::processEvents();
  auto* fileBox = window.findChild<QLineEdit*>("fileNameValue");
  auto* pane = window.findChild<QTextBrowser*>("MyWebBrowser");
  fileBox->setText(QDir::toNativeSeparators(file));

  // One scan from the window: Enter in the file box, then the events the scan left (the report
  // pane's repaint). Its times; an elapsed time of -1 when it did not pass.
  auto desktopScan = [&]() -> Times {
    QElapsedTimer t;
    const double cpu = processorSeconds();
    t.start();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(fileBox, &enter);
    QCoreApplication::processEvents();
    const Times s{static_cast<double>(t.nsecsElapsed()) / 1e9, processorSeconds() - cpu};
    const QString report = window.currentReportPath();
    if (window.lastOutcome().status != 0 || report.isEmpty() ||
        pane->source() != QUrl::fromLocalFile(QFileInfo(report).absoluteFilePath()) || dialogs.boxes != 0) {
      std::fprintf(stderr, "desktop_scan_bench: the desktop scan did not pass (status %d)\n",
                   window.lastOutcome().status);
      return Times{-1, 0};
    }
    return s;
  };
  auto commandLineScan = [&]() -> Times {
    QElapsedTimer t;
    Times s;
    t.start();
    const int status = runQuietly({scanner, "-q", path}, &s.processor);
    s.elapsed = static_cast<double>(t.nsecsElapsed()) / 1e9;
    if (status != 0) {
      std::fprintf(stderr, "desktop_scan_bench: tarvik-scan -q did not pass (exit status %d)\n", status);
      return Times{-1, 0};
    }
    return s;
  };

  // One untimed scan of each first, then the timed ones, alternating.
  if (desktopScan().elapsed < 0 || commandLineScan().elapsed < 0) return 1;
  std::vector<Times> desktop, commandLine;
  for (int i = 0; i < runs; ++i) {
    desktop.push_back(desktopScan());
    commandLine.push_back(commandLineScan());
    if (desktop.back().elapsed < 0 || commandLine.back().elapsed < 0) return 1;
  }
  const double d = median(desktop, &Times::elapsed), dc = median(desktop, &Times::processor);
  const double c = median(commandLine, &Times::elapsed), cc = median(commandLine, &Times::processor);
  std::printf("file %s: %.1f MB, %lld records stored; medians of %d scans\n", path.c_str(),
              static_cast<double>(QFileInfo(file).size()) / 1048576.0,
              static_cast<long long>(plotView.store().RecordCount()), runs);
  std::printf("%-24s %10s %10s\n", "", "elapsed s", "cpu s");
  std::printf("%-24s %10.3f %10.3f\n", "desktop scan (TForm1)", d, dc);
  std::printf("%-24s %10.3f %10.3f\n", "tarvik-scan -q", c, cc);
  std::printf("%-24s %10.2f %10.2f\n", "desktop / command line", d / c, dc / cc);
  return 0;
}

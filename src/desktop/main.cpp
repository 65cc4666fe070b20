// tarvik: the desktop program. Without a display it hands its files to tarvik-scan.
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop/dialogs.h"
#include "desktop/plot_window.h"
#include "desktop/windows.h"
#include "tarvik_version.h"

namespace {

bool displayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// Runs tarvik-scan from the program's own folder on the given files.
int runConsoleScan(int argc, char** argv) {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = ".";
  if (n > 0) {
    self[n] = '\0';
    dir = self;
    dir = dir.substr(0, dir.find_last_of('/'));
  }
  const std::string scanner = dir + "/tarvik-scan";
  std::vector<char*> args;
  args.push_back(const_cast<char*>(scanner.c_str()));
  for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  execv(scanner.c_str(), args.data());
  std::perror(("tarvik: cannot run " + scanner).c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    if (argc < 2) {
      std::fprintf(stderr, "tarvik: no display is available; give a file to scan it with tarvik-scan\n");
      return 2;
    }
    std::fprintf(stderr, "tarvik: no display is available; scanning with tarvik-scan instead\n");
    return runConsoleScan(argc, argv);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("tarvik");
  QApplication::setApplicationVersion(TARVIK_VERSION);
  tarvik::desktop::QtDialogs dialogs;
  // The plot window is its own top-level window; it outlives the main window, which hands it the
  // values of each scan and shows it over itself.
  const std::unique_ptr<tarvik::desktop::PlotWindow> plotWindow = tarvik::desktop::makePlotWindow(dialogs);
  const std::unique_ptr<QMainWindow> window =
      tarvik::desktop::makeMainWindow(dialogs, *plotWindow, app.arguments().mid(1));
  dialogs.setParent(window.get());
  window->show();
  return app.exec();
}

// What the desktop tests share: recording dialogs, a window with counted scans, temporary folders.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/dialogs.h"
#include "desktop/mainwindow/tform1.h"
#include "desktop/plotview/tplotview.h"

namespace tarvik::guitest {

// Answers every dialog at once and remembers what was asked.
class RecordingDialogs : public desktop::Dialogs {
 public:
  struct Box {
    QString caption, text;
  };
  std::vector<Box> boxes;
  QStringList openFilters;
  QString openAnswer;  // the path the open dialog returns (empty: cancelled)
  QString saveAnswer;
  QStringList saveProposals;
  int prints = 0;
  QList<QUrl> external;

  // Every box, whatever its icon, with its kind: 'E'rror, 'W'arning, 'I'nformation, 'P'lain.
  struct KindedBox {
    char kind;
    QString caption, text;
  };
  std::vector<KindedBox> allBoxes;
  QColor colorAnswer;  // the colour the colour dialog returns (invalid: cancelled)
  int colorRequests = 0;
  QStringList saveCaptions, saveFilters, openCaptions;
  // Printing: when printTo is set, the print dialog "chooses" a PDF file of that name.
  QString printTo;
  int printerSetUps = 0;

  void showError(const QString& caption, const QString& text) override {
    boxes.push_back({caption, text});
    allBoxes.push_back({'E', caption, text});
  }
  void showWarning(const QString& caption, const QString& text) override { allBoxes.push_back({'W', caption, text}); }
  void showInformation(const QString& caption, const QString& text) override {
    allBoxes.push_back({'I', caption, text});
  }
  void showPlain(const QString& caption, const QString& text) override { allBoxes.push_back({'P', caption, text}); }
  QColor chooseColor(const QColor&) override {
    ++colorRequests;
    return colorAnswer;
  }
  bool setUpPrinter(QPrinter& printer) override;
  QString openFileName(const QString& caption, const QString& filter) override {
    openCaptions.append(caption);
    openFilters.append(filter);
    return openAnswer;
  }
  QString saveFileName(const QString& caption, const QString& proposed, const QString& filter) override {
    saveCaptions.append(caption);
    saveFilters.append(filter);
    saveProposals.append(proposed);
    return saveAnswer;
  }
  void printDocument(QTextDocument&) override { ++prints; }
  bool openExternal(const QUrl& url) override {
    external.append(url);
    return true;
  }
};

// The plot window a TestForm hands to its main window; a base of TestForm, so that it is made
// before the main window and outlives it, as in the program.
class OwnPlotView {
 protected:
  explicit OwnPlotView(desktop::Dialogs& dialogs) : plotView_(dialogs) {}
  desktop::TPlotView plotView_;
};

// The main window with its own plot window, connected as the program connects them; its scans
// counted, an optional error raised in place of the scan, and a hook run at every progress call
// before the window's own handling.
class TestForm : private OwnPlotView, public desktop::TForm1 {
 public:
  TestForm(desktop::Dialogs& dialogs, const QStringList& arguments)
      : OwnPlotView(dialogs), TForm1(dialogs, plotView_, arguments) {}
  desktop::TPlotView& plotView() { return plotView_; }
  const PlotDataStore& plotData() const { return plotView_.store(); }
  struct Call {
    std::string path;
    int32_t intervalIndex;
    bool extraIntervals;
  };
  std::vector<Call> calls;
  bool throwInScan = false;
  std::function<void(TestForm&, int64_t current, int64_t total, int mode)> onProgress;

  void updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) override {
    if (onProgress) onProgress(*this, current, total, mode);
    TForm1::updateProgress(ctx, current, total, mode);
  }

 protected:
  std::string runScanFor(const std::string& path, int32_t intervalTypeIndex) override {
    calls.push_back({path, intervalTypeIndex, scanContext().run.allowExtraIntervals});
    if (throwInScan) throw std::runtime_error("disk on fire");
    return TForm1::runScanFor(path, intervalTypeIndex);
  }
};

// A temporary folder made the working directory for the test's life.
class WorkingFolder {
 public:
  WorkingFolder();
  ~WorkingFolder();
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

QString examplePath();                        // the bundled passing example
QString copyExample(const QString& folder);   // copies it under its own name; returns the copy's path
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// The example's header followed by records rows of data (a long file that passes).
QByteArray longExample(int records);

}  // namespace tarvik::guitest

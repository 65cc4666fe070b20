// What the desktop tests share: recording dialogs, a main window with counted scans, temporary
// folders, and the plot window on its own with the files its tests chart.
#pragma once

#include <QByteArray>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVector>
#include <cstdint>
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

// ---- the plot window ----

inline const std::string kFile = "X_Y_20190101_R0.ict";
inline const std::string kTime = "Start_UTC, seconds, elapsed time from 0 hours UT\n";
inline const std::string kNo2 = "NO2, ppbv, nitrogen dioxide\n";
inline const std::string kO3 = "O3, ppbv, ozone\n";
inline constexpr double kFlag = -9999;
inline const QString kReadError = "Error Reading Data From Memory";
inline const QString kFitFailureTail =
    "\n\nApplication Error:\n\nCouldn't Calculate Correlation Coeff. If this error continues, please inform author.";

// One column of a test file: its definition line (with the line terminator the header reader
// keeps) and its values, record by record.
struct Column {
  std::string definition;
  std::vector<double> values;
};

// A list item: the definition line without its terminator.
QString item(const std::string& definition);

// The plot window on its own, with its store, answering every dialog through the recorder.
class PlotTestWindow {
 public:
  RecordingDialogs dialogs;
  desktop::TPlotView view{dialogs};
  const PlotDataStore& store = view.store();

  PlotTestWindow() {
    view.setZoomAnimationMilliseconds(0);
    view.show();
  }

  // Fills the store as a scan does: capacity above the records, definitions, values record by
  // record (a value equal to the flag in a column other than 0 is passed as flagged), then the trim.
  void fill(const std::vector<Column>& columns, const std::string& fileName = kFile) {
    const int64_t records = columns.empty() ? 0 : static_cast<int64_t>(columns.front().values.size());
    view.InitPlotData(records + 3, static_cast<int32_t>(columns.size()), fileName);
    for (const Column& c : columns) view.AddPlotVariable(c.definition);
    for (int64_t r = 0; r < records; ++r) {
      for (size_t c = 0; c < columns.size(); ++c) {
        const double v = columns[c].values[static_cast<size_t>(r)];
        view.PutPlotValue(v, r, static_cast<int32_t>(c), c > 0 && v == kFlag);
      }
    }
    view.TrimPlotRecords(records);
  }

  template <typename T>
  T* get(const char* name) const {
    T* w = view.findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("the plot window has no control named %s", name);
    return w;
  }
  QComboBox* list(const char* name) const { return get<QComboBox>(name); }
  QCheckBox* box(const char* name) const { return get<QCheckBox>(name); }
  QPushButton* button(const char* name) const { return get<QPushButton>(name); }
  QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
  QRadioButton* radio(const char* name) const { return get<QRadioButton>(name); }
  desktop::PlotChart* chart1() const { return get<desktop::PlotChart>("Chart1"); }
  desktop::PlotChart* chart2() const { return get<desktop::PlotChart>("Chart2"); }
  QCPGraph* series1() const { return chart1()->graph(0); }
  QCPGraph* series3() const { return chart1()->graph(1); }
  QCPGraph* series2() const { return chart2()->graph(0); }
  QCPGraph* series4() const { return chart2()->graph(1); }
  QString stats1() const { return get<QLabel>("tSTAT1")->text(); }
  QString stats2() const { return get<QLabel>("tSTAT2")->text(); }
  QStringList memo() const {
    const QString text = get<QPlainTextEdit>("zStat")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
  }

  // A selection by the user in a drop-down list.
  void pick(const char* name, int index) {
    QComboBox* l = list(name);
    l->setCurrentIndex(index);
    emit l->activated(index);
  }
  void tick(const char* name, bool on) { box(name)->setChecked(on); }
};

// The values of a series, point by point (a null point is NaN), and its keys.
QVector<double> valuesOf(const QCPGraph* g);
QVector<double> keysOf(const QCPGraph* g);
QColor textColor(const QWidget* w);
// Equal within rounding; a range's limits so; a range as text for failure messages.
bool same(double a, double b);
bool sameRange(const QCPRange& r, double lower, double upper);
QByteArray rangeText(const QCPRange& r);

// A file of four records whose O3 column holds two missing-data flags.
std::vector<Column> flaggedOzone();
// The XY page's file: X = 1..5, Y = 2X with the fifth Y a flag, a column without spread, and a
// second Y column.
std::vector<Column> xyFile();

}  // namespace tarvik::guitest

// The main window: file choice, options, scan start, progress and abort, the report pane, the
// welcome page and the about panel. It is the desktop's scan host: the plot data store calls of a
// scan go on to the plot window, whose store keeps the values.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <string>

#include "scan/core/outcome.h"
#include "scan/core/scan_context.h"
#include "scan/core/scan_host.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace tarvik::desktop {

class Dialogs;
class LinkLabel;
class PlotWindow;
class ReportBrowser;

class TForm1 : public QMainWindow, public ScanHost {
  Q_OBJECT
 public:
  // plotWindow: the plot window, which must outlive this one. arguments: the command line after
  // the program's name.
  TForm1(Dialogs& dialogs, PlotWindow& plotWindow, const QStringList& arguments, QWidget* parent = nullptr);
  ~TForm1() override;

  // ScanHost
  void showMessage(const std::string& caption, const std::string& text) override;
  void updateProgress(ScanContext& ctx, int64_t current, int64_t total, int mode) override;
  void enablePlotting() override;
  bool keepsPlotData() const override { return true; }
  void InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) override;
  void AddPlotVariable(std::string_view definitionLine) override;
  void PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses, int32_t count) override;
  void TrimPlotRecords(int64_t recordsStored) override;

  const QString& currentReportPath() const { return reportPath_; }
  const QString& welcomePagePath() const { return welcomePath_; }
  bool scanning() const { return scanning_; }
  float lastProgressValue() const { return lastProgress_; }
  ScanContext& scanContext() { return ctx_; }
  // What the last scan left (its status, verdict, report path).
  const ScanOutcome& lastOutcome() const { return lastOutcome_; }
  // The folder of the shipped pages (siteDirectory() unless a test sets another).
  void setSiteDirectory(const QString& dir);
  const QString& siteDir() const { return siteDir_; }

 public slots:
  void btnScanClick();
  void OpenFile1Click();
  void ZedeRevuViewClick();
  void btnClick();
  void btnMenuClick();
  void GoClick();
  // A key pressed in the file box or the address box; true when it was Enter.
  bool onKeyEnter(QObject* box, int key);
  void MyWebBrowserOnStatusTextChange(const QString& text);
  void MyWebBrowserOnProgressChange(int progress, int maximum);
  void MyWebBrowserOnCommandChange(int command, bool enabled);
  void wwwTarvikLabelMouseOver();
  void wwwTarvikLabelMouseLeave();
  // Files dropped on the window: the first one's path goes into the file box.
  void FormDropFiles(const QList<QUrl>& urls);
  // Shows an address or a file in the report pane, or hands it to the desktop.
  void navigate(const QString& address);

 protected:
  // The scan itself; tests replace it to count calls or raise an error.
  virtual std::string runScanFor(const std::string& path, int32_t intervalTypeIndex);
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void startUp(const QStringList& arguments);
  void showPage(const QUrl& url);
  void navigateWithBusyPointer(const QString& address);
  void setScanning(bool on);
  void removeFiles();
  void onAnchorClicked(const QUrl& url);
  void onHighlighted(const QUrl& url);

  Dialogs& dialogs_;
  ScanContext ctx_;
  ScanOutcome lastOutcome_;
  PlotWindow& plotWindow_;
  QString reportPath_;
  QString welcomePath_;
  QString siteDir_;
  float lastProgress_ = 0.0f;
  QElapsedTimer progressEvents_;  // since the progress panel last handled the events
  bool scanning_ = false;
  bool closeAfterScan_ = false;

  QLineEdit* fileNameValue_ = nullptr;
  QPushButton* OpenFile_ = nullptr;
  LinkLabel* labelTInterval_ = nullptr;
  QComboBox* IntervalType_ = nullptr;
  QComboBox* cbIcarttVersion_ = nullptr;
  QCheckBox* chkOtherTmType_ = nullptr;
  QPushButton* btnScan_ = nullptr;
  QPushButton* ZedeRevuView_ = nullptr;
  QPushButton* btnChkVer_ = nullptr;
  QLabel* verText_ = nullptr;
  LinkLabel* wwwTarvik_ = nullptr;
  QPushButton* btnAbout_ = nullptr;
  QPushButton* btnExit_ = nullptr;
  QToolButton* btnBack_ = nullptr;
  QToolButton* btnForward_ = nullptr;
  QToolButton* btnStop_ = nullptr;
  QToolButton* btnRefresh_ = nullptr;
  QToolButton* btnSave_ = nullptr;
  QToolButton* btnPrint_ = nullptr;
  QComboBox* sUrlBox_ = nullptr;
  QToolButton* GoBtn_ = nullptr;
  ReportBrowser* MyWebBrowser_ = nullptr;
  QLabel* StatusBarText_ = nullptr;
  QProgressBar* StatusBarProgressBar_ = nullptr;
  QFrame* PB_ = nullptr;
  QLabel* LabelperN_ = nullptr;
  QLabel* Labelpercnt_ = nullptr;
  QProgressBar* ProgressBar1_ = nullptr;
  QPushButton* btnAbort_ = nullptr;
  QFrame* pSplash_ = nullptr;
  QLabel* SplashVer_ = nullptr;
  LinkLabel* aboutPicture_ = nullptr;
  LinkLabel* urlTXTAbout_ = nullptr;
  LinkLabel* emailTXTAbout_ = nullptr;
  QPushButton* btnX_ = nullptr;
};

}  // namespace tarvik::desktop

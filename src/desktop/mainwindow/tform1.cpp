#include "desktop/mainwindow/tform1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "desktop/dialogs.h"
#include "desktop/mainwindow/link_label.h"
#include "desktop/mainwindow/report_browser.h"
#include "desktop/mainwindow/site_pages.h"
#include "desktop/mainwindow/welcome_page.h"
#include "desktop/plot_window.h"
#include "desktop/windows.h"
#include "scan/core/site.h"
#include "scan/run/scan_run.h"

namespace tarvik::desktop {

namespace {

const char* const kDoneText = "TarvikBrowser: Done.";
// The least time between two rounds of event handling while the progress panel advances.
constexpr qint64 kProgressEventsMs = 40;
const char* const kUnknownErrorText = "Exception: Program Error Encountered.\n\nIf this error persists, please inform author.";

QString home() { return QString::fromUtf8(site::kHomeAddress); }

template <class W>
W* named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QToolButton* toolButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& hint,
                        const QString& text = QString()) {
  auto* b = named(new QToolButton(parent), name);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolTip(hint);
  b->setText(text.isEmpty() ? hint : text);
  b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  b->setAutoRaise(true);
  return b;
}

QPixmap aboutPixmap() {
  QPixmap pm(64, 64);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor("#1F4E99"));
  p.setPen(Qt::NoPen);
  p.drawEllipse(2, 2, 60, 60);
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setPixelSize(36);
  f.setBold(true);
  p.setFont(f);
  p.drawText(pm.rect(), Qt::AlignCenter, "T");
  return pm;
}

}  // namespace

std::unique_ptr<QMainWindow> makeMainWindow(Dialogs& dialogs, PlotWindow& plotWindow, const QStringList& arguments) {
  return std::make_unique<TForm1>(dialogs, plotWindow, arguments);
}

TForm1::TForm1(Dialogs& dialogs, PlotWindow& plotWindow, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), plotWindow_(plotWindow), siteDir_(siteDirectory()) {
  setObjectName("Form1");
  ctx_.host = this;
  buildControls();
  startUp(arguments);
}

TForm1::~TForm1() { removeFiles(); }

void TForm1::setSiteDirectory(const QString& dir) {
  siteDir_ = dir;
  MyWebBrowser_->setSiteDirectory(dir);
}

void TForm1::buildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(6, 6, 6, 0);
  outer->setSpacing(4);

  // File and scan options.
  auto* top = new QGridLayout;
  top->setHorizontalSpacing(8);
  auto* loadLabel = new QLabel("Load File:", central);
  fileNameValue_ = named(new QLineEdit(central), "fileNameValue");
  fileNameValue_->setAcceptDrops(false);
  loadLabel->setBuddy(fileNameValue_);
  OpenFile_ = named(new QPushButton("Browse...", central), "OpenFile");
  top->addWidget(loadLabel, 0, 0);
  top->addWidget(fileNameValue_, 0, 1, 1, 4);
  top->addWidget(OpenFile_, 0, 5);

  labelTInterval_ = named(new LinkLabel("Select Data Time-Interval Type:", central), "labelTInterval");
  IntervalType_ = named(new QComboBox(central), "IntervalType");
  IntervalType_->setEditable(true);
  IntervalType_->setInsertPolicy(QComboBox::NoInsert);
  IntervalType_->addItem("Start, Stop, and Mid-point");
  IntervalType_->addItem("Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}");
  IntervalType_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  IntervalType_->setMinimumContentsLength(20);
  IntervalType_->setCurrentIndex(-1);
  IntervalType_->setEditText("Start, Stop, and Mid-point");
  // The rule set: the V1.1 rules, or those and the V2.0 rules.
  cbIcarttVersion_ = named(new QComboBox(central), "cbIcarttVersion");
  cbIcarttVersion_->addItem("ICARTT V1.1");
  cbIcarttVersion_->addItem("ICARTT V2.0");
  cbIcarttVersion_->setCurrentIndex(0);
  chkOtherTmType_ = named(new QCheckBox("Also Allow Intervals: 5, 10, 15, 30", central), "chkOtherTmType");
  btnScan_ = named(new QPushButton("ScanFile", central), "btnScan");
  btnScan_->setDefault(false);
  QFont bold = btnScan_->font();
  bold.setBold(true);
  btnScan_->setFont(bold);
  ZedeRevuView_ = named(new QPushButton("Plotting/Options...", central), "ZedeRevuView");
  ZedeRevuView_->setEnabled(false);
  top->addWidget(labelTInterval_, 1, 0);
  top->addWidget(IntervalType_, 1, 1, 1, 2);
  top->addWidget(cbIcarttVersion_, 1, 3);
  top->addWidget(chkOtherTmType_, 1, 4, 1, 2);
  top->setColumnStretch(1, 1);
  outer->addLayout(top);

  // Scan start, version, links and the program's buttons.
  auto* actions = new QHBoxLayout;
  btnChkVer_ = named(new QPushButton("Check For Updated Version", central), "btnChkVer");
  auto* usingLabel = new QLabel("You're using:", central);
  verText_ = named(new QLabel(central), "verText");
  verText_->setStyleSheet("color: #CC0000; font-weight: bold;");
  actions->addWidget(btnScan_);
  actions->addWidget(ZedeRevuView_);
  actions->addStretch(1);
  actions->addWidget(btnChkVer_);
  actions->addWidget(usingLabel);
  actions->addWidget(verText_);
  outer->addLayout(actions);

  auto* links = new QHBoxLayout;
  wwwTarvik_ = named(new LinkLabel("Click here  to use the web-based Tarvik and/or Archive your file", central), "wwwTarvik");
  btnAbout_ = named(new QPushButton("About", central), "btnAbout");
  btnExit_ = named(new QPushButton(" Exit", central), "btnExit");
  links->addWidget(wwwTarvik_);
  links->addStretch(1);
  links->addWidget(btnAbout_);
  links->addWidget(btnExit_);
  outer->addLayout(links);

  auto* hint = named(new QLabel("RightClick in Browser's Window (below) for Context Menu Options.", central), "labelHint");
  hint->setStyleSheet("color: #555555;");
  outer->addWidget(hint);

  // The report pane's toolbar.
  auto* bar = new QFrame(central);
  bar->setFrameShape(QFrame::StyledPanel);
  auto* tools = new QHBoxLayout(bar);
  tools->setContentsMargins(2, 2, 2, 2);
  btnBack_ = toolButton(central, "btnBack", QStyle::SP_ArrowBack, "Back");
  btnForward_ = toolButton(central, "btnForward", QStyle::SP_ArrowForward, "Forward");
  btnStop_ = toolButton(central, "btnStop", QStyle::SP_BrowserStop, "Stop");
  btnRefresh_ = toolButton(central, "btnRefresh", QStyle::SP_BrowserReload, "Refresh");
  btnSave_ = toolButton(central, "btnSave", QStyle::SP_DialogSaveButton, "Save");
  btnPrint_ = toolButton(central, "btnPrint", QStyle::SP_FileDialogDetailedView, "Print");
  for (QToolButton* b : {btnBack_, btnForward_, btnStop_, btnRefresh_}) b->setEnabled(false);
  for (QToolButton* b : {btnBack_, btnForward_, btnStop_, btnRefresh_, btnSave_, btnPrint_}) tools->addWidget(b);
  tools->addSpacing(10);
  auto* addressLabel = new QLabel("Address", bar);
  sUrlBox_ = named(new QComboBox(bar), "sUrlBox");
  sUrlBox_->setEditable(true);
  sUrlBox_->setInsertPolicy(QComboBox::NoInsert);
  sUrlBox_->addItem(home());
  sUrlBox_->setCurrentIndex(0);
  sUrlBox_->setEditText(home());
  sUrlBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  sUrlBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  GoBtn_ = toolButton(central, "GoBtn", QStyle::SP_MediaPlay, "Go to URL", "Go");
  tools->addWidget(addressLabel);
  tools->addWidget(sUrlBox_, 1);
  tools->addWidget(GoBtn_);
  outer->addWidget(bar);

  MyWebBrowser_ = named(new ReportBrowser(central), "MyWebBrowser");
  MyWebBrowser_->setAcceptDrops(false);
  MyWebBrowser_->setSiteDirectory(siteDir_);
  outer->addWidget(MyWebBrowser_, 1);

  StatusBarText_ = named(new QLabel(kDoneText, this), "StatusBarText");
  StatusBarProgressBar_ = named(new QProgressBar(this), "StatusBarProgressBar");
  StatusBarProgressBar_->setRange(0, 100);
  StatusBarProgressBar_->setValue(0);
  StatusBarProgressBar_->setMaximumWidth(160);
  StatusBarProgressBar_->setTextVisible(false);
  statusBar()->addWidget(StatusBarText_, 1);
  statusBar()->addPermanentWidget(StatusBarProgressBar_);

  // The progress panel, shown over the window while the data phase runs.
  PB_ = named(new QFrame(this), "PB");
  PB_->setFrameShape(QFrame::Box);
  PB_->setLineWidth(2);
  PB_->setAutoFillBackground(true);
  auto* pbLayout = new QVBoxLayout(PB_);
  auto* pbTitle = new QLabel("      Processing  File  --  please wait  . . .", PB_);
  pbTitle->setFont(bold);
  LabelperN_ = named(new QLabel("0%  ( 1", PB_), "LabelperN");
  Labelpercnt_ = named(new QLabel(" Lines of 100 ) completed", PB_), "Labelpercnt");
  auto* labels = new QHBoxLayout;
  labels->setSpacing(0);
  labels->addStretch(1);
  labels->addWidget(LabelperN_);
  labels->addWidget(Labelpercnt_);
  labels->addStretch(1);
  ProgressBar1_ = named(new QProgressBar(PB_), "ProgressBar1");
  ProgressBar1_->setRange(0, 100);
  ProgressBar1_->setValue(0);
  ProgressBar1_->setMinimumWidth(320);
  btnAbort_ = named(new QPushButton("Abort", PB_), "btnAbort");
  pbLayout->addWidget(pbTitle);
  pbLayout->addLayout(labels);
  pbLayout->addWidget(ProgressBar1_);
  pbLayout->addWidget(btnAbort_, 0, Qt::AlignHCenter);
  PB_->hide();

  // The about panel.
  pSplash_ = named(new QFrame(this), "pSplash");
  pSplash_->setFrameShape(QFrame::Box);
  pSplash_->setLineWidth(2);
  pSplash_->setAutoFillBackground(true);
  auto* sp = new QGridLayout(pSplash_);
  SplashVer_ = named(new QLabel("TarvikBrowser", pSplash_), "SplashVer");
  SplashVer_->setFont(bold);
  btnX_ = named(new QPushButton("X", pSplash_), "btnX");
  btnX_->setFixedWidth(28);
  aboutPicture_ = named(new LinkLabel(QString(), pSplash_), "aboutPicture");
  aboutPicture_->setStyleSheet(QString());
  aboutPicture_->setPixmap(aboutPixmap());
  auto* credit = named(new QLabel(QString("Written by ") + site::kCuratorName, pSplash_), "aboutCredit");
  auto* postal = named(new QLabel("Tarvik Project Office", pSplash_), "aboutAddress");
  urlTXTAbout_ = named(new LinkLabel(home(), pSplash_), "urlTXTAbout");
  emailTXTAbout_ = named(new LinkLabel(QString::fromUtf8(site::kCuratorMail), pSplash_), "emailTXTAbout");
  sp->addWidget(SplashVer_, 0, 0, 1, 2);
  sp->addWidget(btnX_, 0, 2, Qt::AlignRight);
  sp->addWidget(aboutPicture_, 1, 0, 4, 1);
  sp->addWidget(credit, 1, 1, 1, 2);
  sp->addWidget(postal, 2, 1, 1, 2);
  sp->addWidget(urlTXTAbout_, 3, 1, 1, 2);
  sp->addWidget(emailTXTAbout_, 4, 1, 1, 2);
  pSplash_->hide();

  connect(OpenFile_, &QPushButton::clicked, this, &TForm1::OpenFile1Click);
  connect(btnScan_, &QPushButton::clicked, this, &TForm1::btnScanClick);
  connect(ZedeRevuView_, &QPushButton::clicked, this, &TForm1::ZedeRevuViewClick);
  for (QPushButton* b : {btnChkVer_, btnAbort_, btnAbout_, btnX_, btnExit_})
    connect(b, &QPushButton::clicked, this, &TForm1::btnClick);
  for (LinkLabel* l : {wwwTarvik_, labelTInterval_, urlTXTAbout_, aboutPicture_, emailTXTAbout_})
    connect(l, &LinkLabel::clicked, this, &TForm1::btnClick);
  for (LinkLabel* l : {wwwTarvik_, labelTInterval_}) {
    connect(l, &LinkLabel::entered, this, &TForm1::wwwTarvikLabelMouseOver);
    connect(l, &LinkLabel::left, this, &TForm1::wwwTarvikLabelMouseLeave);
  }
  for (QToolButton* b : {btnBack_, btnForward_, btnStop_, btnRefresh_, btnSave_, btnPrint_})
    connect(b, &QToolButton::clicked, this, &TForm1::btnMenuClick);
  connect(GoBtn_, &QToolButton::clicked, this, &TForm1::GoClick);
  connect(MyWebBrowser_, &QTextBrowser::forwardAvailable, this, [this](bool on) { MyWebBrowserOnCommandChange(1, on); });
  connect(MyWebBrowser_, &QTextBrowser::backwardAvailable, this, [this](bool on) { MyWebBrowserOnCommandChange(2, on); });
  connect(MyWebBrowser_, &QTextBrowser::anchorClicked, this, &TForm1::onAnchorClicked);
  connect(MyWebBrowser_, qOverload<const QUrl&>(&QTextBrowser::highlighted), this, &TForm1::onHighlighted);
  fileNameValue_->installEventFilter(this);
  sUrlBox_->lineEdit()->installEventFilter(this);
}

void TForm1::startUp(const QStringList& arguments) {
  const QString caption = QString("Corvane Ostrel: ICARTT File Format Scanning --  By: ") + site::kCuratorName;
  reportPath_.clear();
  setAcceptDrops(true);
  const QString commandLine = arguments.join(' ');
  if (commandLine.size() > 8) fileNameValue_->setText(commandLine);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    setGeometry(10, 10, static_cast<int>(0.98 * s.width()), static_cast<int>(0.95 * s.height()));
  }
  const QString version = QString::fromLatin1(kVersionText);
  verText_->setText(version);
  setWindowTitle(caption + " -- " + version);
  SplashVer_->setText(SplashVer_->text() + " -- " + version);
  welcomePath_ = desktop::welcomePagePath(QDir::currentPath());
  if (writeWelcomePage(welcomePath_)) showPage(QUrl::fromLocalFile(welcomePath_));
}

void TForm1::removeFiles() {
  if (!welcomePath_.isEmpty() && QFileInfo(welcomePath_).isFile()) QFile::remove(welcomePath_);
  if (reportPath_.size() > 2) QFile::remove(reportPath_);
}

// ---- ScanHost ----

void TForm1::showMessage(const std::string& caption, const std::string& text) {
  dialogs_.showError(QString::fromStdString(caption), QFile::decodeName(QByteArray::fromStdString(text)));
}

void TForm1::updateProgress(ScanContext& /*ctx*/, int64_t current, int64_t total, int mode) {
  if (mode == 0) {
    lastProgress_ = 0.0f;
    progressEvents_.invalidate();  // the first advance handles the events at once
    PB_->setUpdatesEnabled(true);
    ProgressBar1_->setValue(0);
    Labelpercnt_->setText("0% ( 1 of 100 )");
    PB_->adjustSize();
    PB_->move(std::max(0, (width() - PB_->width()) / 2), std::max(0, (height() - PB_->height()) / 2));
    PB_->raise();
    PB_->show();
    return;
  }
  if (mode != 1 || total <= 0) return;
  const float p = static_cast<float>(current) / static_cast<float>(total) * 100.0f + 1.0f;
  if (lastProgress_ + 0.5f > p) return;
  // The panel takes every advance at once but paints only when the events are handled, and those
  // (a click on Abort, the repaint) are handled at an advance at most every kProgressEventsMs: a
  // large file advances half a percent every millisecond or two, far more often than a screen
  // shows, and the progress bar would otherwise repaint itself at each one.
  const bool handleEvents = !progressEvents_.isValid() || progressEvents_.elapsed() >= kProgressEventsMs;
  PB_->setUpdatesEnabled(false);
  ProgressBar1_->setValue(static_cast<int>(p));
  LabelperN_->setText(QString::number(ProgressBar1_->value()) + "% ( " + QString::number(current));
  if (lastProgress_ < 2.0f) Labelpercnt_->setText(" Lines of " + QString::number(total) + " ) completed");
  if (handleEvents) {
    PB_->setUpdatesEnabled(true);  // one repaint of the panel with its latest values
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    progressEvents_.start();
  }
  lastProgress_ = p;
}

void TForm1::enablePlotting() { ZedeRevuView_->setEnabled(true); }

// The store calls go on to the plot window, a whole record per call.
void TForm1::InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) {
  plotWindow_.InitPlotData(recordCapacity, columnCount, fileName);
}
void TForm1::AddPlotVariable(std::string_view definitionLine) { plotWindow_.AddPlotVariable(definitionLine); }
void TForm1::PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses, int32_t count) {
  plotWindow_.PutPlotRecord(recordIndex, values, flagClasses, count);
}
void TForm1::TrimPlotRecords(int64_t recordsStored) { plotWindow_.TrimPlotRecords(recordsStored); }

// ---- the scan ----

std::string TForm1::runScanFor(const std::string& path, int32_t intervalTypeIndex) {
  lastOutcome_ = runScan(ctx_, path, intervalTypeIndex);
  return lastOutcome_.reportPath;
}

void TForm1::setScanning(bool on) {
  scanning_ = on;
  btnScan_->setEnabled(!on);
  OpenFile_->setEnabled(!on);
}

void TForm1::btnScanClick() {
  if (scanning_) return;
  setScanning(true);
  plotWindow_.FreePlotData();
  ZedeRevuView_->setEnabled(false);
  ctx_.run.allowExtraIntervals = chkOtherTmType_->isChecked();
  ctx_.settings.icartt = cbIcarttVersion_->currentIndex() == 1 ? IcarttVersion::V2_0 : IcarttVersion::V1_1;
  if (reportPath_.size() > 2) QFile::remove(reportPath_);
  reportPath_.clear();
  try {
    const std::string path = QFile::encodeName(fileNameValue_->text()).toStdString();
    const std::string result = runScanFor(path, static_cast<int32_t>(IntervalType_->currentIndex()));
    if (result.size() > 2) {
      const QString report = QFile::decodeName(QByteArray::fromStdString(result));
      showPage(QUrl::fromLocalFile(QFileInfo(report).absoluteFilePath()));
      reportPath_ = report;
    }
  } catch (const std::exception& e) {
    dialogs_.showError("TarvikBrowser", QString::fromLocal8Bit(e.what()));
    dialogs_.showError("UNKNOWN ERROR...", kUnknownErrorText);
  } catch (...) {
    dialogs_.showError("TarvikBrowser", "An unknown error was raised during the scan.");
    dialogs_.showError("UNKNOWN ERROR...", kUnknownErrorText);
  }
  PB_->setUpdatesEnabled(true);
  PB_->hide();
  setScanning(false);
  if (closeAfterScan_) {
    closeAfterScan_ = false;
    if (reportPath_.size() > 2) QFile::remove(reportPath_);
    reportPath_.clear();
    close();
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (scanning_) {
    // Closing in the middle of a scan stops it; the window closes when the scan has returned.
    ctx_.run.abortRequested = true;
    closeAfterScan_ = true;
    event->ignore();
    return;
  }
  plotWindow_.hideWindow();
  QMainWindow::closeEvent(event);
}

void TForm1::OpenFile1Click() {
  if (scanning_) return;
  const QString path = dialogs_.openFileName("Open", "ICARTT File (*.ict);;All Files (*.*)");
  if (path.isEmpty()) return;
  fileNameValue_->setText(QDir::toNativeSeparators(path));
  plotWindow_.FreePlotData();
  ZedeRevuView_->setEnabled(false);
}

void TForm1::ZedeRevuViewClick() { plotWindow_.showOver(this); }

bool TForm1::onKeyEnter(QObject* box, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  if (box == fileNameValue_) {
    btnScanClick();
    return true;
  }
  if (box == sUrlBox_ || box == sUrlBox_->lineEdit()) {
    GoClick();
    return true;
  }
  return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == fileNameValue_ || watched == sUrlBox_->lineEdit()))
    if (onKeyEnter(watched, static_cast<QKeyEvent*>(event)->key())) return true;
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  FormDropFiles(event->mimeData()->urls());
  event->acceptProposedAction();
}

void TForm1::FormDropFiles(const QList<QUrl>& urls) {
  if (scanning_ || urls.isEmpty()) return;
  const QUrl& first = urls.first();
  QString path = first.isLocalFile() ? first.toLocalFile() : first.toString();
  fileNameValue_->setText(path.left(260));
}

// ---- the small buttons and links ----

void TForm1::btnClick() {
  QObject* s = sender();
  if (s == btnChkVer_) {
    navigateWithBusyPointer(home() + "/missions/etc/wTarvik.htm");
  } else if (s == wwwTarvik_) {
    navigateWithBusyPointer(home() + "/cgi-bin/tarvik");
  } else if (s == labelTInterval_) {
    navigateWithBusyPointer(home() + "/missions/etc/IcarttDataFormat.htm#5b1");
  } else if (s == urlTXTAbout_ || s == aboutPicture_) {
    navigateWithBusyPointer(home());
  } else if (s == emailTXTAbout_) {
    navigateWithBusyPointer(QString("mailto:") + site::kCuratorMail + "?subject=TarvikBrowser");
  } else if (s == btnAbort_) {
    ctx_.run.abortRequested = true;
  } else if (s == btnAbout_) {
    pSplash_->adjustSize();
    pSplash_->move(width() / 2 - pSplash_->width() / 2, height() / 2 - pSplash_->height() / 2);
    pSplash_->raise();
    pSplash_->show();
  } else if (s == btnX_) {
    pSplash_->hide();
  } else if (s == btnExit_) {
    if (scanning_) {
      // The scan ends at its next record; the window closes when it has returned.
      ctx_.run.abortRequested = true;
      closeAfterScan_ = true;
      return;
    }
    if (reportPath_.size() > 2) QFile::remove(reportPath_);
    reportPath_.clear();
    close();
  }
}

void TForm1::btnMenuClick() {
  QObject* s = sender();
  if (s == btnBack_) {
    MyWebBrowser_->backward();
  } else if (s == btnForward_) {
    MyWebBrowser_->forward();
  } else if (s == btnStop_) {
    MyWebBrowserOnStatusTextChange(kDoneText);  // pages load at once; there is nothing to stop
  } else if (s == btnRefresh_) {
    MyWebBrowser_->reload();
  } else if (s == btnSave_) {
    const QUrl source = MyWebBrowser_->source();
    QString proposed = source.isLocalFile() ? QFileInfo(source.toLocalFile()).fileName() : QString("page.htm");
    const QString target =
        dialogs_.saveFileName("Save As", proposed, "HTML Files (*.htm *.html);;All Files (*)");
    if (target.isEmpty()) return;
    QByteArray bytes;
    QFile in(source.toLocalFile());
    if (source.isLocalFile() && in.open(QIODevice::ReadOnly))
      bytes = in.readAll();
    else
      bytes = MyWebBrowser_->toHtml().toUtf8();
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
      dialogs_.showError("File Save Error...", target);
      return;
    }
    MyWebBrowserOnStatusTextChange("Saved: " + target);
  } else if (s == btnPrint_) {
    dialogs_.printDocument(*MyWebBrowser_->document());
  }
}

void TForm1::GoClick() {
  const QString t = sUrlBox_->currentText().trimmed();
  bool found = false;
  for (int i = 0; i < sUrlBox_->count(); ++i)
    if (sUrlBox_->itemText(i).compare(t, Qt::CaseInsensitive) == 0) found = true;
  if (!found) sUrlBox_->addItem(t);
  QStringList items;
  for (int i = 0; i < sUrlBox_->count(); ++i) items.append(sUrlBox_->itemText(i));
  std::reverse(items.begin(), items.end());
  sUrlBox_->clear();
  sUrlBox_->addItems(items);
  sUrlBox_->setEditText(t);
  navigateWithBusyPointer(t);
}

// ---- the report pane ----

void TForm1::MyWebBrowserOnStatusTextChange(const QString& text) { StatusBarText_->setText(text); }

void TForm1::MyWebBrowserOnProgressChange(int progress, int maximum) {
  if (progress > 0 && maximum > 0)
    StatusBarProgressBar_->setValue(progress * 100 / maximum);
  else if (progress <= 0)
    StatusBarProgressBar_->setValue(0);
}

void TForm1::MyWebBrowserOnCommandChange(int command, bool enabled) {
  if (command == 1) btnForward_->setEnabled(enabled);
  if (command == 2) btnBack_->setEnabled(enabled);
  btnStop_->setEnabled(btnBack_->isEnabled() || btnForward_->isEnabled());
  btnRefresh_->setEnabled(btnStop_->isEnabled());
}

void TForm1::wwwTarvikLabelMouseOver() {
  if (sender() == labelTInterval_)
    MyWebBrowserOnStatusTextChange(home() + "/missions/etc/IcarttDataFormat.htm#5b1");
  else
    MyWebBrowserOnStatusTextChange(home() + "/cgi-bin/tarvik");
}

void TForm1::wwwTarvikLabelMouseLeave() { MyWebBrowserOnStatusTextChange(kDoneText); }

void TForm1::onHighlighted(const QUrl& url) {
  MyWebBrowserOnStatusTextChange(url.isEmpty() ? QString(kDoneText) : url.toString());
}

void TForm1::onAnchorClicked(const QUrl& url) {
  if (url.isLocalFile() || url.scheme().isEmpty())
    showPage(url);
  else
    navigate(url.toString());
}

void TForm1::showPage(const QUrl& url) {
  MyWebBrowserOnProgressChange(50, 100);
  const QUrl current = MyWebBrowser_->source();
  if (current.adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment) && !url.hasFragment())
    MyWebBrowser_->reload();
  else
    MyWebBrowser_->setSource(url);
  MyWebBrowserOnProgressChange(-1, 100);
  MyWebBrowserOnStatusTextChange(kDoneText);
}

void TForm1::navigateWithBusyPointer(const QString& address) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  navigate(address);
  QGuiApplication::restoreOverrideCursor();
}

void TForm1::navigate(const QString& address) {
  if (isSiteAddress(address)) {
    const SitePage page = sitePageFor(address, siteDir_);
    if (!QFileInfo(page.file).isFile()) {
      MyWebBrowserOnStatusTextChange("This program ships no page for " + address);
      return;
    }
    QUrl url = QUrl::fromLocalFile(page.file);
    if (!page.fragment.isEmpty()) url.setFragment(page.fragment);
    showPage(url);
    return;
  }
  const QUrl url(address);
  const QString scheme = url.scheme().toLower();
  if (scheme == "http" || scheme == "https" || scheme == "mailto") {
    const bool opened = dialogs_.openExternal(url);
    const QString where = scheme == "mailto" ? "your mail program" : "your web browser";
    MyWebBrowserOnStatusTextChange(opened ? "Opened in " + where + ": " + address
                                          : "Could not hand to " + where + ": " + address);
    return;
  }
  if (scheme == "file") {
    showPage(url);
    return;
  }
  const QFileInfo file(address);
  if (file.isFile()) {
    showPage(QUrl::fromLocalFile(file.absoluteFilePath()));
    return;
  }
  MyWebBrowserOnStatusTextChange("Cannot find: " + address);
}

}  // namespace tarvik::desktop

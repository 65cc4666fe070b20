// Scanning from the window: ScanFile and Enter, the report pane, plotting, progress, abort,
// errors raised during a scan, Browse... and the guard against a second scan.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include "gui_support.h"

using namespace tarvik::guitest;

namespace {
const QString kUnknown = "Exception: Program Error Encountered.\n\nIf this error persists, please inform author.";

QString reportText(TestForm& form) { return form.findChild<QTextBrowser*>("MyWebBrowser")->toPlainText(); }
QPushButton* button(TestForm& form, const char* name) { return form.findChild<QPushButton*>(name); }
}  // namespace

class ScanTest : public QObject {
  Q_OBJECT
 private slots:
  void passingScanShowsTheReportAndEnablesPlotting() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    form.show();
    button(form, "btnScan")->click();

    const QString report = input + "__diagnostic.htm";
    QCOMPARE(form.currentReportPath(), report);
    QVERIFY(QFile::exists(report));
    QCOMPARE(form.findChild<QTextBrowser*>("MyWebBrowser")->source(), QUrl::fromLocalFile(report));
    QVERIFY(reportText(form).contains("Good Job - no major errors encountered during SCAN."));
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());
    QVERIFY(!form.plotData().IsEmpty());
    QCOMPARE(form.plotData().ColumnCount(), 6);
    // The store holds the file's 300 records and no more: the room for every line is trimmed.
    QCOMPARE(form.plotData().RecordCount(), int64_t{300});
    QCOMPARE(form.plotData().column(0).front(), 36000.0f);
    QCOMPARE(form.plotData().column(0).back(), 38990.0f);
    QCOMPARE(form.plotData().column(5).back(), 253.67f);
    QVERIFY(!form.findChild<QFrame*>("PB")->isVisible());
    QVERIFY(dialogs.boxes.empty());
    // The window's report is the engine's, byte for byte: what tarvik-scan writes too.
    QVERIFY(readBytes(report).startsWith("<!DOCTYPE HTML PUBLIC"));

    // The button opens the plot window on the scanned values, modeless and above the others.
    button(form, "ZedeRevuView")->click();
    QVERIFY(form.plotView().isVisible());
    QVERIFY(!form.plotView().isModal());
    QVERIFY(form.plotView().windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form.plotView().windowTitle(), QString("Fast Plot View : TARVIK-EXAMPLE_DC8_20190521_R0.ict ..."));
    QCOMPARE(form.plotView().findChild<QComboBox*>("VarList1")->count(), 6);
  }

  void aRescanOfTheSameFileShowsTheNewReport() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    button(form, "btnScan")->click();
    QVERIFY(reportText(form).contains("Good Job"));
    QByteArray bad = readBytes(input);
    bad.replace(0, 8, "37, 1002");
    writeBytes(input, bad);
    button(form, "btnScan")->click();
    QCOMPARE(form.currentReportPath(), input + "__diagnostic.htm");
    QVERIFY(reportText(form).contains("Scanning failed due to the error(s) displayed here in RED."));
    QVERIFY(!reportText(form).contains("Good Job"));
  }

  void exitDuringAScanAbortsItAndClosesWhenItHasReturned() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = wd.file("TARVIK-EXAMPLE_DC8_20190521_R0.ict");
    writeBytes(input, longExample(30000));
    TestForm form(dialogs, {input});
    form.show();
    bool clicked = false;
    form.onProgress = [&](TestForm& f, int64_t, int64_t, int mode) {
      if (mode != 1 || clicked) return;
      clicked = true;
      f.findChild<QPushButton*>("btnExit")->click();
      QVERIFY(f.isVisible());
    };
    button(form, "btnScan")->click();
    QVERIFY(clicked);
    QCOMPARE(form.lastOutcome().status, 20);
    QVERIFY(!form.isVisible());
    QVERIFY(!QFile::exists(input + "__diagnostic.htm"));
  }

  void failingScanLeavesPlottingDisabledAndDeletesThePreviousReport() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString good = copyExample(wd.path());
    QByteArray bad = readBytes(good);
    bad.replace(0, 8, "37, 1002");  // an unknown format index on line 1
    const QString badPath = wd.file("TARVIK-EXAMPLE_DC8_20190522_R0.ict");
    writeBytes(badPath, bad);
    TestForm form(dialogs, {good});
    form.show();
    button(form, "btnScan")->click();
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());
    const QString firstReport = form.currentReportPath();

    form.findChild<QLineEdit*>("fileNameValue")->setText(badPath);
    button(form, "btnScan")->click();
    QVERIFY(!QFile::exists(firstReport));
    QCOMPARE(form.currentReportPath(), badPath + "__diagnostic.htm");
    QVERIFY(reportText(form).contains("Scanning failed due to the error(s) displayed here in RED."));
    QVERIFY(!button(form, "ZedeRevuView")->isEnabled());
    QVERIFY(form.plotData().IsEmpty());
  }

  void enterInTheFileBoxScansExactlyAsScanFile() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    form.show();
    form.findChild<QCheckBox*>("chkOtherTmType")->setChecked(true);
    form.findChild<QComboBox*>("IntervalType")->setCurrentIndex(1);

    QTest::keyClick(form.findChild<QLineEdit*>("fileNameValue"), Qt::Key_Return);
    QCOMPARE(form.calls.size(), size_t(1));
    const QString byEnter = reportText(form);
    const QByteArray bytesByEnter = readBytes(form.currentReportPath());
    const bool plotByEnter = button(form, "ZedeRevuView")->isEnabled();

    button(form, "btnScan")->click();
    QCOMPARE(form.calls.size(), size_t(2));
    for (const auto& c : form.calls) {
      QCOMPARE(QString::fromStdString(c.path), input);
      QCOMPARE(c.intervalIndex, 1);
      QVERIFY(c.extraIntervals);
    }
    QCOMPARE(reportText(form), byEnter);
    QCOMPARE(readBytes(form.currentReportPath()), bytesByEnter);
    QCOMPARE(button(form, "ZedeRevuView")->isEnabled(), plotByEnter);
    QVERIFY(bytesByEnter.contains("Time-interval Type Selected: <font color='#0000FF'>Constant Equal"));

    // Other keys do nothing; Enter in the address box goes, it does not scan.
    QTest::keyClick(form.findChild<QLineEdit*>("fileNameValue"), Qt::Key_A);
    QTest::keyClick(form.findChild<QComboBox*>("sUrlBox")->lineEdit(), Qt::Key_Return);
    QCOMPARE(form.calls.size(), size_t(2));
  }

  void progressShowsOnePercentAtTheFirstAdvanceAndIgnoresSmallSteps() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    form.show();
    auto& ctx = form.scanContext();
    auto* panel = form.findChild<QFrame*>("PB");
    auto* bar = form.findChild<QProgressBar*>("ProgressBar1");
    auto* perN = form.findChild<QLabel*>("LabelperN");
    auto* percnt = form.findChild<QLabel*>("Labelpercnt");

    form.updateProgress(ctx, 0, 200, 0);
    QVERIFY(panel->isVisible());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(percnt->text(), QString("0% ( 1 of 100 )"));
    form.updateProgress(ctx, 0, 200, 1);
    QCOMPARE(bar->value(), 1);
    QCOMPARE(perN->text(), QString("1% ( 0"));
    QCOMPARE(percnt->text(), QString(" Lines of 200 ) completed"));
    QCOMPARE(form.lastProgressValue(), 1.0f);

    form.updateProgress(ctx, 0, 1000, 0);
    form.updateProgress(ctx, 0, 1000, 1);
    form.updateProgress(ctx, 4, 1000, 1);  // 1.4 %: under half a percent more
    QCOMPARE(perN->text(), QString("1% ( 0"));
    QCOMPARE(form.lastProgressValue(), 1.0f);
    form.updateProgress(ctx, 5, 1000, 1);  // 1.5 %
    QCOMPARE(perN->text(), QString("1% ( 5"));
    QCOMPARE(form.lastProgressValue(), 1.5f);
    form.updateProgress(ctx, 20, 1000, 1);  // 3 %: the total is written while the last value is below 2
    QCOMPARE(perN->text(), QString("3% ( 20"));
    form.updateProgress(ctx, 40, 1500, 1);  // the last value is 3 now: the total label stays
    QCOMPARE(perN->text(), QString("3% ( 40"));
    QCOMPARE(percnt->text(), QString(" Lines of 1000 ) completed"));
    form.updateProgress(ctx, 900, 1000, 7);  // any other mode does nothing
    QCOMPARE(bar->value(), 3);
  }

  void abortDuringAScanOfALongFileEndsTheScan() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = wd.file("TARVIK-EXAMPLE_DC8_20190521_R0.ict");
    writeBytes(input, longExample(30000));
    TestForm form(dialogs, {input});
    form.show();
    int advances = 0;
    form.onProgress = [&](TestForm& f, int64_t, int64_t, int mode) {
      if (mode != 1 || ++advances != 1) return;
      // A click waiting in the queue: the window handles it while it shows the progress.
      QTimer::singleShot(0, f.findChild<QPushButton*>("btnAbort"), &QPushButton::click);
    };
    button(form, "btnScan")->click();
    QVERIFY(form.scanContext().run.abortRequested);
    QCOMPARE(form.lastOutcome().status, 20);
    QVERIFY(reportText(form).contains("File Scanning Aborted By User."));
    QVERIFY(readBytes(form.currentReportPath()).contains("<H3>File Scanning Aborted By User.</H3><br>\n"));
    QVERIFY(!button(form, "ZedeRevuView")->isEnabled());
    QVERIFY(!form.findChild<QFrame*>("PB")->isVisible());
    QVERIFY(button(form, "btnScan")->isEnabled());
  }

  void aClickLaterInTheScanIsHandledAtTheNextRoundOfEvents() {
    // After the first advance the panel handles events at an advance at most every 40 ms: a click
    // queued later is handled at the first advance once that time has passed.
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = wd.file("TARVIK-EXAMPLE_DC8_20190521_R0.ict");
    writeBytes(input, longExample(30000));
    TestForm form(dialogs, {input});
    form.show();
    int calls = 0;
    int64_t queuedAt = 0;
    form.onProgress = [&](TestForm& f, int64_t current, int64_t, int mode) {
      if (mode != 1 || ++calls != 1000) return;
      queuedAt = current;
      QTimer::singleShot(0, f.findChild<QPushButton*>("btnAbort"), &QPushButton::click);
      QThread::msleep(50);
    };
    button(form, "btnScan")->click();
    QVERIFY(queuedAt > 0);
    QCOMPARE(form.lastOutcome().status, 20);
    QVERIFY(readBytes(form.currentReportPath()).contains("<H3>File Scanning Aborted By User.</H3><br>\n"));
    // Handled at the next half percent (150 of 30000 records), far from the end of the file.
    const QByteArray report = readBytes(form.currentReportPath());
    const qsizetype at = report.indexOf("Total number of lines processed = ");
    QVERIFY(at >= 0);
    const qint64 lines = report.mid(at + 34, 8).split('<').first().toLongLong();
    QVERIFY2(lines > queuedAt && lines <= queuedAt + 200, report.mid(at, 48).constData());
    QVERIFY(!form.findChild<QFrame*>("PB")->isVisible());
  }

  void aScanInProgressIgnoresScanFileBrowseEnterAndDrops() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    dialogs.openAnswer = wd.file("other.ict");
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    form.show();
    bool checked = false;
    form.onProgress = [&](TestForm& f, int64_t, int64_t, int mode) {
      if (mode != 1 || checked) return;
      checked = true;
      QVERIFY(f.scanning());
      QVERIFY(f.currentReportPath().isEmpty());
      QVERIFY(!f.findChild<QPushButton*>("btnScan")->isEnabled());
      QVERIFY(!f.findChild<QPushButton*>("OpenFile")->isEnabled());
      f.btnScanClick();
      QTest::keyClick(f.findChild<QLineEdit*>("fileNameValue"), Qt::Key_Return);
      f.OpenFile1Click();
      f.FormDropFiles({QUrl::fromLocalFile(wd.file("dropped.ict"))});
      QVERIFY(f.findChild<QPushButton*>("btnAbort")->isEnabled());
    };
    button(form, "btnScan")->click();
    QVERIFY(checked);
    QCOMPARE(form.calls.size(), size_t(1));
    QVERIFY(dialogs.openFilters.isEmpty());
    QCOMPARE(form.findChild<QLineEdit*>("fileNameValue")->text(), input);
    QVERIFY(reportText(form).contains("Good Job"));
    QVERIFY(!form.scanning());
    QVERIFY(button(form, "btnScan")->isEnabled());
    QVERIFY(button(form, "OpenFile")->isEnabled());
  }

  void anErrorRaisedDuringAScanIsShownAndTheWindowStaysUsable() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    form.show();
    form.throwInScan = true;
    button(form, "btnScan")->click();
    QCOMPARE(dialogs.boxes.size(), size_t(2));
    QCOMPARE(dialogs.boxes[0].text, QString("disk on fire"));
    QCOMPARE(dialogs.boxes[1].caption, QString("UNKNOWN ERROR..."));
    QCOMPARE(dialogs.boxes[1].text, kUnknown);
    QVERIFY(!form.scanning());
    QVERIFY(!form.findChild<QFrame*>("PB")->isVisible());
    QVERIFY(form.currentReportPath().isEmpty());

    form.throwInScan = false;
    button(form, "btnScan")->click();
    QVERIFY(reportText(form).contains("Good Job"));
    QCOMPARE(dialogs.boxes.size(), size_t(2));
  }

  void theEnginesMessageBoxesReachTheDialogs() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    const QUrl welcome = form.findChild<QTextBrowser*>("MyWebBrowser")->source();
    button(form, "btnScan")->click();  // an empty file box
    QCOMPARE(dialogs.boxes.size(), size_t(1));
    QCOMPARE(dialogs.boxes[0].caption, QString("PathName / Filename Error..."));
    QVERIFY(form.currentReportPath().isEmpty());
    QCOMPARE(form.findChild<QTextBrowser*>("MyWebBrowser")->source(), welcome);
  }

  void browseFillsTheFileBoxAndReleasesThePlotData() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    button(form, "btnScan")->click();
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());

    form.findChild<QPushButton*>("OpenFile")->click();  // cancelled: nothing changes
    QCOMPARE(dialogs.openFilters, QStringList{"ICARTT File (*.ict);;All Files (*.*)"});
    QCOMPARE(form.findChild<QLineEdit*>("fileNameValue")->text(), input);
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());

    dialogs.openAnswer = wd.file("chosen.ict");
    form.findChild<QPushButton*>("OpenFile")->click();
    QCOMPARE(form.findChild<QLineEdit*>("fileNameValue")->text(), wd.file("chosen.ict"));
    QVERIFY(!button(form, "ZedeRevuView")->isEnabled());
    QVERIFY(form.plotData().IsEmpty());
  }

  void droppingTwoFilesTakesTheFirstAndChangesNothingElse() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    TestForm form(dialogs, {input});
    form.show();
    button(form, "btnScan")->click();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(wd.file("first.ict")), QUrl::fromLocalFile(wd.file("second.ict"))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    QCOMPARE(form.findChild<QLineEdit*>("fileNameValue")->text(), wd.file("first.ict"));
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());
    QCOMPARE(form.calls.size(), size_t(1));
  }

  void theIcarttVersionChoiceChoosesTheRules() {
    // The drop-down beside the interval type: V1.1 by default, V2.0 on choice, for the next scan.
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = wd.file("TARVIK-EXAMPLE-V2_DC8_20190521_R0.ict");
    writeBytes(input, readBytes(QStringLiteral(TARVIK_SOURCE_DIR
                                               "/examples/TARVIK-EXAMPLE-V2_DC8_20190521_R0.ict")));
    TestForm form(dialogs, {input});
    form.show();
    auto* version = form.findChild<QComboBox*>("cbIcarttVersion");
    QVERIFY(version);
    QCOMPARE(version->count(), 2);
    QCOMPARE(version->itemText(0), QString("ICARTT V1.1"));
    QCOMPARE(version->itemText(1), QString("ICARTT V2.0"));
    QCOMPARE(version->currentIndex(), 0);

    button(form, "btnScan")->click();
    QCOMPARE(form.lastOutcome().status, 10);
    QCOMPARE(form.lastOutcome().icartt, tarvik::IcarttVersion::V1_1);
    QVERIFY(reportText(form).contains("Header Line1 declares an ICARTT V2.0 header"));
    QVERIFY(!button(form, "ZedeRevuView")->isEnabled());

    version->setCurrentIndex(1);
    button(form, "btnScan")->click();
    QCOMPARE(form.lastOutcome().status, 0);
    QCOMPARE(form.lastOutcome().icartt, tarvik::IcarttVersion::V2_0);
    QVERIFY(reportText(form).contains("Rules Applied"));
    QVERIFY(button(form, "ZedeRevuView")->isEnabled());

    version->setCurrentIndex(0);
    button(form, "btnScan")->click();
    QCOMPARE(form.lastOutcome().status, 10);
  }
};

QTEST_MAIN(ScanTest)
#include "tform1_scan_test.moc"

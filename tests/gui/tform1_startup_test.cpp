// The window as it starts: every named control, the command line, the welcome page, exit.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include "gui_support.h"
#include "desktop/mainwindow/welcome_page.h"
#include "scan/core/site.h"

using namespace tarvik::guitest;

class StartupTest : public QObject {
  Q_OBJECT

  template <class W>
  static W* get(QWidget& form, const char* name) {
    W* w = form.findChild<W*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control named %s", name);
    return w;
  }

 private slots:
  void everyControlStartsAsDescribed() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    form.show();
    const QString home = QString::fromUtf8(tarvik::site::kHomeAddress);

    QCOMPARE(form.windowTitle(),
             QString("Corvane Ostrel: ICARTT File Format Scanning --  By: Corvane Ostrel -- Ver 2.3.4 (May 21, 2019)"));
    QCOMPARE(get<QLineEdit>(form, "fileNameValue")->text(), QString());
    QCOMPARE(get<QPushButton>(form, "OpenFile")->text(), QString("Browse..."));
    QCOMPARE(get<QLabel>(form, "labelTInterval")->text(), QString("Select Data Time-Interval Type:"));
    auto* interval = get<QComboBox>(form, "IntervalType");
    QVERIFY(interval->isEditable());
    QCOMPARE(interval->count(), 2);
    QCOMPARE(interval->itemText(0), QString("Start, Stop, and Mid-point"));
    QCOMPARE(interval->itemText(1),
             QString("Constant Equal (1 or less); {Or, irregular (Satellite/Trajectory/Ground)}"));
    QCOMPARE(interval->currentIndex(), -1);
    QCOMPARE(interval->currentText(), QString("Start, Stop, and Mid-point"));
    auto* version = get<QComboBox>(form, "cbIcarttVersion");
    QCOMPARE(version->count(), 2);
    QCOMPARE(version->currentText(), QString("ICARTT V1.1"));
    auto* extra = get<QCheckBox>(form, "chkOtherTmType");
    QCOMPARE(extra->text(), QString("Also Allow Intervals: 5, 10, 15, 30"));
    QVERIFY(!extra->isChecked());
    QCOMPARE(get<QPushButton>(form, "btnScan")->text(), QString("ScanFile"));
    auto* plot = get<QPushButton>(form, "ZedeRevuView");
    QCOMPARE(plot->text(), QString("Plotting/Options..."));
    QVERIFY(!plot->isEnabled());
    QCOMPARE(get<QPushButton>(form, "btnChkVer")->text(), QString("Check For Updated Version"));
    QCOMPARE(get<QLabel>(form, "verText")->text(), QString("Ver 2.3.4 (May 21, 2019)"));
    QCOMPARE(get<QLabel>(form, "wwwTarvik")->text(),
             QString("Click here  to use the web-based Tarvik and/or Archive your file"));
    QCOMPARE(get<QPushButton>(form, "btnAbout")->text(), QString("About"));
    QCOMPARE(get<QPushButton>(form, "btnExit")->text(), QString(" Exit"));
    QCOMPARE(get<QLabel>(form, "labelHint")->text(),
             QString("RightClick in Browser's Window (below) for Context Menu Options."));
    const char* hints[][2] = {{"btnBack", "Back"}, {"btnForward", "Forward"}, {"btnStop", "Stop"},
                              {"btnRefresh", "Refresh"}, {"btnSave", "Save"},     {"btnPrint", "Print"}};
    for (auto& h : hints) {
      auto* b = get<QToolButton>(form, h[0]);
      QCOMPARE(b->toolTip(), QString(h[1]));
      const bool startsEnabled = QByteArray(h[0]) == "btnSave" || QByteArray(h[0]) == "btnPrint";
      QCOMPARE(b->isEnabled(), startsEnabled);
    }
    auto* address = get<QComboBox>(form, "sUrlBox");
    QVERIFY(address->isEditable());
    QCOMPARE(address->count(), 1);
    QCOMPARE(address->itemText(0), home);
    QCOMPARE(address->currentText(), home);
    auto* go = get<QToolButton>(form, "GoBtn");
    QCOMPARE(go->text(), QString("Go"));
    QCOMPARE(go->toolTip(), QString("Go to URL"));
    QVERIFY(get<QTextBrowser>(form, "MyWebBrowser")->isVisible());
    QCOMPARE(get<QLabel>(form, "StatusBarText")->text(), QString("TarvikBrowser: Done."));
    auto* browserBar = get<QProgressBar>(form, "StatusBarProgressBar");
    QCOMPARE(browserBar->value(), 0);
    QCOMPARE(browserBar->maximum(), 100);
    QVERIFY(!get<QFrame>(form, "PB")->isVisible());
    QCOMPARE(get<QLabel>(form, "LabelperN")->text(), QString("0%  ( 1"));
    QCOMPARE(get<QLabel>(form, "Labelpercnt")->text(), QString(" Lines of 100 ) completed"));
    QCOMPARE(get<QProgressBar>(form, "ProgressBar1")->value(), 0);
    QCOMPARE(get<QPushButton>(form, "btnAbort")->text(), QString("Abort"));
    QVERIFY(!get<QFrame>(form, "pSplash")->isVisible());
    QCOMPARE(get<QLabel>(form, "SplashVer")->text(), QString("TarvikBrowser -- Ver 2.3.4 (May 21, 2019)"));
    QCOMPARE(get<QLabel>(form, "urlTXTAbout")->text(), home);
    QCOMPARE(get<QLabel>(form, "emailTXTAbout")->text(), QString::fromUtf8(tarvik::site::kCuratorMail));
    QCOMPARE(get<QPushButton>(form, "btnX")->text(), QString("X"));
    QVERIFY(form.acceptDrops());
    QVERIFY(form.currentReportPath().isEmpty());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(form.geometry().width(), static_cast<int>(0.98 * screen.width()));
    QCOMPARE(form.geometry().height(), static_cast<int>(0.95 * screen.height()));
  }

  void commandLineLongerThanEightCharactersFillsTheFileBox_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("eight characters") << QStringList{"abcd.ict"} << QString();
    QTest::newRow("nine characters") << QStringList{"abcde.ict"} << QString("abcde.ict");
    QTest::newRow("joined, quotes kept") << QStringList{"\"my", "file.ict\""} << QString("\"my file.ict\"");
  }
  void commandLineLongerThanEightCharactersFillsTheFileBox() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, arguments);
    QCOMPARE(form.findChild<QLineEdit*>("fileNameValue")->text(), expected);
    QVERIFY(form.calls.empty());
  }

  void welcomePageIsWrittenShownAndDeletedAtExit() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    QString page;
    {
      TestForm form(dialogs, {});
      page = form.welcomePagePath();
      QCOMPARE(QFileInfo(page).absoluteFilePath(), QFileInfo(wd.file("ftempVer.htm")).absoluteFilePath());
      const QByteArray text = readBytes(page);
      QCOMPARE(text, QByteArray::fromStdString(tarvik::desktop::welcomePageText()));
      QVERIFY(text.startsWith("<HTML><HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
                              "<TITLE>ICARTT File Format Scanning For Windows -- Corvane Ostrel</TITLE></HEAD> <BODY bgcolor=\"#F1F1F1\"><center>\n"));
      QVERIFY(text.contains("\n You're using: Ver 2.3.4 (May 21, 2019)</font></b></h2>\n<hr size=\"5\" noshade><font size = \"+1\">"));
      QVERIFY(text.contains("<br>3) Press <b><i>[ScanFile]</i></b> button\n"));
      QVERIFY(text.contains(QByteArray("<a href=\"") + tarvik::site::kHomeAddress +
                            "/missions/etc/IcarttDataFormat.htm\">Click here to view ICARTT Data Format Document</a></font><br><br>\n"));
      QVERIFY(text.contains("subject=wTarvik Feedback\">Please send us your feedback</a> and/or any suggestion"));
      QVERIFY(text.contains(QByteArray("<center><a href=\"") + tarvik::site::kHomeAddress + "\">| Home |</a>\n"));
      QVERIFY(text.endsWith("</font></center>\n</BODY></HTML>\n"));
      auto* browser = form.findChild<QTextBrowser*>("MyWebBrowser");
      QCOMPARE(browser->source(), QUrl::fromLocalFile(page));
      QVERIFY(browser->toPlainText().contains("You're using: Ver 2.3.4 (May 21, 2019)"));
    }
    QVERIFY(!QFile::exists(page));
  }

  void welcomePageThatCannotBeWrittenIsSkippedSilently() {
    WorkingFolder wd;
    QVERIFY(QDir(wd.path()).mkdir("ftempVer.htm"));  // a folder where the page would go
    RecordingDialogs dialogs;
    {
      TestForm form(dialogs, {});
      QVERIFY(form.findChild<QTextBrowser*>("MyWebBrowser")->source().isEmpty());
    }
    QVERIFY(dialogs.boxes.empty());
    QVERIFY(QFileInfo(wd.file("ftempVer.htm")).isDir());
  }

  void exitDeletesTheReportAndTheWelcomePage() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    const QString input = copyExample(wd.path());
    auto* form = new TestForm(dialogs, {input});
    form->show();
    const QString page = form->welcomePagePath();
    form->findChild<QPushButton*>("btnScan")->click();
    const QString report = form->currentReportPath();
    QCOMPARE(report, input + "__diagnostic.htm");
    QVERIFY(QFile::exists(report));
    form->findChild<QPushButton*>("btnExit")->click();
    QVERIFY(!QFile::exists(report));
    QVERIFY(!form->isVisible());
    delete form;
    QVERIFY(!QFile::exists(page));
    QVERIFY(QFile::exists(input));
  }

  void welcomePageGoesIntoTheWorkingDirectory() {
    QCOMPARE(tarvik::desktop::welcomePagePath("/home/me"), QString("/home/me/ftempVer.htm"));
    QCOMPARE(tarvik::desktop::welcomePagePath("/"), QString("/ftempVer.htm"));
  }

  void thePagesComeFromTheSourceTreeWhenNotInstalled() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    QCOMPARE(form.siteDir(), QString(TARVIK_SOURCE_DIR "/docs/site"));
  }

  void aboutPanelIsCentredAndClosedByX() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    form.show();
    form.findChild<QPushButton*>("btnAbout")->click();
    auto* panel = form.findChild<QFrame*>("pSplash");
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->y(), form.height() / 2 - panel->height() / 2);
    QCOMPARE(panel->x(), form.width() / 2 - panel->width() / 2);
    form.findChild<QPushButton*>("btnX")->click();
    QVERIFY(!panel->isVisible());
  }
};

QTEST_MAIN(StartupTest)
#include "tform1_startup_test.moc"

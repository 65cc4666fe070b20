// The report pane and its toolbar: the address list, the command-state rule, the program's own
// pages, addresses handed to the desktop, status text, save and print.
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include "gui_support.h"
#include "desktop/mainwindow/link_label.h"
#include "desktop/mainwindow/site_pages.h"
#include "scan/core/site.h"

using namespace tarvik::guitest;
using tarvik::desktop::LinkLabel;

namespace {
QString home() { return QString::fromUtf8(tarvik::site::kHomeAddress); }

QStringList items(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out.append(box->itemText(i));
  return out;
}

// A small site folder with the pages the window's links name.
void writeSite(const QString& dir) {
  for (const char* page : {"index.htm", "missions.htm", "missions/etc/wTarvik.htm", "missions/etc/IcarttDataFormat.htm",
                           "cgi-bin/tarvik.htm", "comments/comments.htm"}) {
    const QString path = dir + "/" + page;
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(path, QByteArray("<html><body><p>page ") + page + "</p><a name=\"5b1\"></a></body></html>");
  }
}
}  // namespace

class BrowserTest : public QObject {
  Q_OBJECT
 private slots:
  void goAddsANewAddressOnceAndReversesTheList() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    auto* box = form.findChild<QComboBox*>("sUrlBox");
    box->setEditText("  https://a.example/x  ");
    form.findChild<QToolButton*>("GoBtn")->click();
    QCOMPARE(items(box), (QStringList{"https://a.example/x", home()}));
    QCOMPARE(dialogs.external, QList<QUrl>{QUrl("https://a.example/x")});
    QCOMPARE(form.findChild<QLabel*>("StatusBarText")->text(),
             QString("Opened in your web browser: https://a.example/x"));

    box->setEditText("HTTPS://A.EXAMPLE/X");  // already listed in another case: only the reversal
    form.GoClick();
    QCOMPARE(items(box), (QStringList{home(), "https://a.example/x"}));
    box->setEditText(home().toUpper());
    form.GoClick();
    QCOMPARE(items(box), (QStringList{"https://a.example/x", home()}));
  }

  void stopAndRefreshFollowBackAndForward() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    auto* back = form.findChild<QToolButton*>("btnBack");
    auto* forward = form.findChild<QToolButton*>("btnForward");
    auto* stop = form.findChild<QToolButton*>("btnStop");
    auto* refresh = form.findChild<QToolButton*>("btnRefresh");
    form.MyWebBrowserOnCommandChange(2, true);
    QVERIFY(back->isEnabled() && !forward->isEnabled() && stop->isEnabled() && refresh->isEnabled());
    form.MyWebBrowserOnCommandChange(1, true);
    form.MyWebBrowserOnCommandChange(2, false);
    QVERIFY(!back->isEnabled() && forward->isEnabled() && stop->isEnabled() && refresh->isEnabled());
    form.MyWebBrowserOnCommandChange(1, false);
    QVERIFY(!stop->isEnabled() && !refresh->isEnabled());
    form.MyWebBrowserOnCommandChange(2, false);  // back off with forward already off
    QVERIFY(!back->isEnabled() && !forward->isEnabled() && !stop->isEnabled() && !refresh->isEnabled());
    form.MyWebBrowserOnCommandChange(5, true);  // another command changes only Stop and Refresh
    QVERIFY(!stop->isEnabled());
  }

  void theHistoryDrivesTheToolbar() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    writeBytes(wd.file("a.htm"), "<p>first</p>");
    writeBytes(wd.file("b.htm"), "<p>second</p>");
    form.navigate(wd.file("a.htm"));
    form.navigate(wd.file("b.htm"));
    auto* back = form.findChild<QToolButton*>("btnBack");
    auto* forward = form.findChild<QToolButton*>("btnForward");
    QVERIFY(back->isEnabled());
    QVERIFY(form.findChild<QToolButton*>("btnRefresh")->isEnabled());
    back->click();
    QVERIFY(form.findChild<QTextBrowser*>("MyWebBrowser")->toPlainText().contains("first"));
    QVERIFY(forward->isEnabled());
    forward->click();
    QVERIFY(form.findChild<QTextBrowser*>("MyWebBrowser")->toPlainText().contains("second"));
    QVERIFY(!forward->isEnabled());
  }

  void browserProgressFollowsTheRule() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    auto* bar = form.findChild<QProgressBar*>("StatusBarProgressBar");
    form.MyWebBrowserOnProgressChange(30, 60);
    QCOMPARE(bar->value(), 50);
    form.MyWebBrowserOnProgressChange(5, 0);  // no maximum: unchanged
    QCOMPARE(bar->value(), 50);
    form.MyWebBrowserOnProgressChange(0, 10);
    QCOMPARE(bar->value(), 0);
    form.MyWebBrowserOnStatusTextChange("loading");
    QCOMPARE(form.findChild<QLabel*>("StatusBarText")->text(), QString("loading"));
  }

  void theLinksOpenTheShippedPages() {
    WorkingFolder wd;
    writeSite(wd.file("site"));
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    form.setSiteDirectory(wd.file("site"));
    auto* browser = form.findChild<QTextBrowser*>("MyWebBrowser");
    const QString site = wd.file("site");

    form.findChild<QPushButton*>("btnChkVer")->click();
    QCOMPARE(browser->source(), QUrl::fromLocalFile(site + "/missions/etc/wTarvik.htm"));
    emit form.findChild<LinkLabel*>("wwwTarvik")->clicked();
    QCOMPARE(browser->source(), QUrl::fromLocalFile(site + "/cgi-bin/tarvik.htm"));
    emit form.findChild<LinkLabel*>("labelTInterval")->clicked();
    QUrl format = QUrl::fromLocalFile(site + "/missions/etc/IcarttDataFormat.htm");
    format.setFragment("5b1");
    QCOMPARE(browser->source(), format);
    emit form.findChild<LinkLabel*>("urlTXTAbout")->clicked();
    QCOMPARE(browser->source(), QUrl::fromLocalFile(site + "/index.htm"));
    form.navigate(home() + "/missions.htm");
    QCOMPARE(browser->source(), QUrl::fromLocalFile(site + "/missions.htm"));
    QVERIFY(dialogs.external.isEmpty());

    emit form.findChild<LinkLabel*>("emailTXTAbout")->clicked();
    QCOMPARE(dialogs.external,
             QList<QUrl>{QUrl(QString("mailto:") + tarvik::site::kCuratorMail + "?subject=TarvikBrowser")});
    QVERIFY(form.findChild<QLabel*>("StatusBarText")->text().startsWith("Opened in your mail program: "));

    form.navigate(home() + "/missions/etc/TarvikBrowser.zip");  // not shipped: the page stays
    QCOMPARE(browser->source(), QUrl::fromLocalFile(site + "/missions.htm"));
  }

  void siteAddressesMapToFilesInsideTheSite() {
    using tarvik::desktop::isSiteAddress;
    using tarvik::desktop::sitePageFor;
    WorkingFolder wd;
    writeSite(wd.file("site"));
    const QString site = wd.file("site");
    QVERIFY(isSiteAddress(home()));
    QVERIFY(isSiteAddress(home().toUpper() + "/missions.htm"));
    QVERIFY(!isSiteAddress(home() + ".elsewhere.example/x"));
    QCOMPARE(sitePageFor(home(), site).file, site + "/index.htm");
    QCOMPARE(sitePageFor(home() + "/", site).file, site + "/index.htm");
    QCOMPARE(sitePageFor(home() + "/cgi-bin/tarvik", site).file, site + "/cgi-bin/tarvik.htm");
    const auto anchored = sitePageFor(home() + "/missions/etc/IcarttDataFormat.htm#5b1", site);
    QCOMPARE(anchored.file, site + "/missions/etc/IcarttDataFormat.htm");
    QCOMPARE(anchored.fragment, QString("5b1"));
    QVERIFY(!sitePageFor(home() + "/../../etc/passwd", site).file.startsWith("/etc"));
    QVERIFY(!QFileInfo::exists(sitePageFor(home() + "/../../etc/passwd", site).file));
  }

  void hoveringLinksSetsTheStatusText() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    auto* status = form.findChild<QLabel*>("StatusBarText");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(form.findChild<LinkLabel*>("wwwTarvik"), &enter);
    QCOMPARE(status->text(), home() + "/cgi-bin/tarvik");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form.findChild<LinkLabel*>("wwwTarvik"), &leave);
    QCOMPARE(status->text(), QString("TarvikBrowser: Done."));
    QCoreApplication::sendEvent(form.findChild<LinkLabel*>("labelTInterval"), &enter);
    QCOMPARE(status->text(), home() + "/missions/etc/IcarttDataFormat.htm#5b1");

    writeBytes(wd.file("links.htm"), "<a href=\"https://b.example/\">b</a>");
    form.navigate(wd.file("links.htm"));
    emit form.findChild<QTextBrowser*>("MyWebBrowser")->highlighted(QUrl("https://b.example/"));
    QCOMPARE(status->text(), QString("https://b.example/"));
    emit form.findChild<QTextBrowser*>("MyWebBrowser")->highlighted(QUrl());
    QCOMPARE(status->text(), QString("TarvikBrowser: Done."));
  }

  void reportsAreReadAsLatin1() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    writeBytes(wd.file("x.ict__diagnostic.htm"), "<p>caf\xE9</p>");
    form.navigate(wd.file("x.ict__diagnostic.htm"));
    QVERIFY(form.findChild<QTextBrowser*>("MyWebBrowser")->toPlainText().contains(QString::fromUtf8("caf\u00e9")));
  }

  void saveWritesTheShownPageAndPrintUsesThePrintDialog() {
    WorkingFolder wd;
    RecordingDialogs dialogs;
    TestForm form(dialogs, {});
    const QByteArray bytes = "<p>report \xE9 text</p>\n";
    writeBytes(wd.file("r.htm"), bytes);
    form.navigate(wd.file("r.htm"));
    form.findChild<QToolButton*>("btnSave")->click();  // cancelled
    QCOMPARE(dialogs.saveProposals, QStringList{"r.htm"});
    dialogs.saveAnswer = wd.file("saved.htm");
    form.findChild<QToolButton*>("btnSave")->click();
    QCOMPARE(readBytes(wd.file("saved.htm")), bytes);
    form.findChild<QToolButton*>("btnPrint")->click();
    QCOMPARE(dialogs.prints, 1);
    QVERIFY(dialogs.boxes.empty());
  }
};

QTEST_MAIN(BrowserTest)
#include "tform1_browser_test.moc"

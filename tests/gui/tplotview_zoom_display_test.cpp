// The plot window's zoom and display: zoom buttons, animated zoom, axis clicks, mouse drags,
// "Display" of one chart or both, JPEG save, printing, and the XY page's single chart.
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <string>

#include "gui_support.h"
#include "plot/jpeg_codec.h"

using namespace tarvik::guitest;
using tarvik::desktop::ChartAxis;
using tarvik::desktop::PlotChart;

namespace {

// The marker codes of a JPEG file from its start up to the start of the scan (0xDA).
QList<int> markersBeforeScan(const QByteArray& b) {
  QList<int> markers;
  if (b.size() < 2 || uchar(b[0]) != 0xFF || uchar(b[1]) != 0xD8) return markers;
  qsizetype i = 2;
  while (i + 4 <= b.size() && uchar(b[i]) == 0xFF) {
    const int code = uchar(b[i + 1]);
    markers.append(code);
    if (code == 0xDA) break;
    i += 2 + ((uchar(b[i + 2]) << 8) | uchar(b[i + 3]));
  }
  return markers;
}

}  // namespace

class PlotViewZoomDisplayTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- zoom and axis clicks ----

  void zoomButtonsNarrowAndWidenEveryAxis() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100));
    w.button("btnZoomIn")->click();
    QVERIFY2(sameRange(w.chart1()->limits(ChartAxis::Left), 10, 90), rangeText(w.chart1()->limits(ChartAxis::Left)));
    QVERIFY(sameRange(w.chart2()->limits(ChartAxis::Left), 10, 90));
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Bottom), 0.2, 1.8));
    QVERIFY(w.button("btnZoomIn")->isEnabled());
    QVERIFY(w.button("btnZoomOut")->isEnabled());
    w.button("btnZoomOut")->click();
    QVERIFY2(sameRange(w.chart1()->limits(ChartAxis::Left), 2, 98), rangeText(w.chart1()->limits(ChartAxis::Left)));
    QVERIFY(sameRange(w.chart2()->limits(ChartAxis::Left), 2, 98));
    QVERIFY(w.button("btnZoomIn")->isEnabled());

    // Undo Zoom after axis clicks: the five axes are automatic again and follow the data.
    for (PlotChart* c : {w.chart1(), w.chart2()}) {
      for (ChartAxis a : {ChartAxis::Left, ChartAxis::Right, ChartAxis::Top, ChartAxis::Bottom}) {
        w.view.ClickAxis(c, a, Qt::LeftButton);
      }
    }
    const QCPRange top1 = w.chart1()->limits(ChartAxis::Top);
    w.button("btnUndoZoom")->click();
    QVERIFY(w.chart1()->automatic(ChartAxis::Left));
    QVERIFY(w.chart1()->automatic(ChartAxis::Bottom));
    QVERIFY(w.chart2()->automatic(ChartAxis::Left));
    QVERIFY(w.chart2()->automatic(ChartAxis::Right));
    QVERIFY(w.chart2()->automatic(ChartAxis::Bottom));
    QVERIFY(!w.chart1()->automatic(ChartAxis::Right));
    QVERIFY(!w.chart1()->automatic(ChartAxis::Top));
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Top), top1.lower, top1.upper));
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100));
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Bottom), 0, 2));
    QVERIFY(sameRange(w.chart2()->limits(ChartAxis::Left), 0, 100));
  }

  void anAnimatedZoomEndsAtItsTarget() {
    PlotTestWindow w;
    w.view.setZoomAnimationMilliseconds(40);
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    w.button("btnZoomIn")->click();
    QVERIFY(!w.button("btnZoomIn")->isEnabled());
    QVERIFY(!w.button("btnZoomOut")->isEnabled());
    QVERIFY(w.chart1()->zooming());
    QTRY_VERIFY(w.button("btnZoomIn")->isEnabled());
    QVERIFY(w.button("btnZoomOut")->isEnabled());
    QVERIFY(!w.chart1()->zooming() && !w.chart2()->zooming());
    QVERIFY2(sameRange(w.chart1()->limits(ChartAxis::Left), 10, 90), rangeText(w.chart1()->limits(ChartAxis::Left)));
  }

  void undoZoomDuringAnAnimatedZoomEnablesTheButtons() {
    PlotTestWindow w;
    w.view.setZoomAnimationMilliseconds(600000);  // never ends while the test runs
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    w.button("btnZoomOut")->click();
    QVERIFY(w.chart1()->zooming() && w.chart2()->zooming());
    QVERIFY(!w.button("btnZoomIn")->isEnabled());
    w.button("btnUndoZoom")->click();
    QVERIFY(!w.chart1()->zooming() && !w.chart2()->zooming());
    QVERIFY(w.button("btnZoomIn")->isEnabled());
    QVERIFY(w.button("btnZoomOut")->isEnabled());
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100));

    // A new quick chart while both charts zoom stops its own chart's zoom only.
    w.button("btnZoomIn")->click();
    w.pick("VarList1", 1);
    QVERIFY(!w.chart1()->zooming());
    QVERIFY(w.chart2()->zooming());
    QVERIFY(!w.button("btnZoomIn")->isEnabled());
    w.pick("VarList2", 1);
    QVERIFY(w.button("btnZoomIn")->isEnabled());
  }

  void axisClickScalesOneAxis_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("newMin");
    QTest::addColumn<double>("newMax");
    QTest::addColumn<QString>("format");
    QTest::newRow("left button widens") << int(Qt::LeftButton) << 0.0 << 100.0 << -5.0 << 105.0 << "#,##0.###";
    QTest::newRow("right button narrows") << int(Qt::RightButton) << 0.0 << 100.0 << 5.0 << 95.0 << "#,##0.###";
    QTest::newRow("middle button only formats") << int(Qt::MiddleButton) << 0.0 << 0.004 << 0.0 << 0.004
                                                << "0.00E-00";
    QTest::newRow("a small range") << int(Qt::LeftButton) << 0.0 << 0.5 << -0.025 << 0.525 << "#,##0.00";
    QTest::newRow("a large range") << int(Qt::RightButton) << 0.0 << 2e6 << 1e5 << 1.9e6 << "0.00E+00";
  }
  void axisClickScalesOneAxis() {
    QFETCH(int, button);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, newMin);
    QFETCH(double, newMax);
    QFETCH(QString, format);
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {min, max, min}}});
    w.pick("VarList1", 1);
    PlotChart* c = w.chart1();
    QVERIFY(sameRange(c->limits(ChartAxis::Left), min, max));
    const QCPRange bottom = c->limits(ChartAxis::Bottom);
    w.view.ClickAxis(c, ChartAxis::Left, static_cast<Qt::MouseButton>(button));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), newMin, newMax), rangeText(c->limits(ChartAxis::Left)));
    QVERIFY(!c->automatic(ChartAxis::Left));
    QCOMPARE(c->valueFormat(ChartAxis::Left), format);
    QVERIFY(c->automatic(ChartAxis::Bottom));
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), bottom.lower, bottom.upper));
  }

  void aMouseClickOnTheAxisLineScalesIt() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList2", 1);
    QVERIFY(QTest::qWaitForWindowExposed(&w.view));
    PlotChart* c = w.chart2();
    c->replot();
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 100));
    const QRect frame = c->axisRect()->rect();
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(frame.left(), frame.center().y()));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), -5, 105), rangeText(c->limits(ChartAxis::Left)));
    c->replot();
    const QRect frame2 = c->axisRect()->rect();
    QTest::mouseClick(c, Qt::RightButton, Qt::NoModifier, QPoint(frame2.center().x(), frame2.bottom()));
    QVERIFY2(sameRange(c->limits(ChartAxis::Bottom), 0.1, 1.9), rangeText(c->limits(ChartAxis::Bottom)));
    QVERIFY(!c->automatic(ChartAxis::Bottom));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), -5, 105));
  }

  void mouseDragsZoomAndPan() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {kNo2, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}}});
    w.pick("VarList1", 1);
    QVERIFY(QTest::qWaitForWindowExposed(&w.view));
    PlotChart* c = w.chart1();
    c->replot();
    QCPAxis* x = c->axis(ChartAxis::Bottom);
    QCPAxis* y = c->axis(ChartAxis::Left);
    const double xPixel = std::fabs(x->pixelToCoord(1) - x->pixelToCoord(0));
    const double yPixel = std::fabs(y->pixelToCoord(1) - y->pixelToCoord(0));
    // A rectangle dragged with the left button from (2, 80) to (6, 20) becomes the view.
    const QPoint from(qRound(x->coordToPixel(2)), qRound(y->coordToPixel(80)));
    const QPoint to(qRound(x->coordToPixel(6)), qRound(y->coordToPixel(20)));
    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(c, (from + to) / 2);
    QTest::mouseMove(c, to);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, to);
    QCPRange xr = c->limits(ChartAxis::Bottom);
    QCPRange yr = c->limits(ChartAxis::Left);
    QVERIFY2(std::fabs(xr.lower - 2) <= 2 * xPixel && std::fabs(xr.upper - 6) <= 2 * xPixel, rangeText(xr));
    QVERIFY2(std::fabs(yr.lower - 20) <= 2 * yPixel && std::fabs(yr.upper - 80) <= 2 * yPixel, rangeText(yr));
    // A redraw (here by a click on the left axis) keeps the zoomed view of the other axes.
    w.view.ClickAxis(c, ChartAxis::Left, Qt::LeftButton);
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), xr.lower, xr.upper));
    const double h = yr.upper - yr.lower;
    QVERIFY(sameRange(c->limits(ChartAxis::Left), yr.lower - 0.05 * h, yr.upper + 0.05 * h));
    yr = c->limits(ChartAxis::Left);

    // Dragging with the right button pans both ways and keeps the ranges' widths.
    c->replot();
    const QPoint start(qRound(x->coordToPixel(4)), qRound(y->coordToPixel(50)));
    const QPoint end = start + QPoint(40, -30);
    const double dx = x->pixelToCoord(end.x()) - x->pixelToCoord(start.x());
    const double dy = y->pixelToCoord(end.y()) - y->pixelToCoord(start.y());
    QTest::mousePress(c, Qt::RightButton, Qt::NoModifier, start);
    QTest::mouseMove(c, start + QPoint(20, -15));
    QTest::mouseMove(c, end);
    QTest::mouseRelease(c, Qt::RightButton, Qt::NoModifier, end);
    QVERIFY2(sameRange(c->limits(ChartAxis::Bottom), xr.lower - dx, xr.upper - dx), rangeText(c->limits(ChartAxis::Bottom)));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), yr.lower - dy, yr.upper - dy), rangeText(c->limits(ChartAxis::Left)));
    QVERIFY(dx > 0 && dy > 0);

    w.button("btnUndoZoom")->click();
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), 0, 10));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 100));
  }

  // ---- display, save, print ----

  void displayChangesTheLayout_data() {
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("shown");  // "top", "bottom" or "both": what the last step leaves
    QTest::addColumn<QString>("pictured");  // the chart at the top of the last picture
    QTest::newRow("top") << QStringList{"rbPrintTop"} << "top" << "top";
    QTest::newRow("bottom") << QStringList{"rbPrintBottom"} << "bottom" << "bottom";
    QTest::newRow("both") << QStringList{"rbPrintBoth"} << "both" << "top";
    QTest::newRow("top twice") << QStringList{"rbPrintTop", "rbPrintTop"} << "top" << "top";
    QTest::newRow("top, then both") << QStringList{"rbPrintTop", "rbPrintBoth"} << "both" << "top";
    QTest::newRow("bottom, then both") << QStringList{"rbPrintBottom", "rbPrintBoth"} << "both" << "bottom";
    QTest::newRow("top, then bottom") << QStringList{"rbPrintTop", "rbPrintBottom"} << "bottom" << "bottom";
    QTest::newRow("bottom, then top") << QStringList{"rbPrintBottom", "rbPrintTop"} << "top" << "top";
  }
  void displayChangesTheLayout() {
    QFETCH(QStringList, choices);
    QFETCH(QString, shown);
    QFETCH(QString, pictured);
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    // Both back colours differ, so a picture tells which chart it shows.
    w.dialogs.colorAnswer = QColor(0, 200, 0);
    w.get<tarvik::desktop::ColorBox>("colorBG2")->click();
    const int h = w.view.LayoutMemory().topHeight;
    const int bottomTop = w.view.LayoutMemory().bottomTop;
    for (const QString& choice : choices) {
      w.radio(choice.toLatin1().constData())->setChecked(true);
      w.button("btnDisplay")->click();
    }
    PlotChart* top = w.chart1();
    PlotChart* bottom = w.chart2();
    if (shown == "top") {
      QVERIFY(top->isVisible());
      QVERIFY(!bottom->isVisible());
      QCOMPARE(top->geometry(), QRect(0, 0, top->width(), 2 * h));
      QCOMPARE(bottom->y(), bottomTop);
    } else if (shown == "bottom") {
      QVERIFY(!top->isVisible());
      QVERIFY(bottom->isVisible());
      QCOMPARE(bottom->geometry(), QRect(0, 0, bottom->width(), 2 * w.view.LayoutMemory().bottomHeight));
    } else {
      QVERIFY(top->isVisible());
      QVERIFY(bottom->isVisible());
      QCOMPARE(top->geometry(), QRect(0, 0, top->width(), h));
      QCOMPARE(bottom->geometry(), QRect(0, bottomTop, bottom->width(), w.view.LayoutMemory().bottomHeight));
    }
    QCOMPARE(w.get<QWidget>("TopChartBox")->isVisible(), top->isVisible());
    QCOMPARE(w.get<QWidget>("BottomChartBox")->isVisible(), bottom->isVisible());
    const QImage& picture = w.view.lastImage();
    QVERIFY(!picture.isNull());
    const QColor corner = picture.pixelColor(picture.width() - 10, 10);
    QCOMPARE(corner, pictured == "top" ? top->backColor() : bottom->backColor());
  }

  void saveWritesABaselineJpegOfTheShownCharts() {
    QTemporaryDir dir;
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    // A name typed without extension is written as typed.
    const QString path = dir.filePath("charts");
    w.dialogs.saveAnswer = path;
    w.button("btnSaveJpg")->click();
    QCOMPARE(w.dialogs.saveCaptions.last(), QString("Saving image to file ... "));
    QCOMPARE(w.dialogs.saveProposals.last(), QString("X_Y_20190101_R0.ict.jpeg"));
    QVERIFY(w.dialogs.allBoxes.empty());
    const QByteArray bytes = readBytes(path);
    const QList<int> markers = markersBeforeScan(bytes);
    QVERIFY(markers.contains(0xC0));
    QVERIFY(!markers.contains(0xC2));
    QCOMPARE(markers.last(), 0xDA);
    tarvik::RgbImage decoded;
    std::string error;
    QVERIFY2(tarvik::ReadJpegFile(QFile::encodeName(path).toStdString(), decoded, error), error.c_str());
    const QImage& shown = w.view.lastImage();
    QCOMPARE(decoded.width, shown.width());
    QCOMPARE(decoded.height, shown.height());
    QCOMPARE(shown.size(), QSize(w.chart1()->width(), w.chart1()->height() + w.chart2()->height()));
    QCOMPARE(w.view.saveDialogFileName(), path);

    // "Display" with "Top Chart", then "Save (.jpg)": the top chart at double height.
    w.radio("rbPrintTop")->setChecked(true);
    w.button("btnDisplay")->click();
    const QString top = dir.filePath("top.jpeg");
    w.dialogs.saveAnswer = top;
    w.button("btnSaveJpg")->click();
    QCOMPARE(w.dialogs.saveProposals.last(), path);
    QVERIFY2(tarvik::ReadJpegFile(QFile::encodeName(top).toStdString(), decoded, error), error.c_str());
    QCOMPARE(decoded.width, w.chart1()->width());
    QCOMPARE(decoded.height, 2 * w.view.LayoutMemory().topHeight);
    QCOMPARE(w.view.lastImage().height(), 2 * w.view.LayoutMemory().topHeight);

    // A file that cannot be written: the standard error box.
    w.dialogs.saveAnswer = dir.filePath("missing/top.jpeg");
    w.button("btnSaveJpg")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.view.saveDialogFileName(), top);
    if (QFile::exists("/dev/full")) {
      w.dialogs.saveAnswer = "/dev/full";
      w.button("btnSaveJpg")->click();
      QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
      QCOMPARE(w.dialogs.allBoxes[1].kind, 'E');
      QCOMPARE(w.view.saveDialogFileName(), top);
    }
  }

  void printWritesAPdf() {
    QTemporaryDir dir;
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 100, 50}}});
    w.pick("VarList1", 1);
    // Cancelled: nothing printed, nothing shown.
    w.button("btnPrint")->click();
    QCOMPARE(w.dialogs.printerSetUps, 1);
    QVERIFY(w.dialogs.allBoxes.empty());
    const QString pdf = dir.filePath("charts.pdf");
    w.dialogs.printTo = pdf;
    w.button("btnPrint")->click();
    QCOMPARE(w.dialogs.printerSetUps, 2);
    QVERIFY(w.dialogs.allBoxes.empty());
    QVERIFY(QFile::exists(pdf));
    const QByteArray bytes = readBytes(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    // The page is printed in landscape.
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(QString::fromLatin1(bytes));
    QVERIFY(box.hasMatch());
    QVERIFY2(box.captured(1).toDouble() > box.captured(2).toDouble(), qPrintable(box.captured(0)));
  }

  void theXYPageShowsTheTopChartAlone() {
    PlotTestWindow w;
    w.fill(xyFile());
    auto* pages = w.get<QTabWidget>("PageControl1");
    const int extraction = pages->indexOf(w.get<QWidget>("TabDataExtraction"));
    pages->setCurrentIndex(extraction);
    QVERIFY(w.chart2()->isVisible());
    QVERIFY(w.radio("rbPrintBoth")->isChecked());

    pages->setCurrentWidget(w.get<QWidget>("TabXYPlotting"));
    QVERIFY(w.radio("rbPrintTop")->isChecked());
    QVERIFY(!w.chart2()->isVisible());
    QVERIFY(w.chart1()->isVisible());
    QCOMPARE(w.chart1()->height(), 2 * w.view.LayoutMemory().topHeight);

    pages->setCurrentWidget(w.get<QWidget>("TabFastPlotting"));
    QVERIFY(!w.chart2()->isVisible());
    w.radio("rbPrintBoth")->setChecked(true);
    w.button("btnDisplay")->click();
    QVERIFY(w.chart1()->isVisible());
    QVERIFY(w.chart2()->isVisible());
    QCOMPARE(w.chart1()->height(), w.view.LayoutMemory().topHeight);
    QCOMPARE(w.chart2()->y(), w.view.LayoutMemory().bottomTop);
  }
};

QTEST_MAIN(PlotViewZoomDisplayTest)
#include "tplotview_zoom_display_test.moc"

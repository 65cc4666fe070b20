// The plot window's options: hand-set axis limits of the XY and the bottom-chart scale panels
// with their errors and the user's decimal comma, colours, background pictures, grids and the
// option and help panels.
#include <QFrame>
#include <QImage>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "gui_support.h"
#include "plot/jpeg_codec.h"

using namespace tarvik::guitest;
using tarvik::desktop::ChartAxis;
using tarvik::desktop::PlotChart;

class PlotViewOptionsTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- hand-set axis limits ----

  void xyScaleEditsAndTheirErrors() {
    PlotTestWindow w;
    w.fill(xyFile());
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnPlotXY")->click();
    PlotChart* c = w.chart1();
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), 1, 4));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 2, 8));
    w.button("btnO")->click();
    QVERIFY(w.get<QFrame>("pnlOptions")->isVisible());
    QVERIFY(w.get<QFrame>("pnlXYScale")->isVisible());
    QVERIFY(!w.edit("TXmin")->isEnabled());
    QVERIFY(!w.button("btnRePlotXY")->isEnabled());

    w.tick("chkAutoXY", false);
    QVERIFY(w.edit("TXmin")->isEnabled());
    QVERIFY(w.button("btnRePlotXY")->isEnabled());
    QCOMPARE(w.edit("TXmin")->text(), QString("1.000"));
    QCOMPARE(w.edit("TXmax")->text(), QString("4.000"));
    QCOMPARE(w.edit("TYmin")->text(), QString("2.000"));
    QCOMPARE(w.edit("TYmax")->text(), QString("8.000"));
    QVERIFY(!c->automatic(ChartAxis::Bottom));
    QVERIFY(!c->automatic(ChartAxis::Left));

    // X min = max: the box, and neither axis is touched.
    w.edit("TXmin")->setText("5");
    w.edit("TXmax")->setText("5");
    w.edit("TYmin")->setText("0");
    w.edit("TYmax")->setText("0.005");
    w.button("btnRePlotXY")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("X-Scale Error..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("X-Axis: Min value must be less than Max value"));
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), 1, 4));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 2, 8));

    // Valid limits are taken, each axis with the format its limits pick.
    w.edit("TXmin")->setText("0");
    w.edit("TXmax")->setText("10");
    w.button("btnRePlotXY")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), 0, 10));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 0.005));
    QCOMPARE(c->valueFormat(ChartAxis::Bottom), QString("#,##0.###"));
    QCOMPARE(c->valueFormat(ChartAxis::Left), QString("0.00E-00"));

    // Y min > max: the X axis is updated before the Y box.
    w.edit("TXmin")->setText("-2");
    w.edit("TYmin")->setText("3");
    w.edit("TYmax")->setText("1");
    w.button("btnRePlotXY")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].caption, QString("Y-Scale Error..."));
    QCOMPARE(w.dialogs.allBoxes[1].text, QString("Y-Axis: Min value must be less than Max value"));
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), -2, 10));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 0.005));

    // A text that is no number: the standard conversion box names it.
    w.edit("TXmax")->setText("ten");
    w.button("btnRePlotXY")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{3});
    QCOMPARE(w.dialogs.allBoxes[2].kind, 'E');
    QVERIFY(w.dialogs.allBoxes[2].text.contains("'ten'"));
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), -2, 10));

    // Ticked again: automatic scaling and "Auto" in all four edits.
    w.tick("chkAutoXY", true);
    for (const char* e : {"TXmin", "TXmax", "TYmin", "TYmax"}) {
      QCOMPARE(w.edit(e)->text(), QString("Auto"));
      QVERIFY(!w.edit(e)->isEnabled());
    }
    QVERIFY(c->automatic(ChartAxis::Bottom));
    QVERIFY(sameRange(c->limits(ChartAxis::Bottom), 1, 4));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 2, 8));
  }

  void bottomScaleEditsAndTheirErrors() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 12.5, 5}}});
    w.pick("VarList2", 1);
    PlotChart* c = w.chart2();
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 12.5));
    QVERIFY(!w.edit("TYBmin")->isEnabled());
    QVERIFY(!w.button("btnRePlotYB")->isEnabled());

    w.tick("cbAutoScaleYB", false);
    QCOMPARE(w.edit("TYBmin")->text(), QString("0.00"));
    QCOMPARE(w.edit("TYBmax")->text(), QString("12.50"));
    QVERIFY(w.edit("TYBmin")->isEnabled());
    QVERIFY(w.button("btnRePlotYB")->isEnabled());
    QVERIFY(!c->automatic(ChartAxis::Left));

    w.edit("TYBmin")->setText("10");
    w.edit("TYBmax")->setText("10");
    w.button("btnRePlotYB")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Y-Scale Error..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("Y-Axis: Min value must be less than Max value"));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 12.5));

    w.edit("TYBmin")->setText("0.5");
    w.edit("TYBmax")->setText("1");
    w.button("btnRePlotYB")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0.5, 1));
    QCOMPARE(c->valueFormat(ChartAxis::Left), QString("#,##0.00"));

    // Ticked again, the working axis follows the data; drawing ticks the box itself.
    w.tick("cbAutoScaleYB", true);
    QCOMPARE(w.edit("TYBmin")->text(), QString("Auto"));
    QCOMPARE(w.edit("TYBmax")->text(), QString("Auto"));
    QVERIFY(c->automatic(ChartAxis::Left));
    QVERIFY(sameRange(c->limits(ChartAxis::Left), 0, 12.5));
    w.tick("cbAutoScaleYB", false);
    w.pick("VarList2", 1);
    QVERIFY(w.box("cbAutoScaleYB")->isChecked());
    QVERIFY(!w.edit("TYBmin")->isEnabled());
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
  }

  void scaleEditsReadTheUsersDecimalComma() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 12.5, 5}}});
    w.pick("VarList2", 1);
    w.tick("cbAutoScaleYB", false);
    // The window's own numbers are written with a point and read back as they are.
    QCOMPARE(w.edit("TYBmax")->text(), QString("12.50"));
    w.button("btnRePlotYB")->click();
    QVERIFY(w.dialogs.allBoxes.empty());
    QVERIFY2(sameRange(w.chart2()->limits(ChartAxis::Left), 0, 12.5), rangeText(w.chart2()->limits(ChartAxis::Left)));
    // Typed with the user's decimal comma, also with three decimals.
    w.edit("TYBmin")->setText("0,125");
    w.edit("TYBmax")->setText("1,500");
    w.button("btnRePlotYB")->click();
    QVERIFY(w.dialogs.allBoxes.empty());
    QVERIFY2(sameRange(w.chart2()->limits(ChartAxis::Left), 0.125, 1.5), rangeText(w.chart2()->limits(ChartAxis::Left)));
    w.edit("TYBmin")->setText("-2,5");
    w.edit("TYBmax")->setText("1.5");
    w.button("btnRePlotYB")->click();
    QVERIFY2(sameRange(w.chart2()->limits(ChartAxis::Left), -2.5, 1.5), rangeText(w.chart2()->limits(ChartAxis::Left)));
    // A text with a thousands separator is no number the window writes or the user means here.
    w.edit("TYBmax")->setText("1.500,5");
    w.button("btnRePlotYB")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
  }

  // ---- colours and pictures ----

  void colourOfTheBottomChartFollowsTheWorkingSide() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {1, 2, 3}}, {kO3, {3, 2, 1}}});
    w.pick("VarList2", 1);
    w.radio("rbRightB")->click();
    w.pick("VarList2", 2);
    PlotChart* c = w.chart2();
    const QColor green(0, 160, 0);
    w.dialogs.colorAnswer = green;
    w.get<tarvik::desktop::ColorBox>("colorChart2")->click();
    QCOMPARE(w.dialogs.colorRequests, 1);
    QCOMPARE(w.series4()->pen().color(), green);
    QCOMPARE(c->axis(ChartAxis::Right)->labelColor(), green);
    QCOMPARE(w.series2()->pen().color(), QColor(Qt::blue));
    QCOMPARE(c->axis(ChartAxis::Left)->labelColor(), QColor(Qt::blue));
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChart2")->color(), green);
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChartXY2")->color(), green);
    for (const char* l : {"lblPlotColor2", "lblBkGround2", "lblPlotColorXY2", "lblBkGroundXY2", "tSTAT2"}) {
      QVERIFY2(textColor(w.get<QLabel>(l)) == green, l);
    }
    // Back to the left side the boxes show the left line's colour.
    w.radio("rbLeftB")->click();
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChart2")->color(), QColor(Qt::blue));
    w.radio("rbRightB")->click();
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChart2")->color(), green);
  }

  void colourDialogsChangeTheirChartOrNothing() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {1, 2, 3}}});
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    using tarvik::desktop::ColorBox;
    // A cancelled dialog changes nothing, whichever box opened it.
    for (const char* name :
         {"colorChart1", "colorBG1", "colorChart2", "colorBG2", "colorChartXY", "colorChartXYbg2"}) {
      w.dialogs.colorAnswer = QColor();
      const QColor before = w.get<ColorBox>(name)->color();
      w.get<ColorBox>(name)->click();
      QCOMPARE(w.series1()->scatterStyle().brush().color(), QColor(Qt::red));
      QCOMPARE(w.series2()->pen().color(), QColor(Qt::blue));
      QCOMPARE(w.chart1()->backColor(), QColor(0xd3, 0xd3, 0xd3));
      QCOMPARE(w.chart2()->backColor(), QColor(0xd3, 0xd3, 0xd3));
      QCOMPARE(w.chart2()->axis(ChartAxis::Left)->labelColor(), QColor(Qt::blue));
      QCOMPARE(textColor(w.get<QLabel>("tSTAT1")), QColor(Qt::black));
      QVERIFY2(w.get<ColorBox>(name)->color() == before, name);
    }
    QCOMPARE(w.dialogs.colorRequests, 6);

    const QColor c(10, 20, 200);
    w.dialogs.colorAnswer = c;
    w.get<ColorBox>("colorChartXY")->click();  // the options panel's box of the top chart
    QCOMPARE(w.series1()->scatterStyle().brush().color(), c);
    QCOMPARE(w.get<ColorBox>("colorChart1")->color(), c);
    QCOMPARE(textColor(w.get<QLabel>("tSTAT1")), c);
    // A redraw keeps the markers' colour but returns the statistics line to black.
    w.pick("VarList1", 1);
    QCOMPARE(w.series1()->scatterStyle().brush().color(), c);
    QCOMPARE(textColor(w.get<QLabel>("tSTAT1")), QColor(Qt::black));

    w.get<ColorBox>("colorBG1")->click();
    QCOMPARE(w.chart1()->backColor(), c);
    QCOMPARE(w.get<ColorBox>("colorChartXYbg")->color(), c);
    QCOMPARE(w.chart2()->backColor(), QColor(0xd3, 0xd3, 0xd3));
    w.get<ColorBox>("colorBG2")->click();
    QCOMPARE(w.chart2()->backColor(), c);
    QCOMPARE(w.get<ColorBox>("colorChartXYbg2")->color(), c);
  }

  void backPictureIsLoadedAndRemovedByTheBackColour() {
    QTemporaryDir dir;
    PlotTestWindow w;
    tarvik::RgbImage rgb;
    rgb.width = 4;
    rgb.height = 3;
    rgb.rgb.assign(4 * 3 * 3, 200);
    std::string error;
    const QString jpeg = dir.filePath("back.jpeg");
    QVERIFY(tarvik::WriteJpegFile(jpeg.toStdString(), rgb, error));
    w.dialogs.openAnswer = jpeg;
    w.button("btnBkPix")->click();
    QCOMPARE(w.dialogs.openCaptions.last(), QString("Load background image (*.bmp or *.jpeg only)"));
    QVERIFY(w.chart1()->hasBackImage());
    QVERIFY(!w.chart2()->hasBackImage());

    const QString bmp = dir.filePath("back.bmp");
    QImage small(5, 5, QImage::Format_RGB32);
    small.fill(Qt::cyan);
    QVERIFY(small.save(bmp, "BMP"));
    w.dialogs.openAnswer = bmp;
    w.button("btnBkPix2")->click();
    QVERIFY(w.chart2()->hasBackImage());

    // A file that is no picture: the standard error box, the picture stays.
    const QString text = dir.filePath("note.txt");
    writeBytes(text, "not a picture");
    w.dialogs.openAnswer = text;
    w.button("btnBkPix2")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QVERIFY(w.chart2()->hasBackImage());

    // The options panel's back-colour box removes the picture, even when its dialog is cancelled.
    w.dialogs.colorAnswer = QColor();
    w.button("colorChartXYbg")->click();
    QVERIFY(!w.chart1()->hasBackImage());
    QVERIFY(w.chart2()->hasBackImage());
    w.dialogs.colorAnswer = QColor(Qt::white);
    w.button("colorChartXYbg2")->click();
    QVERIFY(!w.chart2()->hasBackImage());
    QCOMPARE(w.chart2()->backColor(), QColor(Qt::white));
  }

  void gridAndPanelButtons() {
    PlotTestWindow w;
    QVERIFY(w.chart1()->gridVisible(ChartAxis::Bottom));
    w.tick("chkGridX", true);
    QVERIFY(!w.chart1()->gridVisible(ChartAxis::Bottom));
    w.tick("chkGridY2", true);
    QVERIFY(!w.chart2()->gridVisible(ChartAxis::Left));
    QVERIFY(w.chart1()->gridVisible(ChartAxis::Left));
    w.tick("chkGridX", false);
    QVERIFY(w.chart1()->gridVisible(ChartAxis::Bottom));

    auto* options = w.get<QFrame>("pnlOptions");
    auto* scale = w.get<QFrame>("pnlXYScale");
    auto* options2 = w.get<QFrame>("pnlOptions2");
    auto* help = w.get<QFrame>("helpPanel");
    QVERIFY(!options->isVisible() && !options2->isVisible() && !help->isVisible());
    w.button("btnO")->click();
    QVERIFY(options->isVisible() && scale->isVisible());
    w.button("btnOp")->click();
    QVERIFY(options->isVisible() && !scale->isVisible());
    w.button("btnX")->click();
    QVERIFY(!options->isVisible());
    w.button("btnOp2")->click();
    QVERIFY(options2->isVisible());
    w.button("btnX2")->click();
    QVERIFY(!options2->isVisible());
    w.button("btnHelpOpen")->click();
    QVERIFY(help->isVisible());
    w.button("btnHelpClose")->click();
    QVERIFY(!help->isVisible());
  }
};

QTEST_MAIN(PlotViewOptionsTest)
#include "tplotview_options_test.moc"

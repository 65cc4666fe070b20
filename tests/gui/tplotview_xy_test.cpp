// The plot window's XY page: the plot, the correlation and linear fit with its memo and line,
// flagged pairs, failed fits, hiding the fitted line, and hh:mm labels.
#include <QtTest>
#include <string>
#include <vector>

#include "gui_support.h"

using namespace tarvik::guitest;
using tarvik::desktop::PlotChart;

namespace {

const QStringList kFitHead = {"  Z( i ) = Slope * X ( i ) + Y-Intercept",
                              "  MSE = 1/N * ( SUM  | Z( i ) - Y( i ) |^2 )",
                              "  i=0 to N-1; (N = Number of Samples)",
                              "==================================",
                              " ****** Linear Curve Fitting ******",
                              "=================================="};

}  // namespace

class PlotViewXYTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- XY page ----

  void xyFitLeavesFlaggedPairsOut() {
    PlotTestWindow w;
    w.fill(xyFile());
    QVERIFY(!w.box("chkHideZ")->isEnabled());
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnCompute")->click();
    QVERIFY(w.dialogs.allBoxes.empty());
    // The fifth pair holds a flag in Y and is neither plotted nor fitted.
    QCOMPARE(keysOf(w.series1()), (QVector<double>{1, 2, 3, 4}));
    QCOMPARE(valuesOf(w.series1()), (QVector<double>{2, 4, 6, 8}));
    QCOMPARE(keysOf(w.series3()), (QVector<double>{1, 2, 3, 4}));
    QCOMPARE(valuesOf(w.series3()), (QVector<double>{2, 4, 6, 8}));
    const QStringList fit = {"Correlation Coeff = 1.0000", "Slope = 2.0000", "Y-intercept = 0.0000",
                             "MeanSquaredError (MSE) = 0.0000"};
    QCOMPARE(w.memo(), kFitHead + fit);
    QCOMPARE(w.chart1()->titleLines(), QStringList{"Y (Y, m, height) VS. X (X, m, distance)"});
    QCOMPARE(w.chart1()->footText(), QString("X, m, distance"));
    QVERIFY(w.box("chkHideZ")->isEnabled());
    QVERIFY(w.box("cbLogChart1")->isEnabled());

    // A falling line W = 4 - X over all five records: W has no flag.
    w.list("YList")->setCurrentIndex(4);
    w.button("btnCompute")->click();
    QCOMPARE(w.memo().mid(6), (QStringList{"Correlation Coeff = -1.0000", "Slope = -1.0000",
                                           "Y-intercept = 4.0000", "MeanSquaredError (MSE) = 0.0000"}));
    QCOMPARE(w.series3()->dataCount(), 5);
  }

  void aFailedFitKeepsMemoAndLine() {
    PlotTestWindow w;
    w.fill(xyFile());
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnCompute")->click();
    const QStringList memo = w.memo();
    const QVector<double> line = valuesOf(w.series3());
    QCOMPARE(line.size(), 4);

    // All X equal: no line can be fitted.
    w.list("XList")->setCurrentIndex(3);
    w.button("btnCompute")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    const auto& b = w.dialogs.allBoxes[0];
    QCOMPARE(b.kind, 'E');
    QCOMPARE(b.caption, QString("Application Error ..."));
    QVERIFY2(b.text.startsWith("xyCorrelate Lib::"), qPrintable(b.text));
    QVERIFY2(b.text.endsWith(kFitFailureTail), qPrintable(b.text));
    QVERIFY(b.text.size() > kFitFailureTail.size() + 17);
    QCOMPARE(w.memo(), memo);
    QCOMPARE(valuesOf(w.series3()), line);
    // The points of the new pair are drawn.
    QCOMPARE(keysOf(w.series1()), (QVector<double>{5, 5, 5, 5}));
  }

  void plotXYAfterAFitKeepsTheLineAndMemo() {
    PlotTestWindow w;
    w.fill(xyFile());
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnCompute")->click();
    const QStringList memo = w.memo();
    const QVector<double> line = valuesOf(w.series3());
    w.list("YList")->setCurrentIndex(4);
    w.button("btnPlotXY")->click();
    QCOMPARE(valuesOf(w.series1()), (QVector<double>{3, 2, 1, 0, -1}));
    QCOMPARE(valuesOf(w.series3()), line);
    QCOMPARE(w.memo(), memo);
    QCOMPARE(w.chart1()->titleLines(), QStringList{"Y (W, m, falling) VS. X (X, m, distance)"});
    QVERIFY(w.dialogs.allBoxes.empty());

    // A quick chart of the top chart clears both.
    w.pick("VarList1", 1);
    QCOMPARE(w.series3()->dataCount(), 0);
  }

  void hideZHidesTheFittedLineAcrossFits() {
    PlotTestWindow w;
    w.fill(xyFile());
    QVERIFY(!w.box("chkHideZ")->isEnabled());
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnPlotXY")->click();
    QVERIFY(!w.box("chkHideZ")->isEnabled());
    w.button("btnCompute")->click();
    QVERIFY(w.box("chkHideZ")->isEnabled());
    QVERIFY(w.series3()->visible());
    w.tick("chkHideZ", true);
    QVERIFY(!w.series3()->visible());
    w.list("YList")->setCurrentIndex(4);
    w.button("btnCompute")->click();
    QCOMPARE(w.series3()->dataCount(), 5);
    QVERIFY(!w.series3()->visible());
    QVERIFY(w.box("chkHideZ")->isChecked());
    w.tick("chkHideZ", false);
    QVERIFY(w.series3()->visible());
  }

  void hourMinuteLabelsOnTheXAxis() {
    PlotTestWindow w;
    w.fill({{kTime, {45000, 90000, 45059}}, {kNo2, {1, 2, 3}}});
    w.list("XList")->setCurrentIndex(0);
    w.list("YList")->setCurrentIndex(1);
    w.button("btnPlotXY")->click();
    PlotChart* c = w.chart1();
    QCOMPARE(c->bottomLabelSpacing(), 20);
    QCOMPARE(c->bottomLabelAt(45000), QString("45000"));
    // Ticking the box replots as "Plot XY".
    w.tick("cbHM", true);
    QCOMPARE(c->bottomLabelAt(45000), QString("12:30"));
    QCOMPARE(c->bottomLabelAt(45059), QString("12:30"));
    QCOMPARE(c->bottomLabelAt(90000), QString("25:00"));
    QCOMPARE(c->bottomLabelSpacing(), 50);
    QCOMPARE(w.series1()->dataCount(), 3);
    QVERIFY(w.memo().isEmpty());
    w.tick("cbHM", false);
    QCOMPARE(c->bottomLabelAt(45000), QString("45000"));
    QCOMPARE(c->bottomLabelSpacing(), 20);
  }
};

QTEST_MAIN(PlotViewXYTest)
#include "tplotview_xy_test.moc"

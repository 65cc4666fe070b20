// The plot window and its store, and the quick charts: filling and freeing, an empty store, the
// top chart's points and the bottom chart's two Y axes with their memory, statistics lines,
// log-scale refusals, columns the store does not hold, a file without records, a million records.
#include <QLabel>
#include <QListWidget>
#include <QtTest>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gui_support.h"

using namespace tarvik::guitest;
using tarvik::desktop::ChartAxis;
using tarvik::desktop::PlotChart;
using tarvik::desktop::TPlotView;

namespace {

const QString kTopLogError =
    "Top Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched Axis mode to "
    "Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check \"Log Scale\" button.";
const QString kBottomLogError =
    "Bottom Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched Axis mode to "
    "Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check \"Log Scale\" button";

}  // namespace

class PlotViewChartsTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- the window and its store ----

  void initShowsTheFileInCaptionAndCornerLabels() {
    PlotTestWindow w;
    QCOMPARE(w.view.windowTitle(), QString("Fast Plot View . . ."));
    w.fill(flaggedOzone());
    QCOMPARE(w.view.windowTitle(), QString("Fast Plot View : X_Y_20190101_R0.ict ..."));
    QCOMPARE(w.get<QLabel>("Fn1Label")->text(), QString("Ostrel Project Office --X_Y_20190101_R0.ict"));
    QCOMPARE(w.get<QLabel>("Fn2Label")->text(), QString("Ostrel Project Office --X_Y_20190101_R0.ict"));
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));
    // Each list holds the definition lines without their terminator; the drop-downs show column 0,
    // the extraction list has its focus mark there but nothing selected.
    for (const char* name : {"VarList1", "VarList2", "XList", "YList"}) {
      QComboBox* l = w.list(name);
      QCOMPARE(l->count(), 3);
      QCOMPARE(l->itemText(0), item(kTime));
      QCOMPARE(l->itemText(2), QString("O3, ppbv, ozone"));
      QCOMPARE(l->currentIndex(), 0);
    }
    auto* z = w.get<QListWidget>("ZList");
    QCOMPARE(z->count(), 3);
    QCOMPARE(z->currentRow(), 0);
    QVERIFY(z->selectedItems().isEmpty());
    QCOMPARE(w.store.RecordCount(), int64_t{4});
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void closeHidesTheWindowAndKeepsTheData() {
    PlotTestWindow w;
    w.fill(flaggedOzone());
    w.pick("VarList1", 2);
    w.button("ChartClose")->click();
    QVERIFY(!w.view.isVisible());
    QVERIFY(!w.store.IsEmpty());
    QCOMPARE(w.series1()->dataCount(), 4);
  }

  void freePlotDataEmptiesListsSeriesAndTitles() {
    PlotTestWindow w;
    w.fill(xyFile());
    w.pick("VarList1", 1);
    w.pick("VarList2", 1);
    w.list("XList")->setCurrentIndex(1);
    w.list("YList")->setCurrentIndex(2);
    w.button("btnCompute")->click();
    QVERIFY(w.series3()->dataCount() > 0);
    QVERIFY(w.box("cbLogChart1")->isEnabled());
    QVERIFY(w.box("cbLogChart2")->isEnabled());

    w.view.FreePlotData();
    QVERIFY(w.store.IsEmpty());
    for (const char* name : {"VarList1", "VarList2", "XList", "YList"}) QCOMPARE(w.list(name)->count(), 0);
    QCOMPARE(w.get<QListWidget>("ZList")->count(), 0);
    QCOMPARE(w.series1()->dataCount(), 0);
    QCOMPARE(w.series2()->dataCount(), 0);
    QCOMPARE(w.series4()->dataCount(), 0);
    QVERIFY(w.chart1()->titleLines().isEmpty());
    QVERIFY(w.chart2()->titleLines().isEmpty());
    QVERIFY(!w.box("cbLogChart1")->isEnabled());
    QVERIFY(!w.box("cbLogChart2")->isEnabled());
    // A new scan does not clear the fitted line.
    QCOMPARE(w.series3()->dataCount(), 4);

    // The next scan fills the lists afresh instead of appending.
    w.fill(flaggedOzone());
    QCOMPARE(w.list("VarList1")->count(), 3);
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void anEmptyStoreIsNeverRead() {
    // The lists are filled, but no InitPlotData succeeded: the store holds no arrays.
    PlotTestWindow w;
    for (const std::string& d : {kTime, kNo2, kO3}) w.view.AddPlotVariable(d);
    QCOMPARE(w.list("VarList1")->count(), 3);
    QCOMPARE(w.view.windowTitle(), QString("Fast Plot View . . ."));

    w.pick("VarList1", 2);
    w.pick("VarList2", 1);
    w.view.VarListChange(w.box("cbNoFlagChart1"));
    QVERIFY(w.dialogs.allBoxes.empty());
    QCOMPARE(w.series1()->dataCount(), 0);
    QCOMPARE(w.series2()->dataCount(), 0);
    QCOMPARE(w.chart1()->titleLines(), QStringList{"Quick Chart"});

    for (const char* name : {"btnPlotXY", "btnCompute"}) {
      w.dialogs.allBoxes.clear();
      w.button(name)->click();
      QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
      QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
      QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Error..."));
      QCOMPARE(w.dialogs.allBoxes[0].text, kReadError);
      QCOMPARE(w.series1()->dataCount(), 0);
      QVERIFY(w.memo().isEmpty());
    }

    w.dialogs.allBoxes.clear();
    w.get<QListWidget>("ZList")->item(1)->setSelected(true);
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Error..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, kReadError);
    QVERIFY(w.dialogs.saveProposals.isEmpty());
  }

  void aStoreThatCannotBeAllocatedShowsTheMemoryError() {
    PlotTestWindow w;
    w.view.InitPlotData(std::numeric_limits<int64_t>::max(), 3, kFile);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Memory Error ..."));
    QCOMPARE(w.dialogs.allBoxes[0].text,
             QString("System Error:\n\nCouldn't allocate memory ZArray[var_0] for Fast Plotting."));
    QVERIFY(w.store.IsEmpty());
    QCOMPARE(w.view.windowTitle(), QString("Fast Plot View . . ."));
  }

  // ---- quick charts ----

  void quickChartShowsFlagsOrLeavesGaps() {
    PlotTestWindow w;
    w.fill(flaggedOzone());
    const QString stats =
        "O3 >> Real_Min=10.00; Min=-9999.00; Q5%=-9999.00; Q25%=-9999.00; Median=10.00; Q75%=20.00; Q95%=20.00; "
        "Max=20.00;  {Q = Percentile} ";
    QVERIFY(!w.box("cbLogChart1")->isEnabled());
    w.pick("VarList1", 2);
    PlotChart* c = w.chart1();
    // Flags are drawn like values; the left axis follows all of them.
    QCOMPARE(valuesOf(w.series1()), (QVector<double>{10, 20, kFlag, kFlag}));
    QCOMPARE(keysOf(w.series1()), (QVector<double>{0, 1, 2, 3}));
    QVERIFY(c->automatic(ChartAxis::Left));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), kFlag, 20), rangeText(c->limits(ChartAxis::Left)));
    QCOMPARE(c->valueFormat(ChartAxis::Left), QString("#,##0.###"));
    QCOMPARE(c->titleLines(), QStringList{"O3, ppbv, ozone"});
    QCOMPARE(c->footText(), item(kTime));
    QCOMPARE(c->bottomLabelSpacing(), 20);
    QCOMPARE(c->bottomLabelAt(1), QString("43201"));
    QVERIFY(c->axisVisible(ChartAxis::Left));
    QVERIFY(w.box("cbLogChart1")->isEnabled());
    QCOMPARE(w.stats1(), stats);
    QCOMPARE(textColor(w.get<QLabel>("tSTAT1")), QColor(Qt::black));

    // Ticking the box redraws the chart: the flags become gaps and the axis is fixed around the
    // real values.
    w.tick("cbNoFlagChart1", true);
    const QVector<double> v = valuesOf(w.series1());
    QCOMPARE(v.size(), 4);
    QCOMPARE(v[0], 10.0);
    QCOMPARE(v[1], 20.0);
    QVERIFY(std::isnan(v[2]) && std::isnan(v[3]));
    QVERIFY(!c->automatic(ChartAxis::Left));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), 9.9, 20.2), rangeText(c->limits(ChartAxis::Left)));
    // The percentiles keep counting the flags.
    QCOMPARE(w.stats1(), stats);
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void quickChartFormatsFollowTheColumnsRange() {
    struct Case {
      const char* why;
      std::vector<double> values;
      QString axisFormat;
      QString stats;
    };
    const std::vector<Case> cases = {
        {"a range below 1 writes the statistics in E notation",
         {0.5, 1.2},
         "#,##0.###",
         "V >> Real_Min=5.00E-01; Min=5.00E-01; Q5%=5.00E-01; Q25%=5.00E-01; Median=1.20E+00; Q75%=1.20E+00; "
         "Q95%=1.20E+00; Max=1.20E+00;  {Q = Percentile} "},
        {"a maximum above a million switches the axis too",
         {1, 2000000},
         "0.00E+00",
         "V >> Real_Min=1.00E+00; Min=1.00E+00; Q5%=1.00E+00; Q25%=1.00E+00; Median=2.00E+06; Q75%=2.00E+06; "
         "Q95%=2.00E+06; Max=2.00E+06;  {Q = Percentile} "},
        {"one record gives every percentile its value",
         {3.25},
         "#,##0.###",
         "V >> Real_Min=3.25E+00; Min=3.25E+00; Q5%=3.25E+00; Q25%=3.25E+00; Median=3.25E+00; Q75%=3.25E+00; "
         "Q95%=3.25E+00; Max=3.25E+00;  {Q = Percentile} "},
        {"ten values in order",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         "#,##0.###",
         "V >> Real_Min=1.00; Min=1.00; Q5%=1.00; Q25%=3.00; Median=6.00; Q75%=8.00; Q95%=10.00; Max=10.00;  {Q = "
         "Percentile} "},
    };
    for (const Case& k : cases) {
      PlotTestWindow w;
      std::vector<double> time;
      for (size_t i = 0; i < k.values.size(); ++i) time.push_back(static_cast<double>(i));
      w.fill({{kTime, time}, {"V, unit, a value\n", k.values}});
      w.pick("VarList1", 1);
      w.pick("VarList2", 1);
      QVERIFY2(w.chart1()->valueFormat(ChartAxis::Left) == k.axisFormat, k.why);
      QVERIFY2(w.chart2()->valueFormat(ChartAxis::Left) == k.axisFormat, k.why);
      QVERIFY2(w.stats1() == k.stats, qPrintable(QString(k.why) + ": " + w.stats1()));
      QVERIFY2(w.stats2() == k.stats, k.why);
    }
  }

  void reselectingTheItemUndoesZoomAndScaling() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 50, 100}}});
    w.pick("VarList1", 1);
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100));
    w.button("btnZoomIn")->click();
    w.view.ClickAxis(w.chart1(), ChartAxis::Left, Qt::LeftButton);
    QVERIFY(!sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100));
    w.pick("VarList1", 1);
    QVERIFY(w.chart1()->automatic(ChartAxis::Left));
    QVERIFY2(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 100), rangeText(w.chart1()->limits(ChartAxis::Left)));
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Bottom), 0, 2));
  }

  void bottomChartDrawsOneVariablePerAxis() {
    // A's item has exactly 32 characters and is shown whole; B's has 40 and is cut to 32 + "...".
    const std::string a32 = "A_ppbv, ppbv, twenty-two chars!!\n";
    const std::string b40 = "B_ppbv, ppbv, a text of thirty-two chars\n";
    QCOMPARE(item(a32).size(), 32);
    QCOMPARE(item(b40).size(), 40);
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {a32, {1, 2, 3}}, {b40, {30, 10, 20}}});
    PlotChart* c = w.chart2();
    QVERIFY(!c->axisVisible(ChartAxis::Left));
    QVERIFY(!c->axisVisible(ChartAxis::Right));

    w.pick("VarList2", 1);
    QVERIFY(c->axisVisible(ChartAxis::Left));
    QVERIFY(!c->axisVisible(ChartAxis::Right));
    QCOMPARE(valuesOf(w.series2()), (QVector<double>{1, 2, 3}));
    QCOMPARE(w.series4()->dataCount(), 0);
    QCOMPARE(c->titleLines(), QStringList{item(a32)});
    QCOMPARE(c->footText(), item(kTime));
    QCOMPARE(c->axis(ChartAxis::Left)->label(), item(a32));
    QCOMPARE(c->axis(ChartAxis::Left)->labelColor(), QColor(Qt::blue));
    QCOMPARE(textColor(w.get<QLabel>("tSTAT2")), QColor(Qt::blue));
    QCOMPARE(c->bottomLabelAt(2), QString("2"));

    w.radio("rbRightB")->click();
    QVERIFY(w.radio("rbRightB")->isChecked());
    w.pick("VarList2", 2);
    // Both lines stay drawn, each axis titled with its variable, the title in two lines.
    QCOMPARE(valuesOf(w.series2()), (QVector<double>{1, 2, 3}));
    QCOMPARE(valuesOf(w.series4()), (QVector<double>{30, 10, 20}));
    QVERIFY(c->axisVisible(ChartAxis::Left));
    QVERIFY(c->axisVisible(ChartAxis::Right));
    QCOMPARE(c->axis(ChartAxis::Left)->label(), item(a32));
    QCOMPARE(c->axis(ChartAxis::Right)->label(), item(b40).left(32) + "...");
    QCOMPARE(c->axis(ChartAxis::Right)->label(), QString("B_ppbv, ppbv, a text of thirty-t..."));
    QCOMPARE(c->axis(ChartAxis::Right)->labelColor(), QColor(Qt::red));
    QCOMPARE(c->titleLines(), (QStringList{item(a32), item(b40)}));
    QVERIFY2(sameRange(c->limits(ChartAxis::Right), 10, 30), rangeText(c->limits(ChartAxis::Right)));
    QVERIFY2(sameRange(c->limits(ChartAxis::Left), 1, 3), rangeText(c->limits(ChartAxis::Left)));
    QCOMPARE(w.stats2().left(14), QString("B_ppbv >> Real"));
    QCOMPARE(textColor(w.get<QLabel>("tSTAT2")), QColor(Qt::red));
    QCOMPARE(w.view.AxisMemory[TPlotView::LeftSide].VarIndex, 1);
    QCOMPARE(w.view.AxisMemory[TPlotView::RightSide].VarIndex, 2);
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void switchingSidesRestoresTheSidesSettings() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {10, 20, 30}}, {kO3, {5, 6, 7}}});
    PlotChart* c = w.chart2();
    w.pick("VarList2", 1);  // A on the left axis, then with "Log Scale"
    w.tick("cbLogChart2", true);
    QVERIFY(c->logarithmic(ChartAxis::Left));
    QVERIFY(w.view.AxisMemory[TPlotView::LeftSide].LogScale);

    w.radio("rbRightB")->click();
    QVERIFY(!w.box("cbLogChart2")->isChecked());
    QVERIFY(!w.box("cbNoFlagChart2")->isChecked());
    w.pick("VarList2", 2);  // B on the right axis without it
    QVERIFY(!c->logarithmic(ChartAxis::Right));
    QVERIFY(c->logarithmic(ChartAxis::Left));
    const QVector<double> left = valuesOf(w.series2());

    w.radio("rbLeftB")->click();
    QVERIFY(w.box("cbLogChart2")->isChecked());
    QVERIFY(!w.box("cbNoFlagChart2")->isChecked());
    QCOMPARE(w.list("VarList2")->currentIndex(), 1);
    QVERIFY(c->logarithmic(ChartAxis::Left));
    QVERIFY(!c->logarithmic(ChartAxis::Right));
    QCOMPARE(valuesOf(w.series2()), left);
    QCOMPARE(valuesOf(w.series4()), (QVector<double>{5, 6, 7}));
    QCOMPARE(c->titleLines(), (QStringList{item(kNo2), item(kO3)}));
    QVERIFY(w.view.OptionEventLatch);
    // The colour controls take the side's series colour.
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChart2")->color(), QColor(Qt::blue));
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void aSideNeverDrawnKeepsTheSelectionAndClearsTheBoxes() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {10, 20, kFlag}}, {kO3, {5, 6, 7}}});
    w.tick("cbNoFlagChart2", true);
    w.pick("VarList2", 1);
    w.tick("cbLogChart2", true);
    QVERIFY(w.chart2()->logarithmic(ChartAxis::Left));
    w.radio("rbRightB")->click();
    QVERIFY(!w.box("cbNoFlagChart2")->isChecked());
    QVERIFY(!w.box("cbLogChart2")->isChecked());
    QCOMPARE(w.list("VarList2")->currentIndex(), 1);
    QVERIFY(!w.chart2()->axisVisible(ChartAxis::Right));
    QCOMPARE(w.series4()->dataCount(), 0);
    // The left side is neither redrawn nor forgotten.
    QVERIFY(w.chart2()->logarithmic(ChartAxis::Left));
    QCOMPARE(w.view.AxisMemory[TPlotView::LeftSide].VarIndex, 1);
    QVERIFY(w.view.AxisMemory[TPlotView::LeftSide].NoFlags);
    QVERIFY(w.view.AxisMemory[TPlotView::LeftSide].LogScale);
    QCOMPARE(w.view.AxisMemory[TPlotView::RightSide].VarIndex, 0);
    QVERIFY(!w.view.AxisMemory[TPlotView::RightSide].LogScale);
    QVERIFY(w.view.OptionEventLatch);
    QCOMPARE(w.get<tarvik::desktop::ColorBox>("colorChart2")->color(), QColor(Qt::red));
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  void theLatchSwallowsOneHandlerRun() {
    PlotTestWindow w;
    w.fill(flaggedOzone());
    // Cleared, the next VarListChange only sets it again, whatever its sender.
    for (const char* sender : {"VarList1", "XList", "YList", "cbNoFlagChart2"}) {
      w.view.OptionEventLatch = false;
      w.view.VarListChange(w.view.findChild<QObject*>(sender));
      QVERIFY2(w.view.OptionEventLatch, sender);
      QCOMPARE(w.series1()->dataCount(), 0);
      QCOMPARE(w.series2()->dataCount(), 0);
    }
    // XList and YList draw nothing even while it is set.
    w.view.VarListChange(w.list("XList"));
    QCOMPARE(w.series1()->dataCount(), 0);
    w.pick("VarList1", 1);
    QCOMPARE(w.series1()->dataCount(), 4);
    // The log-scale handler: cleared, ticking the box leaves the axis linear and sets the latch.
    w.view.OptionEventLatch = false;
    w.tick("cbLogChart1", true);
    QVERIFY(w.view.OptionEventLatch);
    QVERIFY(!w.chart1()->logarithmic(ChartAxis::Left));
    w.tick("cbLogChart1", false);
    w.tick("cbLogChart1", true);
    QVERIFY(w.chart1()->logarithmic(ChartAxis::Left));
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  // ---- log scale ----

  void logScaleIsRefusedOnAnAxisFromZero() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {0, 5, 10}}, {kO3, {1, 10, 100}}});
    w.pick("VarList1", 1);
    QVERIFY(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 10));
    w.tick("cbLogChart1", true);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Log Math Error..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, kTopLogError);
    QVERIFY(!w.box("cbLogChart1")->isChecked());
    QVERIFY(!w.chart1()->logarithmic(ChartAxis::Left));

    // A positive axis takes it, and a new variable starting at 0 with the box ticked is refused.
    w.pick("VarList1", 2);
    w.tick("cbLogChart1", true);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QVERIFY(w.chart1()->logarithmic(ChartAxis::Left));
    w.pick("VarList1", 1);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].text, kTopLogError);
    QVERIFY(!w.box("cbLogChart1")->isChecked());
    QVERIFY(!w.chart1()->logarithmic(ChartAxis::Left));
    QVERIFY2(sameRange(w.chart1()->limits(ChartAxis::Left), 0, 10), rangeText(w.chart1()->limits(ChartAxis::Left)));

    // The bottom chart's visible working axis from 0: its own text, without a full stop.
    w.dialogs.allBoxes.clear();
    w.pick("VarList2", 1);
    w.tick("cbLogChart2", true);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'E');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Log Math Error..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, kBottomLogError);
    QVERIFY(!w.box("cbLogChart2")->isChecked());
    QVERIFY(!w.chart2()->logarithmic(ChartAxis::Left));
    QVERIFY(!w.view.AxisMemory[TPlotView::LeftSide].LogScale);

    // A logarithmic working axis does not hide a new variable's 0 from the test.
    w.pick("VarList2", 2);
    w.tick("cbLogChart2", true);
    QVERIFY(w.chart2()->logarithmic(ChartAxis::Left));
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    w.pick("VarList2", 1);
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].text, kBottomLogError);
    QVERIFY(!w.box("cbLogChart2")->isChecked());
    QVERIFY(!w.chart2()->logarithmic(ChartAxis::Left));
    QVERIFY(sameRange(w.chart2()->limits(ChartAxis::Left), 0, 10));
  }

  void logScaleOnAHiddenBottomAxisChangesNothing() {
    PlotTestWindow w;
    w.fill({{kTime, {0, 1, 2}}, {kNo2, {1, 10, 100}}});
    w.pick("VarList2", 1);
    w.radio("rbRightB")->click();
    w.tick("cbLogChart2", true);
    QVERIFY(!w.chart2()->logarithmic(ChartAxis::Right));
    QVERIFY(!w.chart2()->logarithmic(ChartAxis::Left));
    QVERIFY(!w.view.AxisMemory[TPlotView::RightSide].LogScale);
    QVERIFY(!w.view.AxisMemory[TPlotView::LeftSide].LogScale);
    QVERIFY(w.dialogs.allBoxes.empty());
  }

  // ---- columns the store does not hold, a file without records ----

  void aListItemBeyondTheStoredColumnsIsRefused() {
    // The lists name one column more than the store holds.
    PlotTestWindow w;
    w.view.InitPlotData(2, 2, kFile);
    for (const std::string& d : {kTime, kNo2, kO3}) w.view.AddPlotVariable(d);
    for (int r = 0; r < 2; ++r) {
      w.view.PutPlotValue(r, r, 0, false);
      w.view.PutPlotValue(r + 1, r, 1, false);
    }
    w.pick("VarList1", 2);
    w.pick("VarList2", 2);
    w.list("XList")->setCurrentIndex(2);
    w.button("btnPlotXY")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{3});
    for (const auto& b : w.dialogs.allBoxes) {
      QCOMPARE(b.kind, 'E');
      QCOMPARE(b.caption, QString("Error..."));
      QCOMPARE(b.text, kReadError);
    }
    QCOMPARE(w.series1()->dataCount(), 0);
    QCOMPARE(w.series2()->dataCount(), 0);
  }

  void aFileWithoutRecordsChartsNothing() {
    PlotTestWindow w;
    w.fill({{kTime, {}}, {kNo2, {}}});
    QCOMPARE(w.store.RecordCount(), int64_t{0});
    w.pick("VarList1", 1);
    w.tick("cbNoFlagChart1", true);
    QCOMPARE(w.series1()->dataCount(), 0);
    QCOMPARE(w.stats1(), QString("NO2 >>   | Min = 9.99E+34 | Max = -9.99E+34 |"));
    QCOMPARE(w.chart1()->bottomLabelAt(0), QString());
    w.list("XList")->setCurrentIndex(0);
    w.list("YList")->setCurrentIndex(1);
    w.button("btnCompute")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Application Error ..."));
    QVERIFY(w.dialogs.allBoxes[0].text.endsWith(kFitFailureTail));
    QVERIFY(w.memo().isEmpty());
    QVERIFY(!w.box("chkHideZ")->isEnabled());
  }

  // ---- a long file ----

  void aMillionRecordsAreCharted() {
    PlotTestWindow w;
    const int64_t n = 1000000;
    w.view.InitPlotData(n, 2, kFile);
    w.view.AddPlotVariable(kTime);
    w.view.AddPlotVariable(kNo2);
    for (int64_t r = 0; r < n; ++r) {
      w.view.PutPlotValue(static_cast<double>(r) + 0.5, r, 0, false);
      w.view.PutPlotValue(static_cast<double>(r % 1000), r, 1, false);
    }
    w.view.TrimPlotRecords(n);
    w.pick("VarList1", 1);
    QCOMPARE(w.series1()->dataCount(), 1000000);
    QCOMPARE(w.chart1()->bottomLabelAt(500000), QString("500000.5"));
    QCOMPARE(w.chart1()->bottomLabelAt(12), QString("12.5"));
    QCOMPARE(w.stats1(), QString("NO2 >> Real_Min=0.00; Min=0.00; Q5%=50.00; Q25%=250.00; Median=500.00; "
                                 "Q75%=750.00; Q95%=950.00; Max=999.00;  {Q = Percentile} "));
    w.pick("VarList2", 1);
    QCOMPARE(w.series2()->dataCount(), 1000000);
    QCOMPARE(w.chart2()->bottomLabelAt(500000), QString("500000.5"));
  }
};

QTEST_MAIN(PlotViewChartsTest)
#include "tplotview_charts_test.moc"

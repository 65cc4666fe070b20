// The plot window: quick charts and their statistics lines, the bottom chart's two Y axes and their
// memory, log-scale refusals, the XY page with its fit and scale panel, extraction to text, colours,
// zoom and axis clicks, display, JPEG save, printing, and the window's life with its store.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <string>
#include <vector>

#include "gui_support.h"
#include "plot/jpeg_codec.h"
#include "desktop/plotview/tplotview.h"

using namespace tarvik::guitest;
using tarvik::desktop::ChartAxis;
using tarvik::desktop::PlotChart;
using tarvik::desktop::TPlotView;

namespace {

const std::string kFile = "X_Y_20190101_R0.ict";
const std::string kTime = "Start_UTC, seconds, elapsed time from 0 hours UT\n";
const std::string kNo2 = "NO2, ppbv, nitrogen dioxide\n";
const std::string kO3 = "O3, ppbv, ozone\n";
constexpr double kFlag = -9999;
const QString kReadError = "Error Reading Data From Memory";
const QString kTopLogError =
    "Top Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched Axis mode to "
    "Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check \"Log Scale\" button.";
const QString kBottomLogError =
    "Bottom Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched Axis mode to "
    "Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check \"Log Scale\" button";
const QString kFitFailureTail =
    "\n\nApplication Error:\n\nCouldn't Calculate Correlation Coeff. If this error continues, please inform author.";

// One column of a test file: its definition line (with the line terminator the header reader
// keeps) and its values, record by record.
struct Column {
  std::string definition;
  std::vector<double> values;
};

QString item(const std::string& definition) { return QString::fromStdString(definition).chopped(1); }

// The window with its store, answering every dialog through the recorder.
class PlotWindow {
 public:
  RecordingDialogs dialogs;
  TPlotView view{dialogs};
  const tarvik::PlotDataStore& store = view.store();

  PlotWindow() {
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
  PlotChart* chart1() const { return get<PlotChart>("Chart1"); }
  PlotChart* chart2() const { return get<PlotChart>("Chart2"); }
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

// The values of a series, point by point (a null point is NaN).
QVector<double> valuesOf(const QCPGraph* g) {
  QVector<double> out;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.append(it->value);
  return out;
}
QVector<double> keysOf(const QCPGraph* g) {
  QVector<double> out;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.append(it->key);
  return out;
}

QColor textColor(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

bool same(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a) + std::fabs(b)); }
bool sameRange(const QCPRange& r, double lower, double upper) { return same(r.lower, lower) && same(r.upper, upper); }
QByteArray rangeText(const QCPRange& r) { return QByteArray::number(r.lower, 'g', 12) + ".." + QByteArray::number(r.upper, 'g', 12); }

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

// A file of four records whose O3 column holds two missing-data flags.
std::vector<Column> flaggedOzone() {
  return {{kTime, {43200, 43201, 43202, 43203}}, {kNo2, {1, 2, 3, 4}}, {kO3, {10, 20, kFlag, kFlag}}};
}

// The XY page's file: X = 1..5, Y = 2X with the fifth Y a flag, a column without spread, and a
// second Y column.
std::vector<Column> xyFile() {
  return {{kTime, {100, 101, 102, 103, 104}},
          {"X, m, distance\n", {1, 2, 3, 4, 5}},
          {"Y, m, height\n", {2, 4, 6, 8, kFlag}},
          {"C, m, constant\n", {5, 5, 5, 5, 5}},
          {"W, m, falling\n", {3, 2, 1, 0, -1}}};
}

const QStringList kFitHead = {"  Z( i ) = Slope * X ( i ) + Y-Intercept",
                              "  MSE = 1/N * ( SUM  | Z( i ) - Y( i ) |^2 )",
                              "  i=0 to N-1; (N = Number of Samples)",
                              "==================================",
                              " ****** Linear Curve Fitting ******",
                              "=================================="};

}  // namespace

class PlotViewTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- the window and its store ----

  void initShowsTheFileInCaptionAndCornerLabels() {
    PlotWindow w;
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
    PlotWindow w;
    w.fill(flaggedOzone());
    w.pick("VarList1", 2);
    w.button("ChartClose")->click();
    QVERIFY(!w.view.isVisible());
    QVERIFY(!w.store.IsEmpty());
    QCOMPARE(w.series1()->dataCount(), 4);
  }

  void freePlotDataEmptiesListsSeriesAndTitles() {
    PlotWindow w;
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
    PlotWindow w;
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

  // ---- quick charts ----

  void quickChartShowsFlagsOrLeavesGaps() {
    PlotWindow w;
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
      PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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

  // ---- XY page ----

  void xyFitLeavesFlaggedPairsOut() {
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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

  void xyScaleEditsAndTheirErrors() {
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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

  void aListItemBeyondTheStoredColumnsIsRefused() {
    // The lists name one column more than the store holds.
    PlotWindow w;
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
    PlotWindow w;
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

  // ---- extraction ----

  void extractionWritesTheSelectedColumns() {
    QTemporaryDir dir;
    PlotWindow w;
    w.fill({{kTime, {43200, 43201}}, {kNo2, {1.5, 2}}, {kO3, {30.25, kFlag}}});
    auto* z = w.get<QListWidget>("ZList");

    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'W');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Select Items From List ..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("No items selected from list."));
    QVERIFY(w.dialogs.saveProposals.isEmpty());

    z->item(2)->setSelected(true);  // selected in another order than the list's
    z->item(0)->setSelected(true);
    const QString path = dir.filePath("out.txt");
    w.dialogs.saveAnswer = path;
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.saveProposals.last(), QString("selected_data.txt"));
    QCOMPARE(w.dialogs.saveCaptions.last(), QString("Saving Selected Data to file ... "));
    QCOMPARE(readBytes(path), QByteArray("      Start_UTC              O3 \r\n"
                                         "          43200           30.25 \r\n"
                                         "          43201           -9999 \r\n"));
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].kind, 'I');
    QCOMPARE(w.dialogs.allBoxes[1].caption, QString("Save Selected Data..."));
    QCOMPARE(w.dialogs.allBoxes[1].text, QString("Done saving selected data to file (Rate = 1)."));
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));

    // Every second record, the rate typed with blanks.
    w.get<QComboBox>("RESAMPLE")->setCurrentText(" 2 ");
    w.button("btnSaveSelList")->click();
    QCOMPARE(readBytes(path), QByteArray("      Start_UTC              O3 \r\n"
                                         "          43201           -9999 \r\n"));
    QCOMPARE(w.dialogs.allBoxes.back().text, QString("Done saving selected data to file (Rate = 2)."));

    // The next image save proposes the chart image name again.
    w.dialogs.saveAnswer.clear();
    w.button("btnSaveJpg")->click();
    QCOMPARE(w.dialogs.saveProposals.last(), QString("X_Y_20190101_R0.ict.jpeg"));
  }

  void extractionRefusalsAndOutputErrors() {
    QTemporaryDir dir;
    PlotWindow w;
    w.fill({{kTime, {43200, 43201}}, {kNo2, {1.5, 2}}, {kO3, {30.25, kFlag}}});
    w.get<QListWidget>("ZList")->item(1)->setSelected(true);

    // A folder that does not exist: the plain box, no file, the image name kept.
    const QString missing = dir.filePath("missing/out.txt");
    w.dialogs.saveAnswer = missing;
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'P');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("File Output Error"));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("Couldn't save selected data to a file."));
    QVERIFY(!QFile::exists(missing));
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));

    // A full disk: the same box instead of the success box.
    if (QFile::exists("/dev/full")) {
      w.dialogs.saveAnswer = "/dev/full";
      w.button("btnSaveSelList")->click();
      QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
      QCOMPARE(w.dialogs.allBoxes[1].kind, 'P');
      QCOMPARE(w.dialogs.allBoxes[1].caption, QString("File Output Error"));
      QCOMPARE(w.dialogs.allBoxes[1].text, QString("Couldn't save selected data to a file."));
      w.dialogs.allBoxes.pop_back();
    }

    // A rate that is no integer: the conversion box, and no dialog.
    const qsizetype dialogsBefore = w.dialogs.saveProposals.size();
    w.get<QComboBox>("RESAMPLE")->setCurrentText("abc");
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].kind, 'E');
    QVERIFY(w.dialogs.allBoxes[1].text.contains("'abc'"));
    QCOMPARE(w.dialogs.saveProposals.size(), dialogsBefore);

    // A cancelled dialog writes nothing and shows nothing.
    w.get<QComboBox>("RESAMPLE")->setCurrentText("1");
    w.dialogs.saveAnswer.clear();
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));
  }

  // ---- colours and pictures ----

  void colourOfTheBottomChartFollowsTheWorkingSide() {
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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

  // ---- zoom and axis clicks ----

  void zoomButtonsNarrowAndWidenEveryAxis() {
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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
    PlotWindow w;
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

  // ---- a long file ----

  void aMillionRecordsAreCharted() {
    PlotWindow w;
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

QTEST_MAIN(PlotViewTest)
#include "tplotview_test.moc"

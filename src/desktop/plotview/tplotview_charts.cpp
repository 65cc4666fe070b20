// The plot window's charts of stored values: quick charts with their statistics lines, the XY
// plot with correlation and fit, the manual axis limits, and the extraction of columns to text.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <vector>

#include "desktop/dialogs.h"
#include "desktop/plotview/tplotview.h"
#include "desktop/plotview/wait_cursor.h"
#include "plot/axis_format.h"
#include "plot/extraction.h"
#include "plot/statistics.h"
#include "plot/xy_fit.h"

namespace tarvik::desktop {

namespace {

const QString kReadError = "Error Reading Data From Memory";
const QString kReadErrorCaption = "Error...";
constexpr double kNull = std::numeric_limits<double>::quiet_NaN();

// The Y-axis format of a quick chart.
QString valueFormatFor(float arrayMin, float arrayMax) {
  return (arrayMax > 1000000.0f || arrayMin < -1000000.0f) ? "0.00E+00" : "#,##0.###";
}

QString axisTitleFor(const QString& item) { return item.size() <= 32 ? item : item.left(32) + "..."; }

}  // namespace

ChartAxis TPlotView::workingAxis() const { return rbLeftB_->isChecked() ? ChartAxis::Left : ChartAxis::Right; }
QCPGraph* TPlotView::workingSeries() const { return rbLeftB_->isChecked() ? Series2_ : Series4_; }
TPlotView::Side TPlotView::workingSide() const { return rbLeftB_->isChecked() ? LeftSide : RightSide; }

// One point per record at the record's number; with flags removed, a value below the column's real
// minimum becomes a null point that keeps its place but is not drawn.
void TPlotView::setRecordPoints(QCPGraph* series, int32_t c, bool noFlags) {
  const std::span<const float> values = store_.column(c);  // RecordCount() values
  const int64_t n = static_cast<int64_t>(values.size());
  const float mn = store_.ArrayMin(c);
  QVector<QCPGraphData> points(static_cast<qsizetype>(n));
  for (int64_t r = 0; r < n; ++r) {
    const float v = values[static_cast<size_t>(r)];
    points[static_cast<qsizetype>(r)] = QCPGraphData(static_cast<double>(r), (v < mn && noFlags) ? kNull : v);
  }
  series->data()->set(points, true);
}

// The label of a quick chart's whole-numbered tick: the independent variable of that record.
QString TPlotView::recordLabel(double tick) const {
  const double r = std::round(tick);
  if (store_.IsEmpty() || r < 0 || r >= static_cast<double>(store_.RecordCount())) return QString();
  return QString::fromStdString(FormatPicture(store_.column(0)[static_cast<size_t>(r)], "#0.##"));
}

void TPlotView::VarListChange(QObject* sender) {
  if (store_.IsEmpty()) return;
  if (!OptionEventLatch) {
    OptionEventLatch = true;
    return;
  }
  if (sender == VarList1_ || sender == cbNoFlagChart1_) {
    drawTopChart(VarList1_->currentIndex());
  } else if (sender == VarList2_ || sender == cbNoFlagChart2_) {
    drawBottomChart(VarList2_->currentIndex());
  }
}

void TPlotView::drawTopChart(int32_t c) {
  if (c < 0 || c >= store_.ColumnCount()) {
    dialogs_.showError(kReadErrorCaption, kReadError);
    return;
  }
  const float mn = store_.ArrayMin(c);
  const float mx = store_.ArrayMax(c);
  const bool noFlags = cbNoFlagChart1_->isChecked();
  // The axis is linear while it takes the new range: a logarithmic axis would leave values at or
  // below 0 out of its range, and the log test below would then pass on an axis that starts at 0.
  Chart1_->setLogarithmic(ChartAxis::Left, false);
  if (noFlags) {
    Chart1_->setLimits(ChartAxis::Left, mn * 0.99, mx * 1.01);
  } else {
    Chart1_->setAutomatic(ChartAxis::Left, true);
  }
  Chart1_->setAutomatic(ChartAxis::Bottom, true);
  cbLogChart1_->setEnabled(true);
  Chart1_->undoZoom();
  Series1_->data()->clear();
  Series3_->data()->clear();
  Chart1_->setTitleLines({VarList1_->itemText(c)});
  Chart1_->setFootText(VarList1_->itemText(0));
  Chart1_->setBottomLabelSpacing(20);

  WaitCursor wait;
  Chart1_->setValueFormat(ChartAxis::Left, valueFormatFor(mn, mx));
  setRecordPoints(Series1_, c, noFlags);
  QCPScatterStyle style = Series1_->scatterStyle();
  style.setBrush(QBrush(colorChart1_->color()));
  Series1_->setScatterStyle(style);
  Chart1_->setBottomLabels([this](double tick) { return recordLabel(tick); }, true);
  Chart1_->undoZoom();  // the automatic axes take the new points' range before the log test
  cbChartClick(cbLogChart1_);
  Chart1_->redraw();
  ShowStats(c, 1);
}

void TPlotView::drawBottomChart(int32_t c) {
  if (c < 0 || c >= store_.ColumnCount()) {
    dialogs_.showError(kReadErrorCaption, kReadError);
    return;
  }
  cbAutoScaleYB_->setChecked(true);
  const float mn = store_.ArrayMin(c);
  const float mx = store_.ArrayMax(c);
  const ChartAxis axis = workingAxis();
  QCPGraph* series = workingSeries();
  const bool noFlags = cbNoFlagChart2_->isChecked();
  Chart2_->setLogarithmic(axis, false);  // linear while it takes the new range, as in the top chart
  if (noFlags) {
    Chart2_->setLimits(axis, mn * 0.99, mx * 1.01);
  } else {
    Chart2_->setAutomatic(axis, true);
  }
  Chart2_->setAutomatic(ChartAxis::Bottom, true);
  cbLogChart2_->setEnabled(true);
  Chart2_->undoZoom();
  series->data()->clear();
  Chart2_->setTitleLines({VarList2_->itemText(c)});
  Chart2_->setFootText(VarList2_->itemText(0));

  WaitCursor wait;
  Chart2_->setValueFormat(axis, valueFormatFor(mn, mx));
  setRecordPoints(series, c, noFlags);
  Chart2_->setBottomLabels([this](double tick) { return recordLabel(tick); }, true);
  Chart2_->setAxisVisible(axis, true);
  Chart2_->setAxisTitle(axis, axisTitleFor(VarList2_->itemText(c)), colorChart2_->color());
  ShowStats(c, 2);
  Chart2_->undoZoom();
  cbChartClick(cbLogChart2_);
  Chart2_->redraw();
}

void TPlotView::ShowStats(int32_t c, int chart) {
  QComboBox* list = chart == 1 ? VarList1_ : VarList2_;
  const std::string item = list->itemText(c).toStdString();
  const std::span<const float> values = store_.column(c);
  const int64_t n = static_cast<int64_t>(values.size());
  const QString text =
      QString::fromStdString(StatsLine(item, values.data(), n, store_.ArrayMin(c), store_.ArrayMax(c)));
  if (chart == 1) {
    tSTAT1_->setText(text);
    QPalette pal = tSTAT1_->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    tSTAT1_->setPalette(pal);
    Chart1_->setAxisVisible(ChartAxis::Left, true);
    return;
  }
  tSTAT2_->setText(text);
  QPalette pal = tSTAT2_->palette();
  pal.setColor(QPalette::WindowText, workingSeries()->pen().color());
  tSTAT2_->setPalette(pal);
  AxisMemoryEntry& memory = AxisMemory[workingSide()];
  memory.VarIndex = c;
  memory.NoFlags = cbNoFlagChart2_->isChecked();
  memory.LogScale = cbLogChart2_->isChecked();
  if (Chart2_->axisVisible(ChartAxis::Left) && Chart2_->axisVisible(ChartAxis::Right)) {
    Chart2_->setTitleLines(
        {VarList2_->itemText(AxisMemory[LeftSide].VarIndex), VarList2_->itemText(AxisMemory[RightSide].VarIndex)});
  }
}

void TPlotView::btnComputeClick(QObject* sender) {
  // An empty store (none yet, or its allocation failed) holds nothing to plot.
  if (store_.IsEmpty()) {
    dialogs_.showError(kReadErrorCaption, kReadError);
    return;
  }
  const int64_t n = store_.RecordCount();
  std::vector<double> X, Y, Z;
  try {
    X.resize(static_cast<size_t>(n));
    Y.resize(static_cast<size_t>(n));
    Z.resize(static_cast<size_t>(std::max<int64_t>(n, 1)));
  } catch (const std::bad_alloc&) {
    dialogs_.showError("Memory Error ...", "System Error:\n\nCouldn't allocate memory \"Correlation Arrays\".");
    return;
  }
  const int32_t xi = XList_->currentIndex();
  const int32_t yi = YList_->currentIndex();
  if (xi < 0 || xi >= store_.ColumnCount() || yi < 0 || yi >= store_.ColumnCount()) {
    dialogs_.showError(kReadErrorCaption, kReadError);
    return;
  }
  Chart1_->setAutomatic(ChartAxis::Left, true);
  Chart1_->setAutomatic(ChartAxis::Bottom, true);
  cbLogChart1_->setChecked(false);
  Chart1_->undoZoom();
  Series1_->data()->clear();
  cbLogChart1_->setEnabled(true);
  Chart1_->setTitleLines({"Y (" + YList_->currentText() + ") VS. X (" + XList_->currentText() + ")"});
  Chart1_->setFootText(XList_->itemText(xi));

  WaitCursor wait;
  const bool hourMinute = cbHM_->isChecked();
  if (hourMinute) {
    Chart1_->setBottomLabelSpacing(50);
    Chart1_->setBottomLabels([](double x) { return QString::fromStdString(HourMinuteLabel(x)); }, false);
  } else {
    Chart1_->setBottomLabelSpacing(20);
    Chart1_->setBottomLabels(nullptr, false);
  }
  const std::span<const float> xs = store_.column(xi);  // n values each
  const std::span<const float> ys = store_.column(yi);
  const float xMin = store_.ArrayMin(xi);
  const float yMin = store_.ArrayMin(yi);
  int64_t pos = 0;
  QVector<QCPGraphData> points;
  points.reserve(static_cast<qsizetype>(n));
  for (int64_t r = 0; r < n; ++r) {
    const float x = xs[static_cast<size_t>(r)];
    const float y = ys[static_cast<size_t>(r)];
    if (!(x >= xMin && y >= yMin)) continue;  // a flag in either column leaves the pair out
    X[static_cast<size_t>(pos)] = x;
    Y[static_cast<size_t>(pos)] = y;
    points.append(QCPGraphData(x, y));
    ++pos;
  }
  Series1_->data()->set(points, false);
  QCPScatterStyle style = Series1_->scatterStyle();
  style.setBrush(QBrush(colorChart1_->color()));
  Series1_->setScatterStyle(style);
  Chart1_->redraw();

  if (sender != btnCompute_) return;
  FitResult result;
  std::string message;
  if (CorrelateAndFit(X.data(), Y.data(), pos, Z.data(), result, message) != kAnalysisOk) {
    dialogs_.showError("Application Error ...",
                       QString::fromStdString(message) +
                           "\n\nApplication Error:\n\nCouldn't Calculate Correlation Coeff. If this error continues, "
                           "please inform author.");
    return;
  }
  Series3_->data()->clear();
  zStat_->clear();
  for (const std::string& line : FitMemoLines(result)) zStat_->appendPlainText(QString::fromStdString(line));
  // The fitted line is (X[i], Z[i]) for every pair. The points are taken in the order the chart has
  // already sorted them by X, each fitted value computed as the fit computed Z, so the line needs
  // no second sort of a million points.
  QVector<QCPGraphData> line;
  line.reserve(static_cast<qsizetype>(pos));
  for (const QCPGraphData& p : *Series1_->data()) line.append(QCPGraphData(p.key, result.slope * p.key + result.intercept));
  Series3_->data()->set(line, true);
  Chart1_->redraw();
  chkHideZ_->setEnabled(true);
}

void TPlotView::btnOptionClick() {
  Series3_->setVisible(!chkHideZ_->isChecked());
  Chart1_->replot();
}

bool TPlotView::readNumber(QLineEdit* edit, double& value) {
  // A number typed in the user's own form first, then one with the '.' the window writes its own
  // numbers with. Thousands separators are refused in both, so under a decimal-comma locale "0,125"
  // is 0.125 (and not 125 read with ',' as a separator), and "12.50" is still 12.5.
  const QString text = edit->text().trimmed();
  bool ok = false;
  QLocale user;
  user.setNumberOptions(user.numberOptions() | QLocale::RejectGroupSeparator);
  value = user.toDouble(text, &ok);
  if (!ok) {
    QLocale c = QLocale::c();
    c.setNumberOptions(c.numberOptions() | QLocale::RejectGroupSeparator);
    value = c.toDouble(text, &ok);
  }
  if (!ok || !std::isfinite(value)) {
    dialogs_.showError("Tarvik", "'" + edit->text() + "' is not a valid floating point value");
    return false;
  }
  return true;
}

void TPlotView::bottomAutoScale() {
  const bool automatic = cbAutoScaleYB_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{TYBmin_, TYBmax_, lblYBmin_, lblYBmax_, btnRePlotYB_}) {
    w->setEnabled(!automatic);
  }
  const ChartAxis axis = workingAxis();
  if (automatic) {
    TYBmin_->setText("Auto");
    TYBmax_->setText("Auto");
    const int32_t c = VarList2_->currentIndex();
    if (store_.IsEmpty() || c < 0 || c >= store_.ColumnCount()) {
      dialogs_.showError(kReadErrorCaption, kReadError);
      return;
    }
    if (cbNoFlagChart2_->isChecked()) {
      Chart2_->setLimits(axis, store_.ArrayMin(c) * 0.99, store_.ArrayMax(c) * 1.01);
    } else {
      Chart2_->setAutomatic(axis, true);
    }
    Chart2_->redraw();
    return;
  }
  Chart2_->setAutomatic(axis, false);
  const QCPRange r = Chart2_->limits(axis);
  TYBmin_->setText(QString::number(r.lower, 'f', 2));
  TYBmax_->setText(QString::number(r.upper, 'f', 2));
}

// Hand-set limits from two edits: refused with the scale error box when min >= max; otherwise the
// axis takes the format its limits pick and keeps them fixed. False when nothing was applied.
bool TPlotView::applyScale(PlotChart* chart, ChartAxis axis, QLineEdit* minEdit, QLineEdit* maxEdit,
                           const QString& errorCaption, const QString& errorText) {
  double mn = 0, mx = 0;
  if (!readNumber(minEdit, mn) || !readNumber(maxEdit, mx)) return false;
  if (mn >= mx) {
    dialogs_.showError(errorCaption, errorText);
    return false;
  }
  chart->setValueFormat(axis, QString::fromStdString(PickAxisFormat(mn, mx)));
  chart->setLimits(axis, mn, mx);
  chart->redraw();
  return true;
}

void TPlotView::btnRePlotXYClick(QObject* sender) {
  if (sender == chkAutoXY_) {
    const bool automatic = chkAutoXY_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{TXmin_, TXmax_, TYmin_, TYmax_, lblXYAxes_, lblMins_, lblMaxs_,
                                                      btnRePlotXY_}) {
      w->setEnabled(!automatic);
    }
    if (automatic) {
      Chart1_->setAutomatic(ChartAxis::Left, true);
      Chart1_->setAutomatic(ChartAxis::Bottom, true);
      for (QLineEdit* e : {TXmin_, TXmax_, TYmin_, TYmax_}) e->setText("Auto");
      Chart1_->undoZoom();
      Chart1_->redraw();
    } else {
      Chart1_->setAutomatic(ChartAxis::Left, false);
      Chart1_->setAutomatic(ChartAxis::Bottom, false);
      const QCPRange x = Chart1_->limits(ChartAxis::Bottom);
      const QCPRange y = Chart1_->limits(ChartAxis::Left);
      TXmin_->setText(QString::number(x.lower, 'f', 3));
      TXmax_->setText(QString::number(x.upper, 'f', 3));
      TYmin_->setText(QString::number(y.lower, 'f', 3));
      TYmax_->setText(QString::number(y.upper, 'f', 3));
    }
    return;
  }
  if (sender == btnRePlotXY_) {
    // The Y axis is scaled only when the X axis was.
    if (applyScale(Chart1_, ChartAxis::Bottom, TXmin_, TXmax_, "X-Scale Error...",
                   "X-Axis: Min value must be less than Max value")) {
      applyScale(Chart1_, ChartAxis::Left, TYmin_, TYmax_, "Y-Scale Error...", "Y-Axis: Min value must be less than Max value");
    }
    return;
  }
  if (sender == cbHM_) {
    btnComputeClick(btnPlotXY_);
    return;
  }
  if (sender == cbAutoScaleYB_) {
    bottomAutoScale();
    return;
  }
  if (sender == btnRePlotYB_) {
    applyScale(Chart2_, workingAxis(), TYBmin_, TYBmax_, "Y-Scale Error...", "Y-Axis: Min value must be less than Max value");
  }
}

void TPlotView::btnSaveSelListClick() {
  std::vector<int32_t> columns;
  for (int i = 0; i < ZList_->count(); ++i) {
    if (ZList_->item(i)->isSelected()) columns.push_back(i);
  }
  if (columns.empty()) {
    dialogs_.showWarning("Select Items From List ...", "No items selected from list.");
    return;
  }
  if (store_.IsEmpty()) {
    dialogs_.showError(kReadErrorCaption, kReadError);
    return;
  }
  bool ok = false;
  const QString rateText = RESAMPLE_->currentText();
  const int rate = rateText.trimmed().toInt(&ok);
  if (!ok) {
    dialogs_.showError("Tarvik", "'" + rateText + "' is not a valid integer value");
    return;
  }
  // Only columns the store holds can be written (the list and the store are filled together).
  columns.erase(std::remove_if(columns.begin(), columns.end(), [this](int32_t c) { return c >= store_.ColumnCount(); }),
                columns.end());
  const QString remembered = saveFileName_;
  const QString path =
      dialogs_.saveFileName("Saving Selected Data to file ... ", "selected_data.txt", "Text File (*.txt);;All Files (*.*)");
  if (!path.isEmpty()) {
    ExtractionResult result;
    {
      WaitCursor wait;
      result = WriteSelectedData(QFile::encodeName(path).toStdString(), store_, columns, store_.variableNames(), rate);
    }
    if (result == ExtractionResult::Written) {
      dialogs_.showInformation("Save Selected Data...", QString("Done saving selected data to file (Rate = %1).").arg(rate));
    } else {
      dialogs_.showPlain("File Output Error", "Couldn't save selected data to a file.");
    }
  }
  saveFileName_ = remembered;
}

}  // namespace tarvik::desktop

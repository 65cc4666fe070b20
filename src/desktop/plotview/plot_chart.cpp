#include "desktop/plotview/plot_chart.h"

#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>

#include "plot/axis_format.h"
#include "plot/zoom.h"

namespace tarvik::desktop {

namespace {

// Log axes keep their decade ticks but show them in the axis's picture format.
class LogPictureTicker : public QCPAxisTickerLog {
 public:
  explicit LogPictureTicker(PictureTicker::LabelFunction f) : label_(std::move(f)) {}

 protected:
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override {
    return label_ ? label_(tick) : QCPAxisTickerLog::getTickLabel(tick, locale, formatChar, precision);
  }

 private:
  PictureTicker::LabelFunction label_;
};

QString picture(double v, const QString& format) {
  return QString::fromStdString(FormatPicture(v, format.toStdString()));
}

constexpr int kClickSlack = 4;  // pixels a click may move and still count as a click

QCPRange interpolate(const QCPRange& from, const QCPRange& to, double t, bool logarithmic) {
  if (logarithmic && from.lower > 0 && from.upper > 0 && to.lower > 0 && to.upper > 0) {
    return QCPRange(std::exp(std::log(from.lower) + (std::log(to.lower) - std::log(from.lower)) * t),
                    std::exp(std::log(from.upper) + (std::log(to.upper) - std::log(from.upper)) * t));
  }
  return QCPRange(from.lower + (to.lower - from.lower) * t, from.upper + (to.upper - from.upper) * t);
}

}  // namespace

double PictureTicker::getTickStep(const QCPRange& range) {
  // A label is about 56 pixels wide; the spacing leaves that share of a label free between two.
  const double labelPixels = 56.0 * (1.0 + spacingPercent_ / 100.0);
  mTickCount = std::max(2, static_cast<int>(axisPixels_ / labelPixels));
  double step = QCPAxisTicker::getTickStep(range);
  if (integerSteps_) step = std::max(1.0, std::round(step));
  return step;
}

QString PictureTicker::labelFor(double tick) const { return label_ ? label_(tick) : QString::number(tick); }

QString PictureTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) {
  if (label_) return label_(tick);
  return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision);
}

PlotChart::PlotChart(QWidget* parent) : QCustomPlot(parent) {
  setNoAntialiasingOnDrag(true);
  // Lines of many points are drawn as segments, not as one stroked path: a million-record line
  // then redraws in milliseconds instead of a good part of a second.
  setPlottingHint(QCP::phFastPolylines, true);
  setSelectionRectMode(QCP::srmZoom);
  selectionRect()->setPen(QPen(Qt::black, 1, Qt::DashLine));
  selectionRect()->setBrush(QBrush(QColor(0, 0, 255, 30)));
  axisRect()->setRangeZoomAxes({xAxis, xAxis2}, {yAxis, yAxis2});
  axisRect()->setBackground(QBrush(Qt::white));
  for (int i = 0; i < 4; ++i) {
    const ChartAxis a = static_cast<ChartAxis>(i);
    AxisState& s = state(a);
    s.format = "#,##0.###";
    s.ticker = QSharedPointer<PictureTicker>::create();
    s.ticker->setLabelFunction([this, a](double v) { return picture(v, state(a).format); });
    axis(a)->setTicker(s.ticker);
    axis(a)->setRange(0.0, 5.0);
  }
  yAxis2->grid()->setVisible(false);
  titleElement_ = new QCPTextElement(this, QString(), QFont("Monospace", 10, QFont::Bold));
  plotLayout()->insertRow(0);
  plotLayout()->addElement(0, 0, titleElement_);
  footElement_ = new QCPTextElement(this, QString(), QFont("Sans", 8));
  plotLayout()->addElement(plotLayout()->rowCount(), 0, footElement_);
  // Room above the title for the corner label and below the foot text for the statistics line.
  titleElement_->setMargins(QMargins(4, 18, 4, 2));
  footElement_->setMargins(QMargins(4, 0, 4, 22));
  setBackColor(QColor(0xd3, 0xd3, 0xd3));
  animation_ = new QVariantAnimation(this);
  animation_->setStartValue(0.0);
  animation_->setEndValue(1.0);
  connect(animation_, &QVariantAnimation::finished, this, [this] { emit zoomFinished(); });
}

QCPAxis* PlotChart::axis(ChartAxis a) const {
  switch (a) {
    case ChartAxis::Left: return yAxis;
    case ChartAxis::Right: return yAxis2;
    case ChartAxis::Top: return xAxis2;
    case ChartAxis::Bottom: break;
  }
  return xAxis;
}

void PlotChart::setAutomatic(ChartAxis a, bool on) {
  AxisState& s = state(a);
  s.automatic = on;
  if (!on) {
    const QCPRange r = axis(a)->range();
    s.min = r.lower;
    s.max = r.upper;
  }
}

void PlotChart::setLimits(ChartAxis a, double min, double max) {
  AxisState& s = state(a);
  s.automatic = false;
  s.min = min;
  s.max = max;
  axis(a)->setRange(min, max);
}

void PlotChart::setValueFormat(ChartAxis a, const QString& picture) {
  state(a).format = picture;
  axis(a)->setTicker(axis(a)->ticker());  // labels are regenerated at the next replot
}

void PlotChart::setLogarithmic(ChartAxis a, bool on) {
  QCPAxis* ax = axis(a);
  if (on == logarithmic(a)) return;
  if (on) {
    ax->setScaleType(QCPAxis::stLogarithmic);
    ax->setTicker(QSharedPointer<LogPictureTicker>::create(
        [this, a](double v) { return picture(v, state(a).format); }));
  } else {
    ax->setScaleType(QCPAxis::stLinear);
    ax->setTicker(state(a).ticker);
  }
}

bool PlotChart::logarithmic(ChartAxis a) const { return axis(a)->scaleType() == QCPAxis::stLogarithmic; }

void PlotChart::setAxisVisible(ChartAxis a, bool on) { axis(a)->setVisible(on); }

void PlotChart::setAxisTitle(ChartAxis a, const QString& text, const QColor& color) {
  axis(a)->setLabel(text);
  axis(a)->setLabelColor(color);
}

void PlotChart::setGridVisible(ChartAxis a, bool on) { axis(a)->grid()->setVisible(on); }
bool PlotChart::gridVisible(ChartAxis a) const { return axis(a)->grid()->visible(); }

void PlotChart::setBottomLabels(PictureTicker::LabelFunction f, bool integerSteps) {
  AxisState& s = state(ChartAxis::Bottom);
  if (f) {
    s.ticker->setLabelFunction(std::move(f));
  } else {
    s.ticker->setLabelFunction(
        [this](double v) { return picture(v, state(ChartAxis::Bottom).format); });
  }
  s.ticker->setIntegerSteps(integerSteps);
}

void PlotChart::setBottomLabelSpacing(int percent) { state(ChartAxis::Bottom).ticker->setSpacingPercent(percent); }
int PlotChart::bottomLabelSpacing() const { return state(ChartAxis::Bottom).ticker->spacingPercent(); }

QString PlotChart::bottomLabelAt(double tick) const { return state(ChartAxis::Bottom).ticker->labelFor(tick); }

void PlotChart::setTitleLines(const QStringList& lines) {
  title_ = lines;
  titleElement_->setText(lines.join('\n'));
}

void PlotChart::setFootText(const QString& text) {
  foot_ = text;
  footElement_->setText(text);
}

void PlotChart::setBackColor(const QColor& c) {
  backColor_ = c;
  QCustomPlot::setBackground(QBrush(c));
}

void PlotChart::setBackImage(const QPixmap& picture, bool insideFrame) {
  clearBackImage();
  if (insideFrame) {
    axisRect()->setBackground(picture, true, Qt::IgnoreAspectRatio);
  } else {
    QCustomPlot::setBackground(picture, true, Qt::IgnoreAspectRatio);
  }
  hasBackImage_ = true;
  replot();
}

void PlotChart::clearBackImage() {
  axisRect()->setBackground(QPixmap());
  axisRect()->setBackground(QBrush(Qt::white));
  QCustomPlot::setBackground(QPixmap());
  QCustomPlot::setBackground(QBrush(backColor_));
  hasBackImage_ = false;
}

void PlotChart::rescaleAutomatic() {
  for (int i = 0; i < 4; ++i) {
    const ChartAxis a = static_cast<ChartAxis>(i);
    const AxisState& s = state(a);
    QCPAxis* ax = axis(a);
    if (!s.automatic) {
      ax->setRange(s.min, s.max);
      continue;
    }
    bool hasData = false;
    for (QCPAbstractPlottable* p : ax->plottables()) {
      if (p->visible() && p->interface1D() && p->interface1D()->dataCount() > 0) hasData = true;
    }
    if (hasData) ax->rescale(true);
  }
}

void PlotChart::undoZoom() {
  // A stopped animation does not report its end by itself; the window waits for that report to
  // enable its zoom buttons again, so it is given here.
  const bool wasZooming = zooming();
  animation_->stop();
  zoomed_ = false;
  rescaleAutomatic();
  if (wasZooming) emit zoomFinished();
}

void PlotChart::redraw() {
  if (!zoomed_) rescaleAutomatic();
  replot();
}

void PlotChart::zoomPercent(double percent) {
  zoomed_ = true;
  std::array<QCPRange, 4> target;
  for (int i = 0; i < 4; ++i) {
    const QCPRange r = axis(static_cast<ChartAxis>(i))->range();
    const AxisRange z = ZoomRange({r.lower, r.upper}, percent);
    target[static_cast<size_t>(i)] = QCPRange(z.min, z.max);
  }
  animateTo(target);
}

bool PlotChart::zooming() const { return animation_->state() == QAbstractAnimation::Running; }

void PlotChart::animateTo(const std::array<QCPRange, 4>& target) {
  animation_->stop();
  std::array<QCPRange, 4> from;
  for (int i = 0; i < 4; ++i) from[static_cast<size_t>(i)] = axis(static_cast<ChartAxis>(i))->range();
  if (animationMs_ <= 0) {
    for (int i = 0; i < 4; ++i) axis(static_cast<ChartAxis>(i))->setRange(target[static_cast<size_t>(i)]);
    replot();
    emit zoomFinished();
    return;
  }
  animation_->disconnect(SIGNAL(valueChanged(QVariant)));
  connect(animation_, &QVariantAnimation::valueChanged, this, [this, from, target](const QVariant& v) {
    const double t = v.toDouble();
    for (int i = 0; i < 4; ++i) {
      const ChartAxis a = static_cast<ChartAxis>(i);
      axis(a)->setRange(interpolate(from[static_cast<size_t>(i)], target[static_cast<size_t>(i)], t, logarithmic(a)));
    }
    replot(rpQueuedReplot);
  });
  animation_->setDuration(animationMs_);
  animation_->start();
}

void PlotChart::processRectZoom(QRect rect, QMouseEvent*) {
  if (rect.width() < kClickSlack || rect.height() < kClickSlack) return;
  zoomed_ = true;
  std::array<QCPRange, 4> target;
  for (int i = 0; i < 4; ++i) {
    QCPAxis* ax = axis(static_cast<ChartAxis>(i));
    if (ax->orientation() == Qt::Horizontal) {
      target[static_cast<size_t>(i)] = QCPRange(ax->pixelToCoord(rect.left()), ax->pixelToCoord(rect.right()));
    } else {
      target[static_cast<size_t>(i)] = QCPRange(ax->pixelToCoord(rect.bottom()), ax->pixelToCoord(rect.top()));
    }
    target[static_cast<size_t>(i)].normalize();
  }
  animateTo(target);
}

int PlotChart::axisAt(const QPoint& pos) const {
  for (int i = 0; i < 4; ++i) {
    QCPAxis* ax = axis(static_cast<ChartAxis>(i));
    if (!ax->visible()) continue;
    const QCPAxis::SelectablePart part = ax->getPartAt(pos);
    if (part == QCPAxis::spAxis || part == QCPAxis::spTickLabels) return i;
  }
  return -1;
}

void PlotChart::mousePressEvent(QMouseEvent* event) {
  pressPos_ = event->pos();
  pressedButton_ = event->button();
  pressedAxis_ = axisAt(event->pos());
  if (pressedAxis_ >= 0) {
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    panning_ = true;
    zoomed_ = true;
    for (int i = 0; i < 4; ++i) panStart_[static_cast<size_t>(i)] = axis(static_cast<ChartAxis>(i))->range();
    event->accept();
    return;
  }
  QCustomPlot::mousePressEvent(event);
}

void PlotChart::mouseMoveEvent(QMouseEvent* event) {
  if (panning_) {
    for (int i = 0; i < 4; ++i) {
      const ChartAxis a = static_cast<ChartAxis>(i);
      QCPAxis* ax = axis(a);
      const QCPRange start = panStart_[static_cast<size_t>(i)];
      ax->setRange(start);
      const bool horizontal = ax->orientation() == Qt::Horizontal;
      const double c1 = ax->pixelToCoord(horizontal ? pressPos_.x() : pressPos_.y());
      const double c2 = ax->pixelToCoord(horizontal ? event->pos().x() : event->pos().y());
      if (logarithmic(a) && c1 > 0 && c2 > 0) {
        ax->setRange(start.lower * c1 / c2, start.upper * c1 / c2);
      } else {
        ax->setRange(start.lower - (c2 - c1), start.upper - (c2 - c1));
      }
    }
    replot(rpQueuedReplot);
    event->accept();
    return;
  }
  if (pressedAxis_ >= 0) {
    event->accept();
    return;
  }
  QCustomPlot::mouseMoveEvent(event);
}

void PlotChart::mouseReleaseEvent(QMouseEvent* event) {
  const bool isClick = (event->pos() - pressPos_).manhattanLength() <= kClickSlack;
  if (pressedAxis_ >= 0) {
    const int hit = pressedAxis_;
    pressedAxis_ = -1;
    event->accept();
    if (isClick && event->button() == pressedButton_) emit axisClicked(this, static_cast<ChartAxis>(hit), event->button());
    return;
  }
  if (panning_) {
    panning_ = false;
    event->accept();
    return;
  }
  QCustomPlot::mouseReleaseEvent(event);
}

void PlotChart::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void PlotChart::paintEvent(QPaintEvent* event) {
  QCustomPlot::paintEvent(event);
  QPainter painter(this);
  painter.setPen(QPen(Qt::red, 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void PlotChart::resizeEvent(QResizeEvent* event) {
  QCustomPlot::resizeEvent(event);
  for (int i = 0; i < 4; ++i) {
    const ChartAxis a = static_cast<ChartAxis>(i);
    const int pixels = axis(a)->orientation() == Qt::Horizontal ? width() : height();
    state(a).ticker->setAxisLengthPixels(std::max(100, pixels - 80));
  }
}

}  // namespace tarvik::desktop

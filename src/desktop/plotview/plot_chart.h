// One chart of the plot window on QCustomPlot: axes that scale automatically or keep fixed limits,
// picture formats on the tick labels, a title and a foot text, a back colour and a back picture,
// rubber-band zoom with the left button, panning with the right button, animated zooms, and clicks
// on an axis line reported to the window.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <qcustomplot.h>

class QVariantAnimation;

namespace tarvik::desktop {

enum class ChartAxis { Left = 0, Right = 1, Top = 2, Bottom = 3 };

// Tick labels drawn from a function of the tick's value. With an integer step the ticks fall on
// whole numbers only (the record numbers of a quick chart); the spacing asks for more or fewer
// labels, as a percentage of a label's width left free between two labels.
class PictureTicker : public QCPAxisTicker {
 public:
  using LabelFunction = std::function<QString(double)>;
  void setLabelFunction(LabelFunction f) { label_ = std::move(f); }
  void setIntegerSteps(bool on) { integerSteps_ = on; }
  bool integerSteps() const { return integerSteps_; }
  void setSpacingPercent(int percent) { spacingPercent_ = percent; }
  int spacingPercent() const { return spacingPercent_; }
  void setAxisLengthPixels(int pixels) { axisPixels_ = pixels; }
  QString labelFor(double tick) const;

 protected:
  double getTickStep(const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

 private:
  LabelFunction label_;
  bool integerSteps_ = false;
  int spacingPercent_ = 20;
  int axisPixels_ = 600;
};

class PlotChart : public QCustomPlot {
  Q_OBJECT
 public:
  explicit PlotChart(QWidget* parent = nullptr);

  QCPAxis* axis(ChartAxis a) const;
  // Automatic scaling follows the drawn data at every redraw; fixed limits stay until changed.
  void setAutomatic(ChartAxis a, bool on);
  bool automatic(ChartAxis a) const { return state(a).automatic; }
  void setLimits(ChartAxis a, double min, double max);  // switches automatic scaling off
  QCPRange limits(ChartAxis a) const { return axis(a)->range(); }
  void setValueFormat(ChartAxis a, const QString& picture);
  QString valueFormat(ChartAxis a) const { return state(a).format; }
  void setLogarithmic(ChartAxis a, bool on);
  bool logarithmic(ChartAxis a) const;
  void setAxisVisible(ChartAxis a, bool on);
  bool axisVisible(ChartAxis a) const { return axis(a)->visible(); }
  void setAxisTitle(ChartAxis a, const QString& text, const QColor& color);
  void setGridVisible(ChartAxis a, bool on);
  bool gridVisible(ChartAxis a) const;
  // The bottom axis's labels: by default the value in the axis's picture format; a quick chart
  // shows the independent variable of the record under each whole-numbered tick instead.
  void setBottomLabels(PictureTicker::LabelFunction f, bool integerSteps);
  void setBottomLabelSpacing(int percent);
  int bottomLabelSpacing() const;
  QString bottomLabelAt(double tick) const;

  void setTitleLines(const QStringList& lines);
  QStringList titleLines() const { return title_; }
  void setFootText(const QString& text);
  QString footText() const { return foot_; }
  void setBackColor(const QColor& c);
  QColor backColor() const { return backColor_; }
  // insideFrame: the picture fills the axes' frame only; otherwise it lies behind the whole chart.
  void setBackImage(const QPixmap& picture, bool insideFrame);
  void clearBackImage();
  bool hasBackImage() const { return hasBackImage_; }

  // Returns every axis to what the program last set (automatic or its fixed limits), dropping
  // the zooms and pans of the mouse and the zoom buttons.
  void undoZoom();
  // Scales the automatic axes to the drawn data and repaints.
  void redraw();
  // Moves both limits of every axis by (max - min) * (percent - 100) / 100 towards the middle.
  void zoomPercent(double percent);
  bool zooming() const;
  void setAnimationMilliseconds(int ms) { animationMs_ = ms; }

 signals:
  void axisClicked(PlotChart* chart, tarvik::desktop::ChartAxis axis, Qt::MouseButton button);
  void zoomFinished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void processRectZoom(QRect rect, QMouseEvent* event) override;

 private:
  struct AxisState {
    bool automatic = true;
    double min = 0.0, max = 5.0;
    QString format;
    QSharedPointer<PictureTicker> ticker;
  };
  AxisState& state(ChartAxis a) { return axes_[static_cast<size_t>(a)]; }
  const AxisState& state(ChartAxis a) const { return axes_[static_cast<size_t>(a)]; }
  void rescaleAutomatic();
  void animateTo(const std::array<QCPRange, 4>& target);
  int axisAt(const QPoint& pos) const;

  std::array<AxisState, 4> axes_;
  QCPTextElement* titleElement_ = nullptr;
  QCPTextElement* footElement_ = nullptr;
  QStringList title_;
  QString foot_;
  QColor backColor_;
  bool hasBackImage_ = false;
  bool zoomed_ = false;  // the mouse or the zoom buttons changed the view since the last undo
  QVariantAnimation* animation_ = nullptr;
  int animationMs_ = 250;
  // Mouse gestures of our own: a click on an axis line and a right-button pan.
  int pressedAxis_ = -1;
  Qt::MouseButton pressedButton_ = Qt::NoButton;
  QPoint pressPos_;
  bool panning_ = false;
  std::array<QCPRange, 4> panStart_;
};

}  // namespace tarvik::desktop

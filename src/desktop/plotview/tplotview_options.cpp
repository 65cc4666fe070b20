// The plot window's chart options (colours, back pictures, log scales, grids, the bottom chart's
// Y-axis side), its panels, the zoom buttons and axis clicks, and display, JPEG save and print.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <cstring>

#include "desktop/dialogs.h"
#include "desktop/plotview/tplotview.h"
#include "desktop/plotview/wait_cursor.h"
#include "plot/axis_format.h"
#include "plot/jpeg_codec.h"
#include "plot/zoom.h"

namespace tarvik::desktop {

namespace {

void setTextColor(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, c);
  w->setPalette(pal);
}

void setBackgroundColor(QWidget* w, const QColor& c) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
}

// Reads a BMP through Qt and a JPEG through libjpeg; an empty image and a reason on failure.
QImage loadPicture(const QString& path, QString& reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return QImage();
  }
  const QByteArray bytes = file.readAll();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xD8) {
    RgbImage rgb;
    std::string error;
    if (!DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()), rgb, error)) {
      reason = QString::fromStdString(error);
      return QImage();
    }
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height; ++y) {
      std::memcpy(image.scanLine(y), rgb.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(rgb.width) * 3,
                  static_cast<size_t>(rgb.width) * 3);
    }
    return image;
  }
  QImage image;
  if (!image.loadFromData(bytes, "BMP")) {
    reason = "the file is neither a BMP nor a JPEG picture";
    return QImage();
  }
  return image;
}

RgbImage toRgb(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB888);
  RgbImage rgb;
  rgb.width = image.width();
  rgb.height = image.height();
  rgb.rgb.resize(static_cast<size_t>(rgb.width) * static_cast<size_t>(rgb.height) * 3);
  for (int y = 0; y < rgb.height; ++y) {
    std::memcpy(rgb.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(rgb.width) * 3, image.constScanLine(y),
                static_cast<size_t>(rgb.width) * 3);
  }
  return rgb;
}

}  // namespace

void TPlotView::chooseColor(int chart, bool background) {
  ColorBox* current = chart == 1 ? (background ? colorBG1_ : colorChart1_) : (background ? colorBG2_ : colorChart2_);
  const QColor c = dialogs_.chooseColor(current->color());
  if (!c.isValid()) return;
  if (chart == 1 && !background) {
    QCPScatterStyle style = Series1_->scatterStyle();
    style.setBrush(QBrush(c));
    Series1_->setScatterStyle(style);
    for (QWidget* w : std::initializer_list<QWidget*>{lblPlotColor1_, lblBkGround1_, lblPlotColorXY_, lblBkGroundXY_, tSTAT1_}) {
      setTextColor(w, c);
    }
    colorChart1_->setColor(c);
    colorChartXY_->setColor(c);
    Chart1_->replot();
  } else if (chart == 2 && !background) {
    QCPGraph* series = workingSeries();
    QPen pen = series->pen();
    pen.setColor(c);
    series->setPen(pen);
    Chart2_->axis(workingAxis())->setLabelColor(c);
    for (QWidget* w : std::initializer_list<QWidget*>{lblPlotColor2_, lblBkGround2_, lblPlotColorXY2_, lblBkGroundXY2_, tSTAT2_}) {
      setTextColor(w, c);
    }
    colorChart2_->setColor(c);
    colorChartXY2_->setColor(c);
    Chart2_->replot();
  } else if (chart == 1) {
    Chart1_->setBackColor(c);
    setBackgroundColor(lblBkGround1_, c);
    setBackgroundColor(lblBkGroundXY_, c);
    colorBG1_->setColor(c);
    colorChartXYbg_->setColor(c);
    Chart1_->replot();
  } else {
    Chart2_->setBackColor(c);
    setBackgroundColor(lblBkGround2_, c);
    setBackgroundColor(lblBkGroundXY2_, c);
    colorBG2_->setColor(c);
    colorChartXYbg2_->setColor(c);
    Chart2_->replot();
  }
}

void TPlotView::colorChartClick(QObject* sender) {
  if (sender == colorChart1_) chooseColor(1, false);
  else if (sender == colorChart2_) chooseColor(2, false);
  else if (sender == colorBG1_) chooseColor(1, true);
  else if (sender == colorBG2_) chooseColor(2, true);
}

void TPlotView::btnBkPixClick(QObject* sender) {
  if (sender == btnBkPix_ || sender == btnBkPix2_) {
    const QString path =
        dialogs_.openFileName("Load background image (*.bmp or *.jpeg only)", "Image File (*.jpeg *.jpg *.bmp)");
    if (path.isEmpty()) return;
    QString reason;
    const QImage picture = loadPicture(path, reason);
    if (picture.isNull()) {
      dialogs_.showError("Tarvik", "Couldn't load the picture \"" + path + "\": " + reason);
      return;
    }
    if (sender == btnBkPix_) {
      Chart1_->setBackImage(QPixmap::fromImage(picture), true);
    } else {
      Chart2_->setBackImage(QPixmap::fromImage(picture), false);
    }
  } else if (sender == colorChartXYbg_) {
    Chart1_->clearBackImage();
    Chart1_->replot();
    chooseColor(1, true);
  } else if (sender == colorChartXYbg2_) {
    Chart2_->clearBackImage();
    Chart2_->replot();
    chooseColor(2, true);
  } else if (sender == colorChartXY_) {
    chooseColor(1, false);
  } else if (sender == colorChartXY2_) {
    chooseColor(2, false);
  }
}

void TPlotView::cbChartClick(QObject* sender) {
  if (!OptionEventLatch) {
    OptionEventLatch = true;
    return;
  }
  if (sender == cbLogChart1_) {
    const bool ticked = cbLogChart1_->isChecked();
    if (!ticked || Chart1_->limits(ChartAxis::Left).lower > 0) {
      Chart1_->setLogarithmic(ChartAxis::Left, ticked);
      Chart1_->replot();
      return;
    }
    dialogs_.showError("Log Math Error...",
                       "Top Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched Axis "
                       "mode to Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check \"Log "
                       "Scale\" button.");
    cbLogChart1_->setChecked(false);
    return;
  }
  if (sender != cbLogChart2_) return;
  const bool ticked = cbLogChart2_->isChecked();
  const ChartAxis axis = workingAxis();
  const bool visible = Chart2_->axisVisible(axis);
  if (ticked && visible && Chart2_->limits(axis).lower <= 0) {
    dialogs_.showError("Log Math Error...",
                       "Bottom Chart: Axis Minimum Scale is negative (or zero)--Log Scale was not possible. Switched "
                       "Axis mode to Linear.\n\nTo perform Log Scale operation, re-scale Chart Axis, then re-check "
                       "\"Log Scale\" button");
    cbLogChart2_->setChecked(false);
    return;
  }
  if (visible) {
    Chart2_->setLogarithmic(axis, ticked);
    AxisMemory[workingSide()].LogScale = ticked;
    Chart2_->replot();
  }
}

void TPlotView::chkGridClick(QObject* sender) {
  if (sender == chkGridX_) Chart1_->setGridVisible(ChartAxis::Bottom, !chkGridX_->isChecked()), Chart1_->replot();
  if (sender == chkGridY_) Chart1_->setGridVisible(ChartAxis::Left, !chkGridY_->isChecked()), Chart1_->replot();
  if (sender == chkGridX2_) Chart2_->setGridVisible(ChartAxis::Bottom, !chkGridX2_->isChecked()), Chart2_->replot();
  if (sender == chkGridY2_) Chart2_->setGridVisible(ChartAxis::Left, !chkGridY2_->isChecked()), Chart2_->replot();
}

void TPlotView::rbYLeftRightClick(QObject* sender) {
  const Side side = sender == rbLeftB_ ? LeftSide : RightSide;
  OptionEventLatch = false;
  const QColor c = (side == LeftSide ? Series2_ : Series4_)->pen().color();
  for (QWidget* w : std::initializer_list<QWidget*>{lblPlotColor2_, lblBkGround2_, lblPlotColorXY2_, lblBkGroundXY2_}) {
    setTextColor(w, c);
  }
  colorChart2_->setColor(c);
  colorChartXY2_->setColor(c);
  // Each box whose state changes runs its own handler: the first only sets the latch again.
  cbNoFlagChart2_->setChecked(AxisMemory[side].NoFlags);
  cbLogChart2_->setChecked(AxisMemory[side].LogScale);
  const ChartAxis axis = side == LeftSide ? ChartAxis::Left : ChartAxis::Right;
  if (Chart2_->axisVisible(axis) && AxisMemory[side].VarIndex < VarList2_->count()) {
    VarList2_->setCurrentIndex(AxisMemory[side].VarIndex);
  }
  QThread::msleep(100);
  OptionEventLatch = true;
  btnRePlotXYClick(cbAutoScaleYB_);
}

void TPlotView::btnShowHideClick(QObject* sender) {
  auto showPanel = [this](QFrame* panel) {
    panel->adjustSize();
    placeCharts();
    panel->show();
    panel->raise();
  };
  if (sender == btnOp_) {
    pnlXYScale_->hide();
    showPanel(pnlOptions_);
  } else if (sender == btnO_) {
    pnlXYScale_->show();
    showPanel(pnlOptions_);
  } else if (sender == btnOp2_) {
    showPanel(pnlOptions2_);
  } else if (sender == btnX_) {
    pnlOptions_->hide();
  } else if (sender == btnX2_) {
    pnlOptions2_->hide();
  } else if (sender == btnHelpOpen_) {
    showPanel(helpPanel_);
  } else if (sender == btnHelpClose_) {
    helpPanel_->hide();
  }
}

void TPlotView::ZoomInOutBtnClick(QObject* sender) {
  if (sender == btnUndoZoom_) {
    Chart1_->setAutomatic(ChartAxis::Bottom, true);
    Chart1_->setAutomatic(ChartAxis::Left, true);
    Chart2_->setAutomatic(ChartAxis::Bottom, true);
    Chart2_->setAutomatic(ChartAxis::Left, true);
    Chart2_->setAutomatic(ChartAxis::Right, true);
    Chart1_->undoZoom();
    Chart2_->undoZoom();
    Chart1_->replot();
    Chart2_->replot();
    return;
  }
  const double percent = sender == btnZoomIn_ ? kZoomInPercent : kZoomOutPercent;
  btnZoomIn_->setEnabled(false);
  btnZoomOut_->setEnabled(false);
  Chart1_->zoomPercent(percent);
  Chart2_->zoomPercent(percent);
  if (!Chart1_->zooming() && !Chart2_->zooming()) {
    btnZoomIn_->setEnabled(true);
    btnZoomOut_->setEnabled(true);
  }
}

void TPlotView::ClickAxis(PlotChart* chart, ChartAxis axis, Qt::MouseButton button) {
  const QCPRange r = chart->limits(axis);
  chart->setAutomatic(axis, false);
  chart->setValueFormat(axis, QString::fromStdString(PickAxisFormat(r.lower, r.upper)));
  AxisButton which = AxisButton::Other;
  if (button == Qt::LeftButton) which = AxisButton::Left;
  if (button == Qt::RightButton) which = AxisButton::Right;
  if (which == AxisButton::Other) {
    chart->replot();
    return;
  }
  const AxisRange next = AxisClickRange({r.lower, r.upper}, which);
  chart->setLimits(axis, next.min, next.max);
  chart->redraw();
}

QImage TPlotView::takeImage() {
  auto grab = [this](int w, int h) {
    const QRect area = QRect(0, 0, w, h).intersected(chartArea_->rect());
    return chartArea_->grab(area).toImage();
  };
  QImage image;
  if (rbPrintTop_->isChecked()) {
    // After "Bottom Chart" the top chart is hidden under the moved bottom chart: it comes back
    // first, so that the picture shows it and the window is not left without a chart.
    if (Chart1_->isHidden()) {
      Chart1_->show();
      Chart1_->raise();
      Chart1_->replot();
    }
    image = grab(Chart1_->width(), Chart1_->height());
    if (!Chart2_->isHidden()) {
      Chart1_->setGeometry(0, 0, chartArea_->width(), 2 * layoutMemory_.topHeight);
      Chart2_->hide();
      Chart2_->setGeometry(0, layoutMemory_.bottomTop, chartArea_->width(), Chart2_->height());
      Chart1_->replot();
    }
  } else if (rbPrintBottom_->isChecked()) {
    // After "Top Chart" the bottom chart is hidden: it is shown again where it is moved to.
    Chart2_->setGeometry(0, 0, chartArea_->width(), Chart2_->height());
    if (Chart2_->isHidden()) {
      Chart2_->show();
      Chart2_->replot();
    }
    Chart2_->raise();
    image = grab(Chart2_->width(), Chart2_->height());
    if (!Chart1_->isHidden()) {
      Chart2_->setGeometry(0, 0, chartArea_->width(), 2 * layoutMemory_.bottomHeight);
      Chart1_->hide();
      Chart2_->replot();
    }
  } else {
    image = grab(Chart1_->width(), Chart1_->height() + Chart2_->height());
    if (Chart1_->isHidden() || Chart2_->isHidden()) {
      Chart1_->setGeometry(0, 0, chartArea_->width(), layoutMemory_.topHeight);
      Chart1_->show();
      Chart1_->replot();
      Chart2_->setGeometry(0, layoutMemory_.bottomTop, chartArea_->width(), layoutMemory_.bottomHeight);
      Chart2_->show();
      Chart2_->replot();
    }
  }
  topBox_->setVisible(!Chart1_->isHidden());
  bottomBox_->setVisible(!Chart2_->isHidden());
  return image;
}

void TPlotView::btnChartSaveDsipPrintClick(QObject* sender) {
  lastImage_ = takeImage();
  if (sender == btnSaveJpg_) {
    const QString path = dialogs_.saveFileName("Saving image to file ... ", saveFileName_,
                                               "JPEG File (*.jpeg);;JPEG File (*.jpg);;All Files (*.*)");
    if (path.isEmpty()) return;
    std::string error;
    if (!WriteJpegFile(QFile::encodeName(path).toStdString(), toRgb(lastImage_), error)) {
      dialogs_.showError("Tarvik", "Couldn't save the picture to \"" + path + "\": " + QString::fromStdString(error));
      return;
    }
    saveFileName_ = path;
  } else if (sender == btnPrint_) {
    printImage(lastImage_);
  }
}

void TPlotView::printImage(const QImage& image) {
  QPrinter printer(QPrinter::HighResolution);
  if (!dialogs_.setUpPrinter(printer)) return;
  WaitCursor wait;
  const QPageLayout::Orientation before = printer.pageLayout().orientation();
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName("Ostrel Tarvik ZedeRevu Printing . . .");
  QPainter painter;
  bool ok = painter.begin(&printer);
  if (ok) {
    const PrintRect r = PrintRectangle(printer.width(), printer.height());
    painter.drawImage(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), image);
    ok = painter.end();
  }
  if (!ok) {
    if (painter.isActive()) painter.end();
    printer.abort();
  }
  printer.setPageOrientation(before);
  if (!ok) dialogs_.showError("Tarvik", "Printing failed: the printer could not print the charts.");
}

void TPlotView::PageControl1Change(int index) {
  if (PageControl1_->widget(index) == nullptr || PageControl1_->widget(index)->objectName() != "TabXYPlotting") return;
  rbPrintTop_->setChecked(true);
  btnChartSaveDsipPrintClick(btnDisplay_);
}

}  // namespace tarvik::desktop

// The plot window: two stacked charts of the last scan's values (points on top, lines below with
// a left and a right axis), the statistics lines, the XY page with correlation and linear fit, the
// extraction of columns to text, chart options, zoom, display in double height, JPEG and print.
// It owns the plot data store: a scan fills it through the PlotWindow calls, a record at a time.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <array>
#include <string>
#include <string_view>

#include "desktop/plot_window.h"
#include "desktop/plotview/plot_chart.h"
#include "plot/plot_data_store.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace tarvik::desktop {

class Dialogs;

// A clickable box filled with a colour (the window's "PlotColor:" and "BkGround:" boxes).
class ColorBox : public QPushButton {
  Q_OBJECT
 public:
  explicit ColorBox(const QColor& color, QWidget* parent = nullptr);
  QColor color() const { return color_; }
  void setColor(const QColor& c);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_;
};

class TPlotView : public QDialog, public PlotWindow {
  Q_OBJECT
 public:
  explicit TPlotView(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TPlotView() override;

  // The store's operations, with what the window shows of them.
  void InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) override;
  void AddPlotVariable(std::string_view definitionLine) override;
  void PutPlotRecord(int64_t recordIndex, const double* values, const uint8_t* flagClasses, int32_t count) override {
    store_.PutPlotRecord(recordIndex, values, flagClasses, count);
  }
  void PutPlotValue(double value, int64_t recordIndex, int32_t columnIndex, bool isFlagged) {
    store_.PutPlotValue(value, recordIndex, columnIndex, isFlagged);
  }
  void TrimPlotRecords(int64_t recordsStored) override { store_.TrimPlotRecords(recordsStored); }
  void FreePlotData() override;
  const PlotDataStore& store() const { return store_; }

  // Shows the window over the main window, centred on it.
  void showOver(QWidget* mainWindow) override;
  void hideWindow() override { hide(); }

  // The bottom chart's memory of each Y axis.
  struct AxisMemoryEntry {
    bool NoFlags = false;
    bool LogScale = false;
    int32_t VarIndex = 0;
  };
  enum Side { LeftSide = 0, RightSide = 1 };
  std::array<AxisMemoryEntry, 2> AxisMemory;
  // Set while the chart handlers run normally; cleared just before check boxes change from code.
  bool OptionEventLatch = true;
  struct Layout {
    int topHeight = 0;
    int bottomHeight = 0;
    int bottomTop = 0;
  };
  const Layout& LayoutMemory() const { return layoutMemory_; }
  // The file name the save dialog proposes next.
  const QString& saveDialogFileName() const { return saveFileName_; }
  // The picture of the last "Display", "Save (.jpg)" or "Print ".
  const QImage& lastImage() const { return lastImage_; }
  // How long an animated zoom runs (the tests set 0).
  void setZoomAnimationMilliseconds(int ms);

 public slots:
  void VarListChange(QObject* sender);
  void btnComputeClick(QObject* sender);
  void btnOptionClick();
  void btnRePlotXYClick(QObject* sender);
  void btnSaveSelListClick();
  void colorChartClick(QObject* sender);
  void btnBkPixClick(QObject* sender);
  void cbChartClick(QObject* sender);
  void chkGridClick(QObject* sender);
  void rbYLeftRightClick(QObject* sender);
  void btnShowHideClick(QObject* sender);
  void ZoomInOutBtnClick(QObject* sender);
  void ClickAxis(PlotChart* chart, ChartAxis axis, Qt::MouseButton button);
  void btnChartSaveDsipPrintClick(QObject* sender);
  void PageControl1Change(int index);
  void ChartCloseClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildControls();
  QGridLayout* buildChartBox(QWidget* page, bool top);
  QWidget* buildFastPage();
  QWidget* buildXYPage();
  QWidget* buildExtractionPage();
  QWidget* buildRightPanel();
  QWidget* buildHintsPanel();
  QFrame* buildOptionsPanel(bool top);
  QFrame* buildHelpPanel();
  void placeCharts();
  void connectHandlers();

  void setRecordPoints(QCPGraph* series, int32_t c, bool noFlags);
  QString recordLabel(double tick) const;
  void drawTopChart(int32_t c);
  void drawBottomChart(int32_t c);
  void ShowStats(int32_t c, int chart);
  ChartAxis workingAxis() const;
  QCPGraph* workingSeries() const;
  Side workingSide() const;
  void chooseColor(int chart, bool background);
  void bottomAutoScale();
  bool readNumber(QLineEdit* edit, double& value);
  bool applyScale(PlotChart* chart, ChartAxis axis, QLineEdit* minEdit, QLineEdit* maxEdit, const QString& errorCaption,
                  const QString& errorText);
  QImage takeImage();
  void printImage(const QImage& image);

  Dialogs& dialogs_;
  PlotDataStore store_;
  Layout layoutMemory_;
  QString saveFileName_;
  QImage lastImage_;

  // Charts and their series.
  QWidget* chartArea_ = nullptr;
  QWidget* lowerPart_ = nullptr;
  PlotChart* Chart1_ = nullptr;
  PlotChart* Chart2_ = nullptr;
  QCPGraph* Series1_ = nullptr;
  QCPGraph* Series3_ = nullptr;
  QCPGraph* Series2_ = nullptr;
  QCPGraph* Series4_ = nullptr;
  QLabel* Fn1Label_ = nullptr;
  QLabel* Fn2Label_ = nullptr;
  QLabel* tSTAT1_ = nullptr;
  QLabel* tSTAT2_ = nullptr;

  QTabWidget* PageControl1_ = nullptr;
  // "Fast Plotting ..."
  QComboBox* VarList1_ = nullptr;
  QComboBox* VarList2_ = nullptr;
  QCheckBox* cbLogChart1_ = nullptr;
  QCheckBox* cbLogChart2_ = nullptr;
  QCheckBox* cbNoFlagChart1_ = nullptr;
  QCheckBox* cbNoFlagChart2_ = nullptr;
  QGroupBox* topBox_ = nullptr;
  QGroupBox* bottomBox_ = nullptr;
  QLabel* lblPlotColor1_ = nullptr;
  QLabel* lblBkGround1_ = nullptr;
  QLabel* lblPlotColor2_ = nullptr;
  QLabel* lblBkGround2_ = nullptr;
  ColorBox* colorChart1_ = nullptr;
  ColorBox* colorBG1_ = nullptr;
  ColorBox* colorChart2_ = nullptr;
  ColorBox* colorBG2_ = nullptr;
  QPushButton* btnOp_ = nullptr;
  QPushButton* btnOp2_ = nullptr;
  QRadioButton* rbLeftB_ = nullptr;
  QRadioButton* rbRightB_ = nullptr;
  QCheckBox* cbAutoScaleYB_ = nullptr;
  QLineEdit* TYBmin_ = nullptr;
  QLineEdit* TYBmax_ = nullptr;
  QLabel* lblYBmin_ = nullptr;
  QLabel* lblYBmax_ = nullptr;
  QPushButton* btnRePlotYB_ = nullptr;
  QPushButton* btnHelpOpen_ = nullptr;
  // "XY Plotting/Correlation ..."
  QComboBox* YList_ = nullptr;
  QComboBox* XList_ = nullptr;
  QPushButton* btnPlotXY_ = nullptr;
  QPushButton* btnCompute_ = nullptr;
  QCheckBox* chkHideZ_ = nullptr;
  QPushButton* btnO_ = nullptr;
  QPlainTextEdit* zStat_ = nullptr;
  // "Data Extraction..."
  QListWidget* ZList_ = nullptr;
  QComboBox* RESAMPLE_ = nullptr;
  QPushButton* btnSaveSelList_ = nullptr;
  // Right-hand panel.
  QRadioButton* rbPrintTop_ = nullptr;
  QRadioButton* rbPrintBottom_ = nullptr;
  QRadioButton* rbPrintBoth_ = nullptr;
  QPushButton* btnDisplay_ = nullptr;
  QPushButton* btnSaveJpg_ = nullptr;
  QPushButton* btnPrint_ = nullptr;
  QPushButton* btnZoomIn_ = nullptr;
  QPushButton* btnZoomOut_ = nullptr;
  QPushButton* btnUndoZoom_ = nullptr;
  QPushButton* ChartClose_ = nullptr;
  // Option panels of the top chart (with its XY scale panel) and of the bottom chart.
  QFrame* pnlOptions_ = nullptr;
  QFrame* pnlOptions2_ = nullptr;
  QFrame* pnlXYScale_ = nullptr;
  QFrame* helpPanel_ = nullptr;
  QLabel* lblPlotColorXY_ = nullptr;
  QLabel* lblBkGroundXY_ = nullptr;
  QLabel* lblPlotColorXY2_ = nullptr;
  QLabel* lblBkGroundXY2_ = nullptr;
  ColorBox* colorChartXY_ = nullptr;
  ColorBox* colorChartXYbg_ = nullptr;
  ColorBox* colorChartXY2_ = nullptr;
  ColorBox* colorChartXYbg2_ = nullptr;
  QPushButton* btnBkPix_ = nullptr;
  QPushButton* btnBkPix2_ = nullptr;
  QCheckBox* chkGridX_ = nullptr;
  QCheckBox* chkGridY_ = nullptr;
  QCheckBox* chkGridX2_ = nullptr;
  QCheckBox* chkGridY2_ = nullptr;
  QPushButton* btnX_ = nullptr;
  QPushButton* btnX2_ = nullptr;
  QPushButton* btnHelpClose_ = nullptr;
  QCheckBox* chkAutoXY_ = nullptr;
  QCheckBox* cbHM_ = nullptr;
  QLineEdit* TXmin_ = nullptr;
  QLineEdit* TXmax_ = nullptr;
  QLineEdit* TYmin_ = nullptr;
  QLineEdit* TYmax_ = nullptr;
  QLabel* lblXYAxes_ = nullptr;
  QLabel* lblMins_ = nullptr;
  QLabel* lblMaxs_ = nullptr;
  QPushButton* btnRePlotXY_ = nullptr;
};

}  // namespace tarvik::desktop

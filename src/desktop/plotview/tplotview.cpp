// The plot window's controls, its layout and the store operations that fill and empty it.
#include "desktop/plotview/tplotview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/dialogs.h"
#include "desktop/windows.h"

namespace tarvik::desktop {

namespace {

template <typename W>
W* named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr) {
  auto* l = new QLabel(text, parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

const QColor kLightGrey(0xd3, 0xd3, 0xd3);

// Keeps a chart's corner label and statistics line in place when the chart changes size.
class OverlayKeeper : public QObject {
 public:
  OverlayKeeper(QWidget* chart, QLabel* corner, QLabel* stats) : QObject(chart), corner_(corner), stats_(stats) {
    chart->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
      auto* w = static_cast<QWidget*>(watched);
      corner_->move(8, 4);
      corner_->adjustSize();
      stats_->setGeometry(3, w->height() - 21, w->width() - 6, 18);
    }
    return false;
  }

 private:
  QLabel* corner_;
  QLabel* stats_;
};

}  // namespace

std::unique_ptr<PlotWindow> makePlotWindow(Dialogs& dialogs) { return std::make_unique<TPlotView>(dialogs); }

ColorBox::ColorBox(const QColor& color, QWidget* parent) : QPushButton(parent), color_(color) {
  setFixedSize(34, 18);
  setCursor(Qt::PointingHandCursor);
}

void ColorBox::setColor(const QColor& c) {
  color_ = c;
  update();
}

void ColorBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color_);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TPlotView::TPlotView(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinMaxButtonsHint),
      dialogs_(dialogs) {
  setObjectName("PlotView");
  // A failed allocation of the store is shown as an error box ("Memory Error ...").
  store_.setMessageSink([this](const std::string& caption, const std::string& text) {
    dialogs_.showError(QString::fromStdString(caption), QFile::decodeName(QByteArray::fromStdString(text)));
  });
  setModal(false);
  setWindowTitle("Fast Plot View . . .");
  buildControls();
  connectHandlers();
  // The window takes 92 % of the screen's width; the charts share the height the controls leave.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int width = static_cast<int>(0.92 * (screen ? screen->geometry().width() : 1024));
  lowerPart_->ensurePolished();
  lowerPart_->layout()->activate();
  const int controls = lowerPart_->sizeHint().height() + 16;
  const int chartHeight = std::max(150, (avail.height() - controls - 40) / 2);
  layoutMemory_ = {chartHeight, chartHeight, chartHeight};
  chartArea_->setFixedHeight(2 * chartHeight);
  Chart1_->setGeometry(0, 0, width, chartHeight);
  Chart2_->setGeometry(0, chartHeight, width, chartHeight);
  resize(width, 2 * chartHeight + controls);
  AxisMemory = {};
  OptionEventLatch = true;
}

TPlotView::~TPlotView() = default;

void TPlotView::buildControls() {
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(4, 4, 4, 4);
  root->setSpacing(4);

  chartArea_ = named(new QWidget(this), "ChartArea");
  Chart1_ = named(new PlotChart(chartArea_), "Chart1");
  Chart2_ = named(new PlotChart(chartArea_), "Chart2");
  root->addWidget(chartArea_);

  // Top chart: points of Series1 and the fitted line Series3.
  Series1_ = Chart1_->addGraph(Chart1_->xAxis, Chart1_->yAxis);
  Series1_->setObjectName("Series1");
  Series1_->setLineStyle(QCPGraph::lsNone);
  QCPScatterStyle squares(QCPScatterStyle::ssSquare, 3);
  squares.setPen(QPen(Qt::NoPen));
  squares.setBrush(QBrush(Qt::red));
  Series1_->setScatterStyle(squares);
  Series1_->setPen(QPen(Qt::NoPen));
  Series1_->setAntialiasedScatters(false);
  Series3_ = Chart1_->addGraph(Chart1_->xAxis, Chart1_->yAxis);
  Series3_->setObjectName("Series3");
  Series3_->setPen(QPen(Qt::black, 4));
  Chart1_->setTitleLines({"Quick Chart"});
  Chart1_->setValueFormat(ChartAxis::Bottom, "#");
  // Bottom chart: a line on the left axis (Series2) and one on the right axis (Series4).
  Series2_ = Chart2_->addGraph(Chart2_->xAxis, Chart2_->yAxis);
  Series2_->setObjectName("Series2");
  Series2_->setPen(QPen(Qt::blue, 3));
  Series4_ = Chart2_->addGraph(Chart2_->xAxis, Chart2_->yAxis2);
  Series4_->setObjectName("Series4");
  Series4_->setPen(QPen(Qt::red, 3));
  Chart2_->setTitleLines({"Quick Chart"});
  Chart2_->setValueFormat(ChartAxis::Bottom, "#.##");
  Chart2_->setAxisVisible(ChartAxis::Left, false);
  Chart2_->setAxisVisible(ChartAxis::Right, false);

  Fn1Label_ = label(QString(), Chart1_, "Fn1Label");
  Fn2Label_ = label(QString(), Chart2_, "Fn2Label");
  tSTAT1_ = label("Stats", Chart1_, "tSTAT1");
  tSTAT2_ = label("Stats", Chart2_, "tSTAT2");
  for (QLabel* stats : {tSTAT1_, tSTAT2_}) {
    stats->setAutoFillBackground(true);
    QPalette pal = stats->palette();
    pal.setColor(QPalette::Window, QColor(0xff, 0xff, 0xe1));
    pal.setColor(QPalette::WindowText, Qt::black);
    stats->setPalette(pal);
    stats->setFont(QFont("Monospace", 8));
  }
  new OverlayKeeper(Chart1_, Fn1Label_, tSTAT1_);
  new OverlayKeeper(Chart2_, Fn2Label_, tSTAT2_);

  lowerPart_ = named(new QWidget(this), "LowerPart");
  auto* lower = new QHBoxLayout(lowerPart_);
  lower->setContentsMargins(0, 0, 0, 0);
  lower->setSpacing(6);
  PageControl1_ = named(new QTabWidget(this), "PageControl1");
  PageControl1_->addTab(buildFastPage(), "Fast Plotting ...");
  PageControl1_->addTab(buildXYPage(), "XY Plotting/Correlation ...");
  PageControl1_->addTab(buildExtractionPage(), "Data Extraction...");
  lower->addWidget(PageControl1_, 1, Qt::AlignTop);
  lower->addWidget(buildRightPanel());
  lower->addWidget(buildHintsPanel());
  root->addWidget(lowerPart_);

  pnlOptions_ = buildOptionsPanel(true);
  pnlOptions2_ = buildOptionsPanel(false);
  helpPanel_ = buildHelpPanel();
}

// The box of one chart on the "Fast Plotting ..." page: its list, "Log Scale", the remove-flags box,
// the colour boxes with their labels and "Options ...". Returns the box's grid for more controls.
QGridLayout* TPlotView::buildChartBox(QWidget* page, bool top) {
  const char* n = top ? "1" : "2";
  auto name = [n](const char* base) { return QByteArray(base) + n; };
  QGroupBox* box = named(new QGroupBox(top ? "Top Chart (Y-Plot) : Point" : "Bottom Chart ( Y-Plot) : Line", page),
                         top ? "TopChartBox" : "BottomChartBox");
  auto* g = new QGridLayout(box);
  auto* list = named(new QComboBox(box), name("VarList").constData());
  list->setMaxVisibleItems(12);
  list->setMinimumContentsLength(22);
  g->addWidget(list, 0, 0, 1, 5);
  auto* log = named(new QCheckBox("Log Scale", box), name("cbLogChart").constData());
  log->setEnabled(false);
  auto* noFlags = named(new QCheckBox("Remove Missing and LOD Flags From Chart", box), name("cbNoFlagChart").constData());
  g->addWidget(log, 1, 0);
  g->addWidget(noFlags, 1, 1, 1, 4);
  QLabel* plotLabel = label("PlotColor:", box, name("lblPlotColor").constData());
  auto* plotBox = named(new ColorBox(top ? QColor(Qt::red) : QColor(Qt::blue), box), name("colorChart").constData());
  QLabel* bgLabel = label("BkGround:", box, name("lblBkGround").constData());
  auto* bgBox = named(new ColorBox(kLightGrey, box), name("colorBG").constData());
  plotBox->setToolTip("Click here to change color");
  bgBox->setToolTip("Click here to change color");
  auto* options = named(new QPushButton("Options ...", box), top ? "btnOp" : "btnOp2");
  g->addWidget(plotLabel, 2, 0);
  g->addWidget(plotBox, 2, 1);
  g->addWidget(bgLabel, 2, 2);
  g->addWidget(bgBox, 2, 3);
  g->addWidget(options, 2, 4);
  (top ? topBox_ : bottomBox_) = box;
  (top ? VarList1_ : VarList2_) = list;
  (top ? cbLogChart1_ : cbLogChart2_) = log;
  (top ? cbNoFlagChart1_ : cbNoFlagChart2_) = noFlags;
  (top ? lblPlotColor1_ : lblPlotColor2_) = plotLabel;
  (top ? colorChart1_ : colorChart2_) = plotBox;
  (top ? lblBkGround1_ : lblBkGround2_) = bgLabel;
  (top ? colorBG1_ : colorBG2_) = bgBox;
  (top ? btnOp_ : btnOp2_) = options;
  return g;
}

QWidget* TPlotView::buildFastPage() {
  auto* page = named(new QWidget, "TabFastPlotting");
  auto* v = new QVBoxLayout(page);
  v->addWidget(label("Select an item from list to Fast View", page));
  auto* boxes = new QHBoxLayout;
  v->addLayout(boxes);

  buildChartBox(page, true);
  boxes->addWidget(topBox_, 0, Qt::AlignTop);
  QGridLayout* b = buildChartBox(page, false);
  auto* yGroup = named(new QGroupBox("Y-Axis To Use :", bottomBox_), "YAxisToUse");
  auto* y = new QGridLayout(yGroup);
  rbLeftB_ = named(new QRadioButton("Left ", yGroup), "rbLeftB");
  rbRightB_ = named(new QRadioButton("Right", yGroup), "rbRightB");
  rbLeftB_->setChecked(true);
  cbAutoScaleYB_ = named(new QCheckBox("AutoScale ", yGroup), "cbAutoScaleYB");
  cbAutoScaleYB_->setChecked(true);
  lblYBmin_ = label("Min", yGroup, "lblYBmin");
  lblYBmax_ = label("Max", yGroup, "lblYBmax");
  TYBmin_ = named(new QLineEdit("Auto", yGroup), "TYBmin");
  TYBmax_ = named(new QLineEdit("Auto", yGroup), "TYBmax");
  btnRePlotYB_ = named(new QPushButton(">> Go", yGroup), "btnRePlotYB");
  btnRePlotYB_->setToolTip("Re-draw Y using the Min/Max Scales");
  for (QWidget* w : std::initializer_list<QWidget*>{lblYBmin_, lblYBmax_, TYBmin_, TYBmax_, btnRePlotYB_}) {
    w->setEnabled(false);
  }
  TYBmin_->setMaximumWidth(80);
  TYBmax_->setMaximumWidth(80);
  y->setContentsMargins(6, 2, 6, 2);
  y->addWidget(rbLeftB_, 0, 0, 1, 2);
  y->addWidget(rbRightB_, 0, 2, 1, 2);
  y->addWidget(cbAutoScaleYB_, 0, 4);
  y->addWidget(lblYBmin_, 1, 0);
  y->addWidget(TYBmin_, 1, 1);
  y->addWidget(lblYBmax_, 1, 2);
  y->addWidget(TYBmax_, 1, 3);
  y->addWidget(btnRePlotYB_, 1, 4);
  b->addWidget(yGroup, 3, 0, 1, 5);
  boxes->addWidget(bottomBox_, 0, Qt::AlignTop);

  btnHelpOpen_ = named(new QPushButton("?", page), "btnHelpOpen");
  btnHelpOpen_->setFixedWidth(28);
  boxes->addWidget(btnHelpOpen_, 0, Qt::AlignTop);
  v->addStretch(1);
  return page;
}

QWidget* TPlotView::buildXYPage() {
  auto* page = named(new QWidget, "TabXYPlotting");
  auto* g = new QGridLayout(page);
  g->addWidget(label("Y-Axis : ", page), 0, 0);
  YList_ = named(new QComboBox(page), "YList");
  YList_->setMaxVisibleItems(12);
  YList_->setMinimumContentsLength(22);
  g->addWidget(YList_, 0, 1);
  g->addWidget(label("X-Axis : ", page), 1, 0);
  XList_ = named(new QComboBox(page), "XList");
  XList_->setMaxVisibleItems(12);
  XList_->setMinimumContentsLength(22);
  g->addWidget(XList_, 1, 1);
  btnPlotXY_ = named(new QPushButton("Plot XY", page), "btnPlotXY");
  btnCompute_ = named(new QPushButton("Plot  XY && Compute Corr...", page), "btnCompute");
  chkHideZ_ = named(new QCheckBox("Hide Z plot (Linear CurveFit)", page), "chkHideZ");
  chkHideZ_->setEnabled(false);
  btnO_ = named(new QPushButton("Show Top Chart Options ...", page), "btnO");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnPlotXY_);
  buttons->addWidget(btnCompute_);
  buttons->addWidget(btnO_);
  g->addLayout(buttons, 2, 0, 1, 2);
  g->addWidget(chkHideZ_, 3, 0, 1, 2);
  auto* l7 = label("           Top Chart          ", page, "Label7");
  l7->setFrameShape(QFrame::Panel);
  g->addWidget(l7, 4, 0, 1, 2);
  zStat_ = named(new QPlainTextEdit(page), "zStat");
  zStat_->setReadOnly(true);
  zStat_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  zStat_->setFont(QFont("Monospace", 8));
  g->addWidget(zStat_, 0, 2, 6, 1);
  g->setColumnStretch(2, 1);
  g->setRowStretch(5, 1);
  return page;
}

QWidget* TPlotView::buildExtractionPage() {
  auto* page = named(new QWidget, "TabDataExtraction");
  auto* g = new QGridLayout(page);
  g->addWidget(label("Select (1 or more) items from list , then press the \"Save Selected...\" button.", page), 0, 0,
               1, 3);
  ZList_ = named(new QListWidget(page), "ZList");
  ZList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  g->addWidget(ZList_, 1, 0, 4, 1);
  auto* every = new QHBoxLayout;
  every->addWidget(label("Save every", page));
  RESAMPLE_ = named(new QComboBox(page), "RESAMPLE");
  RESAMPLE_->setEditable(true);
  for (const char* n : {"1", "2", "3", "4", "5", "6", "10", "20", "30", "40", "50", "60", "100", "200", "300"}) {
    RESAMPLE_->addItem(n);
  }
  RESAMPLE_->setCurrentText("1");
  every->addWidget(RESAMPLE_);
  every->addWidget(label("point(s)", page));
  every->addStretch(1);
  g->addLayout(every, 1, 1);
  g->addWidget(label("Ex, 1= Saves all;   2 = Every other point;  etc.", page), 2, 1);
  btnSaveSelList_ = named(new QPushButton("Save Selected Columns data (.txt)", page), "btnSaveSelList");
  btnSaveSelList_->setToolTip("Save columns data to a text file");
  g->addWidget(btnSaveSelList_, 3, 1);
  g->addWidget(label("Press Ctrl+LeftClick to select one Item at a time.    Press Shift+LeftClick to selects a group "
                     "of items",
                     page),
               5, 0, 1, 3);
  g->setColumnStretch(0, 1);
  return page;
}

QWidget* TPlotView::buildRightPanel() {
  auto* panel = named(new QWidget(this), "RightPanel");
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 0);
  auto* sel = label("Select Top, Bottom or Both, then click on the appropriate button.", panel);
  sel->setWordWrap(true);
  sel->setMaximumWidth(260);
  v->addWidget(sel);
  auto* gPrint = named(new QGroupBox("Select to Display/Save/Print Charts : ", panel), "gPrint");
  auto* gp = new QVBoxLayout(gPrint);
  rbPrintTop_ = named(new QRadioButton("Top Chart", gPrint), "rbPrintTop");
  rbPrintBottom_ = named(new QRadioButton("Bottom Chart", gPrint), "rbPrintBottom");
  rbPrintBoth_ = named(new QRadioButton("Both Charts", gPrint), "rbPrintBoth");
  rbPrintBoth_->setChecked(true);
  gp->addWidget(rbPrintTop_);
  gp->addWidget(rbPrintBottom_);
  gp->addWidget(rbPrintBoth_);
  v->addWidget(gPrint);
  auto* g = new QGridLayout;
  btnDisplay_ = named(new QPushButton("Display", panel), "btnDisplay");
  btnSaveJpg_ = named(new QPushButton("Save (.jpg)", panel), "btnSaveJpg");
  btnPrint_ = named(new QPushButton("Print ", panel), "btnPrint");
  btnZoomIn_ = named(new QPushButton("Zoom IN", panel), "btnZoomIn");
  btnZoomOut_ = named(new QPushButton("Zoom OUT", panel), "btnZoomOut");
  btnUndoZoom_ = named(new QPushButton("Undo Zoom", panel), "btnUndoZoom");
  g->addWidget(btnDisplay_, 0, 0);
  g->addWidget(btnSaveJpg_, 0, 1);
  g->addWidget(btnPrint_, 0, 2);
  g->addWidget(btnZoomIn_, 1, 0);
  g->addWidget(btnZoomOut_, 1, 1);
  g->addWidget(btnUndoZoom_, 1, 2);
  v->addLayout(g);

  v->addStretch(1);
  return panel;
}

QWidget* TPlotView::buildHintsPanel() {
  auto* box = named(new QWidget(this), "HintsArea");
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  auto* hints = named(new QFrame(box), "HintsPanel");
  hints->setFrameShape(QFrame::StyledPanel);
  auto* h = new QVBoxLayout(hints);
  h->setSpacing(1);
  h->addWidget(label("Hints: ", hints));
  for (const char* text : {"1) You can zoom by dragging the mouse       on Chart. (Left Click and Drag)",
                           "2) To reset, simply select the same item         from the list",
                           "3) LeftClick or RightClick on X-Axis or Y-Axis       Edge (line) increases or decreases "
                           "its Min         and Max Values by 5% (Scaling).",
                           "4) To move Chart, RightClick and Drag (Panning)."}) {
    auto* hint = label(text, hints);
    hint->setWordWrap(true);
    hint->setFixedWidth(300);
    QFont f = hint->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    hint->setFont(f);
    h->addWidget(hint);
  }
  v->addWidget(hints);
  ChartClose_ = named(new QPushButton("Close", box), "ChartClose");
  v->addWidget(ChartClose_);
  v->addStretch(1);
  return box;
}

QFrame* TPlotView::buildOptionsPanel(bool top) {
  auto* panel = named(new QFrame(this), top ? "pnlOptions" : "pnlOptions2");
  panel->setFrameShape(QFrame::Box);
  panel->setAutoFillBackground(true);
  auto* v = new QVBoxLayout(panel);
  auto* head = new QHBoxLayout;
  head->addWidget(label(top ? "     Options (Top Chart)       " : "     Options (Bottom Chart)     ", panel), 1);
  QPushButton* close = named(new QPushButton("X", panel), top ? "btnX" : "btnX2");
  close->setToolTip("Close Options Panel");
  close->setFixedWidth(24);
  head->addWidget(close);
  v->addLayout(head);
  auto* g = new QGridLayout;
  QLabel* plotLabel = label("PlotColor :", panel, top ? "lblPlotColorXY" : "lblPlotColorXY2");
  auto* plotBox = named(new ColorBox(top ? QColor(Qt::red) : QColor(Qt::blue), panel),
                        top ? "colorChartXY" : "colorChartXY2");
  plotBox->setToolTip("Click here to change color");
  QLabel* bgLabel = label("BkGround : ", panel, top ? "lblBkGroundXY" : "lblBkGroundXY2");
  auto* bgBox = named(new ColorBox(kLightGrey, panel), top ? "colorChartXYbg" : "colorChartXYbg2");
  bgBox->setToolTip("Click here to change BG color");
  QPushButton* image = named(new QPushButton(" Image ...", panel), top ? "btnBkPix" : "btnBkPix2");
  image->setToolTip("Click here to load BG image");
  QCheckBox* gridX = named(new QCheckBox("Hide Grid X", panel), top ? "chkGridX" : "chkGridX2");
  QCheckBox* gridY = named(new QCheckBox("Hide Grid Y", panel), top ? "chkGridY" : "chkGridY2");
  g->addWidget(plotLabel, 0, 0);
  g->addWidget(plotBox, 0, 1);
  g->addWidget(bgLabel, 1, 0);
  g->addWidget(bgBox, 1, 1);
  g->addWidget(image, 1, 2);
  g->addWidget(gridX, 2, 0);
  g->addWidget(gridY, 2, 1);
  v->addLayout(g);
  if (top) {
    btnX_ = close;
    lblPlotColorXY_ = plotLabel;
    colorChartXY_ = plotBox;
    lblBkGroundXY_ = bgLabel;
    colorChartXYbg_ = bgBox;
    btnBkPix_ = image;
    chkGridX_ = gridX;
    chkGridY_ = gridY;
    pnlXYScale_ = named(new QFrame(panel), "pnlXYScale");
    pnlXYScale_->setFrameShape(QFrame::StyledPanel);
    auto* s = new QGridLayout(pnlXYScale_);
    s->addWidget(label("                       XY Axes Scaling / Format                     ", pnlXYScale_), 0, 0,
                 1, 3);
    chkAutoXY_ = named(new QCheckBox("AutoScale XY", pnlXYScale_), "chkAutoXY");
    chkAutoXY_->setChecked(true);
    cbHM_ = named(new QCheckBox("X-Axis (hh:mm)", pnlXYScale_), "cbHM");
    s->addWidget(chkAutoXY_, 1, 0);
    s->addWidget(cbHM_, 1, 1, 1, 2);
    lblXYAxes_ = label(" X-Axis  | Y-aixs", pnlXYScale_, "lblXYAxes");
    lblMins_ = label("Min's", pnlXYScale_, "lblMins");
    lblMaxs_ = label("Max's", pnlXYScale_, "lblMaxs");
    TXmin_ = named(new QLineEdit("Auto", pnlXYScale_), "TXmin");
    TXmax_ = named(new QLineEdit("Auto", pnlXYScale_), "TXmax");
    TYmin_ = named(new QLineEdit("Auto", pnlXYScale_), "TYmin");
    TYmax_ = named(new QLineEdit("Auto", pnlXYScale_), "TYmax");
    btnRePlotXY_ = named(new QPushButton("Update Plot", pnlXYScale_), "btnRePlotXY");
    btnRePlotXY_->setToolTip("Re-draw XY Plot using the Min/Max scales");
    s->addWidget(lblXYAxes_, 2, 1, 1, 2);
    s->addWidget(lblMins_, 3, 0);
    s->addWidget(TXmin_, 3, 1);
    s->addWidget(TYmin_, 3, 2);
    s->addWidget(lblMaxs_, 4, 0);
    s->addWidget(TXmax_, 4, 1);
    s->addWidget(TYmax_, 4, 2);
    s->addWidget(btnRePlotXY_, 5, 1, 1, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{TXmin_, TXmax_, TYmin_, TYmax_, lblXYAxes_, lblMins_, lblMaxs_,
                                                      btnRePlotXY_}) {
      w->setEnabled(false);
    }
    v->addWidget(pnlXYScale_);
  } else {
    btnX2_ = close;
    lblPlotColorXY2_ = plotLabel;
    colorChartXY2_ = plotBox;
    lblBkGroundXY2_ = bgLabel;
    colorChartXYbg2_ = bgBox;
    btnBkPix2_ = image;
    chkGridX2_ = gridX;
    chkGridY2_ = gridY;
  }
  panel->adjustSize();
  panel->hide();
  return panel;
}

QFrame* TPlotView::buildHelpPanel() {
  auto* panel = named(new QFrame(this), "helpPanel");
  panel->setFrameShape(QFrame::Box);
  panel->setAutoFillBackground(true);
  auto* v = new QVBoxLayout(panel);
  auto* head = new QHBoxLayout;
  head->addWidget(label("To Use Fast Plotting", panel), 1);
  btnHelpClose_ = named(new QPushButton("X", panel), "btnHelpClose");
  btnHelpClose_->setToolTip("Close Box");
  btnHelpClose_->setFixedWidth(24);
  head->addWidget(btnHelpClose_);
  v->addLayout(head);
  auto* text = named(new QPlainTextEdit(panel), "helpText");
  text->setReadOnly(true);
  text->setPlainText(
      "  The Top Chart is a Y-plot: Point type.\n"
      "  The Bottom Chart is a Y-plot: Line type.\n"
      "  To use them, simply select an item from their list.\n"
      "\n"
      "  The other options are self-explanatory - - \n"
      "   (i.e., Zoom, Print, Save ...etc).\n"
      "\n"
      "  See also the \"Hints\" category at the bottom.");
  text->setMinimumSize(360, 150);
  v->addWidget(text);
  panel->adjustSize();
  panel->hide();
  return panel;
}

void TPlotView::connectHandlers() {
  // Long definition lines must not widen the window: the lists keep a fixed width.
  for (QComboBox* list : {VarList1_, VarList2_, XList_, YList_}) {
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  }
  for (QComboBox* list : {VarList1_, VarList2_, XList_, YList_}) {
    connect(list, &QComboBox::activated, this, [this, list] { VarListChange(list); });
  }
  for (QCheckBox* box : {cbNoFlagChart1_, cbNoFlagChart2_}) {
    connect(box, &QCheckBox::toggled, this, [this, box] { VarListChange(box); });
  }
  connect(btnPlotXY_, &QPushButton::clicked, this, [this] { btnComputeClick(btnPlotXY_); });
  connect(btnCompute_, &QPushButton::clicked, this, [this] { btnComputeClick(btnCompute_); });
  connect(chkHideZ_, &QCheckBox::toggled, this, [this] { btnOptionClick(); });
  for (QObject* s : std::initializer_list<QObject*>{chkAutoXY_, cbHM_, cbAutoScaleYB_}) {
    connect(static_cast<QCheckBox*>(s), &QCheckBox::toggled, this, [this, s] { btnRePlotXYClick(s); });
  }
  for (QPushButton* s : {btnRePlotXY_, btnRePlotYB_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { btnRePlotXYClick(s); });
  }
  connect(btnSaveSelList_, &QPushButton::clicked, this, [this] { btnSaveSelListClick(); });
  for (ColorBox* s : {colorChart1_, colorChart2_, colorBG1_, colorBG2_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { colorChartClick(s); });
  }
  for (QPushButton* s : std::initializer_list<QPushButton*>{btnBkPix_, btnBkPix2_, colorChartXY_, colorChartXY2_,
                                                            colorChartXYbg_, colorChartXYbg2_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { btnBkPixClick(s); });
  }
  for (QCheckBox* s : {cbLogChart1_, cbLogChart2_}) {
    connect(s, &QCheckBox::toggled, this, [this, s] { cbChartClick(s); });
  }
  for (QCheckBox* s : {chkGridX_, chkGridY_, chkGridX2_, chkGridY2_}) {
    connect(s, &QCheckBox::toggled, this, [this, s] { chkGridClick(s); });
  }
  for (QRadioButton* s : {rbLeftB_, rbRightB_}) {
    connect(s, &QRadioButton::toggled, this, [this, s](bool on) {
      if (on) rbYLeftRightClick(s);
    });
  }
  for (QPushButton* s : {btnOp_, btnOp2_, btnO_, btnX_, btnX2_, btnHelpOpen_, btnHelpClose_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { btnShowHideClick(s); });
  }
  for (QPushButton* s : {btnZoomIn_, btnZoomOut_, btnUndoZoom_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { ZoomInOutBtnClick(s); });
  }
  for (PlotChart* chart : {Chart1_, Chart2_}) {
    connect(chart, &PlotChart::axisClicked, this, &TPlotView::ClickAxis);
    connect(chart, &PlotChart::zoomFinished, this, [this] {
      if (!Chart1_->zooming() && !Chart2_->zooming()) {
        btnZoomIn_->setEnabled(true);
        btnZoomOut_->setEnabled(true);
      }
    });
  }
  for (QPushButton* s : {btnDisplay_, btnSaveJpg_, btnPrint_}) {
    connect(s, &QPushButton::clicked, this, [this, s] { btnChartSaveDsipPrintClick(s); });
  }
  connect(PageControl1_, &QTabWidget::currentChanged, this, &TPlotView::PageControl1Change);
  connect(ChartClose_, &QPushButton::clicked, this, &TPlotView::ChartCloseClick);
}

void TPlotView::setZoomAnimationMilliseconds(int ms) {
  Chart1_->setAnimationMilliseconds(ms);
  Chart2_->setAnimationMilliseconds(ms);
}

void TPlotView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placeCharts();
}

void TPlotView::placeCharts() {
  const int w = chartArea_->width();
  Chart1_->setGeometry(0, Chart1_->y(), w, Chart1_->height());
  Chart2_->setGeometry(0, Chart2_->y(), w, Chart2_->height());
  // The option and help panels float over the charts' right-hand side.
  const int right = std::max(0, width() - 8);
  pnlOptions_->move(std::max(0, right - pnlOptions_->width()), 8);
  pnlOptions2_->move(std::max(0, right - pnlOptions2_->width()), 8 + layoutMemory_.bottomTop);
  helpPanel_->move(std::max(0, (width() - helpPanel_->width()) / 2), 40);
}

void TPlotView::showOver(QWidget* mainWindow) {
  if (mainWindow && !isVisible()) {
    const QRect m = mainWindow->frameGeometry();
    move(m.center().x() - width() / 2, std::max(0, m.center().y() - height() / 2));
  }
  show();
  raise();
  activateWindow();
}

void TPlotView::ChartCloseClick() { hide(); }

void TPlotView::InitPlotData(int64_t recordCapacity, int32_t columnCount, const std::string& fileName) {
  const bool wasEmpty = store_.IsEmpty();
  store_.InitPlotData(recordCapacity, columnCount, fileName);
  if (!wasEmpty || store_.IsEmpty()) return;
  setWindowTitle(QString::fromStdString(store_.caption()));
  Fn1Label_->setText(QString::fromStdString(store_.chartLabel()));
  Fn2Label_->setText(QString::fromStdString(store_.chartLabel()));
  Fn1Label_->adjustSize();
  Fn2Label_->adjustSize();
  saveFileName_ = QString::fromStdString(store_.imageFileName());
}

void TPlotView::AddPlotVariable(std::string_view definitionLine) {
  store_.AddPlotVariable(definitionLine);
  const QString item = QString::fromStdString(store_.variableNames().back());
  for (QComboBox* list : {VarList1_, VarList2_, XList_, YList_}) {
    list->addItem(item);
    if (list->currentIndex() < 0) list->setCurrentIndex(0);
  }
  ZList_->addItem(item);
  if (ZList_->count() == 1) ZList_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void TPlotView::FreePlotData() {
  // The views are reset even when the store is already empty: after a failed allocation the
  // lists still hold the names of that scan, and the next scan must not append to them.
  store_.FreePlotData();
  Series1_->data()->clear();
  Series2_->data()->clear();
  Series4_->data()->clear();
  Chart1_->setTitleLines({});
  Chart2_->setTitleLines({});
  for (QComboBox* list : {VarList1_, VarList2_, XList_, YList_}) list->clear();
  ZList_->clear();
  cbLogChart1_->setEnabled(false);
  cbLogChart2_->setEnabled(false);
  Chart1_->replot();
  Chart2_->replot();
}

}  // namespace tarvik::desktop

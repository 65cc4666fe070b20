// How fast the plot window draws a large file: fills the plot store with a million records (five
// columns, some values flagged), then times choosing a variable for each chart (which also sorts
// the column for the statistics line), a redraw, redraws while panning, and an XY plot with its
// fit. Runs offscreen: QT_QPA_PLATFORM=offscreen build/plot_bench [RECORDS].
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/dialogs.h"
#include "desktop/plotview/tplotview.h"

namespace {

double milliseconds(QElapsedTimer& t) {
  const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
  t.restart();
  return ms;
}

void choose(tarvik::desktop::TPlotView& view, const char* list, int index) {
  auto* box = view.findChild<QComboBox*>(list);
  box->setCurrentIndex(index);
  emit box->activated(index);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long records = argc > 1 ? std::atol(argv[1]) : 1000000;
  tarvik::desktop::QtDialogs dialogs;
  tarvik::desktop::TPlotView view(dialogs);
  view.setZoomAnimationMilliseconds(0);
  view.show();
  QElapsedTimer t;
  t.start();
  view.InitPlotData(records, 5, "TARVIK-BENCH_DC8_20190521_R0.ict");
  for (const char* name : {"Start_UTC, seconds, start time\n", "O3, ppbv, ozone\n", "CO, ppbv, carbon monoxide\n",
                           "Temp, K, static air temperature\n", "Alt, m, altitude\n"}) {
    view.AddPlotVariable(name);
  }
  for (long r = 0; r < records; ++r) {
    const double x = static_cast<double>(r);
    const bool flagged = r % 97 == 0;
    view.PutPlotValue(43200.0 + x, r, 0, false);
    view.PutPlotValue(flagged ? -9999.0 : 40.0 + 10.0 * std::sin(x / 500.0), r, 1, flagged);
    view.PutPlotValue(100.0 + 20.0 * std::cos(x / 900.0), r, 2, false);
    view.PutPlotValue(250.0 + 5.0 * std::sin(x / 3000.0), r, 3, false);
    view.PutPlotValue(9000.0 * std::fabs(std::sin(x / 20000.0)), r, 4, false);
  }
  view.TrimPlotRecords(records);
  std::printf("records                          %ld\n", records);
  std::printf("filling the store                %8.1f ms\n", milliseconds(t));
  choose(view, "VarList1", 1);
  std::printf("top chart: choose a variable     %8.1f ms\n", milliseconds(t));
  auto* chart = view.findChild<tarvik::desktop::PlotChart*>("Chart1");
  chart->replot();
  std::printf("top chart: redraw                %8.1f ms\n", milliseconds(t));
  for (int i = 0; i < 20; ++i) {
    chart->xAxis->moveRange(chart->xAxis->range().size() * 0.02);
    chart->replot();
  }
  std::printf("top chart: redraw while panning  %8.1f ms each\n", milliseconds(t) / 20.0);
  choose(view, "VarList2", 2);
  std::printf("bottom chart: choose a variable  %8.1f ms\n", milliseconds(t));
  auto* bottom = view.findChild<tarvik::desktop::PlotChart*>("Chart2");
  bottom->replot();
  std::printf("bottom chart: redraw             %8.1f ms\n", milliseconds(t));
  view.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  t.restart();
  choose(view, "YList", 2);
  choose(view, "XList", 1);
  view.findChild<QPushButton*>("btnCompute")->click();
  std::printf("XY plot with correlation and fit %8.1f ms\n", milliseconds(t));
  return 0;
}

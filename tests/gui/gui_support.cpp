#include "gui_support.h"

#include <QFile>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace tarvik::guitest {

bool RecordingDialogs::setUpPrinter(QPrinter& printer) {
  ++printerSetUps;
  if (printTo.isEmpty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(printTo);
  return true;
}

WorkingFolder::WorkingFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
WorkingFolder::~WorkingFolder() { QDir::setCurrent(previous_); }

QString examplePath() { return QStringLiteral(TARVIK_SOURCE_DIR "/examples/TARVIK-EXAMPLE_DC8_20190521_R0.ict"); }

QString copyExample(const QString& folder) {
  const QString target = folder + "/TARVIK-EXAMPLE_DC8_20190521_R0.ict";
  writeBytes(target, readBytes(examplePath()));
  return target;
}

QByteArray readBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray longExample(int records) {
  const QList<QByteArray> lines = readBytes(examplePath()).split('\n');
  const int headerLines = lines.first().split(',').first().trimmed().toInt();
  QByteArray out;
  for (int i = 0; i < headerLines; ++i) out += lines[i] + '\n';
  for (int i = 0; i < records; ++i) {
    const int t = 3600 + 2 * i;
    out += QByteArray::number(t) + ", " + QByteArray::number(t + 2) + ", " + QByteArray::number(t + 1) +
           ", 44.13, 94.4, 254.44\n";
  }
  return out;
}

QString item(const std::string& definition) { return QString::fromStdString(definition).chopped(1); }

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

std::vector<Column> flaggedOzone() {
  return {{kTime, {43200, 43201, 43202, 43203}}, {kNo2, {1, 2, 3, 4}}, {kO3, {10, 20, kFlag, kFlag}}};
}

std::vector<Column> xyFile() {
  return {{kTime, {100, 101, 102, 103, 104}},
          {"X, m, distance\n", {1, 2, 3, 4, 5}},
          {"Y, m, height\n", {2, 4, 6, 8, kFlag}},
          {"C, m, constant\n", {5, 5, 5, 5, 5}},
          {"W, m, falling\n", {3, 2, 1, 0, -1}}};
}

}  // namespace tarvik::guitest

#include "gui_support.h"

#include <QFile>
#include <QPrinter>

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

}  // namespace tarvik::guitest

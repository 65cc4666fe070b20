#include "desktop/mainwindow/report_browser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>

namespace tarvik::desktop {

ReportBrowser::ReportBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

QVariant ReportBrowser::loadResource(int type, const QUrl& name) {
  if (type != QTextDocument::HtmlResource || !name.isLocalFile()) return QTextBrowser::loadResource(type, name);
  QFile f(name.toLocalFile());
  if (!f.open(QIODevice::ReadOnly)) return QVariant();
  const QByteArray bytes = f.readAll();
  const QString path = QFileInfo(f.fileName()).absoluteFilePath();
  if (!siteDir_.isEmpty() && path.startsWith(QDir::cleanPath(siteDir_) + "/")) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return QString(decoder(bytes));
  }
  // Reports carry the scanned file's bytes as they are, and real files hold Latin-1 bytes.
  return QString::fromLatin1(bytes);
}

}  // namespace tarvik::desktop

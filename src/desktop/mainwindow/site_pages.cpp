#include "desktop/mainwindow/site_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "scan/core/site.h"

namespace tarvik::desktop {

QString siteDirectory() {
  const QString installed =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tarvik/site");
  if (QFileInfo::exists(installed + "/index.htm")) return installed;
  return QStringLiteral(TARVIK_SOURCE_SITE_DIR);
}

static QString homeAddress() { return QString::fromUtf8(site::kHomeAddress); }

bool isSiteAddress(const QString& address) {
  const QString home = homeAddress();
  if (!address.startsWith(home, Qt::CaseInsensitive)) return false;
  if (address.size() == home.size()) return true;
  const QChar next = address.at(home.size());
  return next == '/' || next == '#' || next == '?';
}

SitePage sitePageFor(const QString& address, const QString& siteDir) {
  SitePage page;
  QString rest = address.mid(homeAddress().size());
  const qsizetype hash = rest.indexOf('#');
  if (hash >= 0) {
    page.fragment = rest.mid(hash + 1);
    rest.truncate(hash);
  }
  const qsizetype query = rest.indexOf('?');
  if (query >= 0) rest.truncate(query);
  while (rest.startsWith('/')) rest.remove(0, 1);
  if (rest.isEmpty() || rest.endsWith('/')) rest += "index.htm";
  QString file = QDir::cleanPath(siteDir + "/" + rest);
  // An address that climbs out of the site names no shipped page.
  if (!file.startsWith(QDir::cleanPath(siteDir) + "/")) file = QDir::cleanPath(siteDir) + "/index.htm.missing";
  if (!QFileInfo::exists(file) && QFileInfo(rest).suffix().isEmpty()) file += ".htm";
  page.file = file;
  return page;
}

}  // namespace tarvik::desktop

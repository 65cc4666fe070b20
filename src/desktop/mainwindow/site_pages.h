// The program's own pages: addresses under the site's home address are pages shipped with it.
#pragma once

#include <QString>

namespace tarvik::desktop {

// The folder of the shipped pages: share/tarvik/site beside the program when installed,
// otherwise the source tree's docs/site.
QString siteDirectory();

// True when address lies under the site's home address (the home address itself included).
bool isSiteAddress(const QString& address);

// The shipped file for a site address, and the anchor it names (empty when none). The home
// address and folder addresses give their index.htm; an address without an extension whose file
// does not exist gives the same name with ".htm". The file need not exist.
struct SitePage {
  QString file;
  QString fragment;
};
SitePage sitePageFor(const QString& address, const QString& siteDir);

}  // namespace tarvik::desktop

// The report pane: a text browser that shows report files as ISO-8859-1 and the program's own
// pages in the encoding they declare.
#pragma once

#include <QTextBrowser>

namespace tarvik::desktop {

class ReportBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit ReportBrowser(QWidget* parent = nullptr);
  void setSiteDirectory(const QString& dir) { siteDir_ = dir; }

  QVariant loadResource(int type, const QUrl& name) override;

 private:
  QString siteDir_;
};

}  // namespace tarvik::desktop

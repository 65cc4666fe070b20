#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "mainwindow/dialogs.h"

namespace tarvik::desktop {

void QtDialogs::showError(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

QString QtDialogs::openFileName(const QString& caption, const QString& filter) {
  QFileDialog dialog(parent_, caption, QString(), filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, true);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString QtDialogs::saveFileName(const QString& caption, const QString& proposed, const QString& filter) {
  return QFileDialog::getSaveFileName(parent_, caption, proposed, filter);
}

void QtDialogs::printDocument(QTextDocument& document) {
  QPrinter printer;
  QPrintDialog dialog(&printer, parent_);
  if (dialog.exec() == QDialog::Accepted) document.print(&printer);
}

bool QtDialogs::openExternal(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace tarvik::desktop

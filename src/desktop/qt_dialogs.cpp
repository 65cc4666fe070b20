#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "desktop/dialogs.h"

namespace tarvik::desktop {

namespace {

void showBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace

QWidget* QtDialogs::owner() const {
  QWidget* active = QApplication::activeWindow();
  return active ? active : parent_;
}

void QtDialogs::showError(const QString& caption, const QString& text) {
  showBox(owner(), QMessageBox::Critical, caption, text);
}
void QtDialogs::showWarning(const QString& caption, const QString& text) {
  showBox(owner(), QMessageBox::Warning, caption, text);
}
void QtDialogs::showInformation(const QString& caption, const QString& text) {
  showBox(owner(), QMessageBox::Information, caption, text);
}
void QtDialogs::showPlain(const QString& caption, const QString& text) {
  showBox(owner(), QMessageBox::NoIcon, caption, text);
}

QColor QtDialogs::chooseColor(const QColor& initial) { return QColorDialog::getColor(initial, owner()); }

bool QtDialogs::setUpPrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, owner());
  return dialog.exec() == QDialog::Accepted;
}

QString QtDialogs::openFileName(const QString& caption, const QString& filter) {
  QFileDialog dialog(owner(), caption, QString(), filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, true);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString QtDialogs::saveFileName(const QString& caption, const QString& proposed, const QString& filter) {
  return QFileDialog::getSaveFileName(owner(), caption, proposed, filter);
}

void QtDialogs::printDocument(QTextDocument& document) {
  QPrinter printer;
  QPrintDialog dialog(&printer, owner());
  if (dialog.exec() == QDialog::Accepted) document.print(&printer);
}

bool QtDialogs::openExternal(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace tarvik::desktop

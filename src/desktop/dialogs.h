// The modal boxes and dialogs of the main window, and the hand-off of addresses to the desktop.
// The program uses QtDialogs; the tests use a recorder that answers at once and remembers.
#pragma once

#include <QString>
#include <QUrl>

class QColor;
class QPrinter;
class QTextDocument;
class QWidget;

namespace tarvik::desktop {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An error box, modal, with an error icon.
  virtual void showError(const QString& caption, const QString& text) = 0;
  // A warning box (warning icon), an information box (information icon) and a box without icon.
  virtual void showWarning(const QString& caption, const QString& text) = 0;
  virtual void showInformation(const QString& caption, const QString& text) = 0;
  virtual void showPlain(const QString& caption, const QString& text) = 0;
  // The colour dialog starting at initial; an invalid colour when cancelled.
  virtual QColor chooseColor(const QColor& initial) = 0;
  // The print dialog for printer; false when cancelled.
  virtual bool setUpPrinter(QPrinter& printer) = 0;
  // A file-open dialog; filter in Qt's form ("Name (*.ext);;..."). Empty when cancelled.
  virtual QString openFileName(const QString& caption, const QString& filter) = 0;
  // A file-save dialog proposing a name. Empty when cancelled.
  virtual QString saveFileName(const QString& caption, const QString& proposed, const QString& filter) = 0;
  // The print dialog, then printing of the document when confirmed.
  virtual void printDocument(QTextDocument& document) = 0;
  // Opens an address in the desktop's web browser or mail program; false when nothing took it.
  virtual bool openExternal(const QUrl& url) = 0;
};

// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QPrintDialog and QDesktopServices.
// Each opens over the window the user is working in (the plot window stays above the main one).
class QtDialogs : public Dialogs {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  void showError(const QString& caption, const QString& text) override;
  void showWarning(const QString& caption, const QString& text) override;
  void showInformation(const QString& caption, const QString& text) override;
  void showPlain(const QString& caption, const QString& text) override;
  QColor chooseColor(const QColor& initial) override;
  bool setUpPrinter(QPrinter& printer) override;
  QString openFileName(const QString& caption, const QString& filter) override;
  QString saveFileName(const QString& caption, const QString& proposed, const QString& filter) override;
  void printDocument(QTextDocument& document) override;
  bool openExternal(const QUrl& url) override;

 private:
  QWidget* owner() const;
  QWidget* parent_ = nullptr;
};

}  // namespace tarvik::desktop

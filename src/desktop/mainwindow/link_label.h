// A label that acts as a link: it reports clicks and the pointer entering and leaving it.
#pragma once

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tarvik::desktop {

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setStyleSheet("color: #0000CC; text-decoration: underline;");
  }

 signals:
  void clicked();
  void entered();
  void left();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
  }
  void enterEvent(QEnterEvent* e) override {
    emit entered();
    QLabel::enterEvent(e);
  }
  void leaveEvent(QEvent* e) override {
    emit left();
    QLabel::leaveEvent(e);
  }
};

}  // namespace tarvik::desktop

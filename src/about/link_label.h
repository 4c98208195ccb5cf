#pragma once

#include <QLabel>

namespace numbrook {

// A label that acts as a link: the pointing hand over it, a signal on click.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
  }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    emit clicked();
  }
};

}  // namespace numbrook

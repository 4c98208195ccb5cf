#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace numbrook {

// A label that acts as a link: the pointing hand over it, and a click, a
// left-button press released over the label, opens it. Other buttons, and a
// press dragged off the label before release, do nothing.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
  }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    QLabel::mousePressEvent(event);
    leftPressed_ = event->button() == Qt::LeftButton;
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    const bool click = leftPressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    if (click) emit clicked();
  }

 private:
  bool leftPressed_ = false;
};

}  // namespace numbrook

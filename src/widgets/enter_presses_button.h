#pragma once

#include <QObject>

class QPushButton;

namespace numbrook {

// Enter and keypad Enter press a focused push button, as Space does; the
// number fields lead the user to the Start button with Enter. A button's
// access key (Alt+Y) presses it at once, without Qt's 100 ms press animation.
class EnterPressesButton : public QObject {
  Q_OBJECT

 public:
  // Watches each push button inside the window; the filter belongs to it.
  static void Install(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
};

}  // namespace numbrook

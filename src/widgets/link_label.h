#pragma once

#include <QLabel>

namespace numbrook {

// A label that acts as a link: the pointing hand over it; a click (a
// left-button press released over the label), or Enter or Space while it has
// the focus, opens it. Tab reaches it and a focus frame shows it; screen
// readers are told it is a link named by its text. Other buttons, and a press
// dragged off the label before release, do nothing.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

  // Opens the link, as a click does.
  void Activate() { emit clicked(); }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool leftPressed_ = false;
};

}  // namespace numbrook

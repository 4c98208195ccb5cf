#pragma once

#include <QProxyStyle>

namespace numbrook {

// Fusion, drawn for the windows' fixed pixel geometry: a frame's caption sits
// on its top border line (the border runs at the caption's middle and stops
// either side of it), and check boxes and option buttons have 13-pixel
// indicators with 3 pixels to their caption, so that each fits the control
// rectangles the windows were laid out with.
class WindowStyle : public QProxyStyle {
  Q_OBJECT

 public:
  WindowStyle();

  // Gives the window and every widget inside it this style.
  static void Apply(QWidget* window);

  // The windows' own font, in whose metrics their geometry was laid out: a
  // 9-point Chinese sans-serif face.
  static QFont DialogFont();

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                       const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
};

}  // namespace numbrook

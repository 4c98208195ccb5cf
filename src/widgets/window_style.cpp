#include "widgets/window_style.h"

#include <QCoreApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QWidget>

namespace numbrook {
namespace {

constexpr int kIndicatorSize = 13;
constexpr int kIndicatorToCaption = 3;
constexpr int kCaptionLeft = 8;     // where a frame's caption starts
constexpr int kCaptionPadding = 2;  // border gap either side of the caption
constexpr int kCaptionInkTop = 1;   // the caption's letters start just below the frame's top

QString ShownCaption(const QStyleOptionGroupBox& box) {
  QString shown = box.text;
  shown.remove(QLatin1Char('&'));
  return shown;
}

// Where the caption's letters stand, relative to their baseline. A frame
// without a caption uses a Chinese character's, so that all frames' borders
// line up.
QRect CaptionInk(const QStyleOptionGroupBox& box) {
  const QString shown = ShownCaption(box);
  return box.fontMetrics.tightBoundingRect(shown.isEmpty() ? QStringLiteral("国") : shown);
}

int CaptionBaseline(const QStyleOptionGroupBox& box) {
  return box.rect.top() + kCaptionInkTop - CaptionInk(box).top();
}

// The caption's letters, with a little room either side.
QRect CaptionRect(const QStyleOptionGroupBox& box) {
  if (box.text.isEmpty()) return {};
  const QRect ink = CaptionInk(box);
  const int width = box.fontMetrics.horizontalAdvance(ShownCaption(box)) + 2 * kCaptionPadding;
  return {box.rect.left() + kCaptionLeft, CaptionBaseline(box) + ink.top(), width, ink.height()};
}

// The border runs through the middle of the caption's letters.
QRect BorderRect(const QStyleOptionGroupBox& box) {
  const QRect ink = CaptionInk(box);
  return box.rect.adjusted(0, kCaptionInkTop + ink.height() / 2, 0, 0);
}

}  // namespace

WindowStyle::WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void WindowStyle::Apply(QWidget* window) {
  // One style for every window, living as long as the application, so that
  // no widget outlives the style it is drawn with.
  static WindowStyle* const style = [] {
    auto* created = new WindowStyle;
    created->setParent(QCoreApplication::instance());
    return created;
  }();
  window->setStyle(style);
  for (QWidget* child : window->findChildren<QWidget*>()) child->setStyle(style);
}

QFont WindowStyle::DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("SimSun")});
  font.setPointSize(9);
  return font;
}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
      return kIndicatorSize;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
      return kIndicatorToCaption;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

QRect WindowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                                  const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr || (box->subControls & SC_GroupBoxCheckBox)) {
    return QProxyStyle::subControlRect(control, option, subControl, widget);
  }
  switch (subControl) {
    case SC_GroupBoxFrame:
      return BorderRect(*box);
    case SC_GroupBoxLabel:
      return CaptionRect(*box);
    case SC_GroupBoxContents: {
      const int border = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
      return BorderRect(*box).adjusted(border, border, -border, -border);
    }
    default:
      return QProxyStyle::subControlRect(control, option, subControl, widget);
  }
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                     const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr || (box->subControls & SC_GroupBoxCheckBox)) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect caption = proxy()->subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
  painter->save();
  if (!caption.isEmpty()) {
    // The border stops either side of the caption.
    QRegion border(box->rect);
    border -= caption;
    painter->setClipRegion(border);
  }
  // Fusion's own frame is drawn below its caption line, so the border is
  // drawn here, in Fusion's manner: a soft rounded line over a faint shade.
  const QRectF border = QRectF(proxy()->subControlRect(CC_GroupBox, option, SC_GroupBoxFrame, widget)).adjusted(0.5, 0.5, -0.5, -0.5);
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(box->palette.window().color().darker(125));
  painter->setBrush(QColor(0, 0, 0, 6));
  painter->drawRoundedRect(border, 2, 2);
  painter->restore();

  if (!caption.isEmpty()) {
    // A line of the font, placed so that its baseline is the caption's.
    const QRect line(caption.left(), CaptionBaseline(*box) - box->fontMetrics.ascent(), caption.width(),
                     box->fontMetrics.height());
    int alignment = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, option, widget)) alignment |= Qt::TextHideMnemonic;
    proxy()->drawItemText(painter, line, alignment, box->palette, box->state & State_Enabled, box->text,
                          QPalette::WindowText);
  }
}

}  // namespace numbrook

#include "widgets/enter_presses_button.h"

#include <QKeyEvent>
#include <QShortcutEvent>
#include <QPushButton>

namespace numbrook {

void EnterPressesButton::Install(QWidget* window) {
  auto* filter = new EnterPressesButton(window);
  for (QPushButton* button : window->findChildren<QPushButton*>()) button->installEventFilter(filter);
}

bool EnterPressesButton::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    // Qt's access key holds the button down for 100 ms before it acts.
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr || !button->isEnabled() || static_cast<QShortcutEvent*>(event)->isAmbiguous()) return false;
    button->click();
    return true;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  auto* button = qobject_cast<QPushButton*>(watched);
  if (!enter || modifiers != Qt::NoModifier || button == nullptr || !button->isEnabled()) return false;
  button->click();
  return true;
}

}  // namespace numbrook

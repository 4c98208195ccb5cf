#include "main_window/numeric_text_box.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace numbrook {
namespace {

constexpr int kBackspace = 8;
constexpr int kMinus = 45;

// The character a key press types, as its code; 0 when it types none. A
// control chord types its control character (Ctrl+V is 22), whether or not
// the platform reports it as text.
int CharacterCode(const QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) return 0;
  if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
    return event->key() - Qt::Key_A + 1;
  }
  const QString text = event->text();
  return text.isEmpty() ? 0 : text.at(0).unicode();
}

bool IsLetThrough(int code) { return (code >= '0' && code <= '9') || code == kBackspace || code == kMinus; }

}  // namespace

NumericTextBox::NumericTextBox(NumericField field, QWidget* parent) : QLineEdit(parent), field_(field) {
  setToolTip(QString::fromUtf8(RuleOf(field).toolTip.data(), static_cast<int>(RuleOf(field).toolTip.size())));
  // An input method would commit text past the key filter.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void NumericTextBox::Validate() {
  if (!IsAcceptedFieldText(field_, text().toStdString())) {
    setText(QString::number(RuleOf(field_, terms_, steps_).replacement));
  }
}

void NumericTextBox::keyPressEvent(QKeyEvent* event) {
  const int code = CharacterCode(event);
  if (code == 0) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (characterHook_) characterHook_(code);
  if (IsLetThrough(code)) {
    QLineEdit::keyPressEvent(event);
  } else {
    event->accept();
  }
}

QMenu* NumericTextBox::CreateContextMenu() {
  QMenu* menu = createStandardContextMenu();
  // Qt puts a command's key chord after a tab (Ctrl+Z, Ctrl+V, ...). Every
  // such chord is a control character, which the key filter cancels.
  for (QAction* action : menu->actions()) {
    const qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
    if (tab >= 0) action->setText(action->text().left(tab));
  }
  return menu;
}

void NumericTextBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = CreateContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void NumericTextBox::focusOutEvent(QFocusEvent* event) {
  // The check runs when the focus moves to another control, not when the
  // whole window is deactivated or a context menu opens over the field.
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason) {
    Validate();
  }
  QLineEdit::focusOutEvent(event);
}

}  // namespace numbrook

#pragma once

#include <QLineEdit>
#include <QMenu>
#include <functional>

#include "main_window/numeric_fields.h"

namespace numbrook {

// A text box for a whole number. Typing lets through only digits,
// Backspace and "-"; keys that type nothing (arrows, Home, End, Delete) work
// as usual. When the focus moves to another control of the window, a value
// out of the field's range is silently replaced; pasted text is checked the
// same way.
class NumericTextBox : public QLineEdit {
  Q_OBJECT

 public:
  NumericTextBox(NumericField field, QWidget* parent);

  // Called with the code of every typed character before it is filtered.
  void SetCharacterHook(std::function<void(int code)> hook) { characterHook_ = std::move(hook); }

  // The value check: replaces a value that the field does not accept.
  void Validate();

  // The term count and the working lines the replacement of a per-line count follows.
  void SetLineShape(int terms, bool steps) {
    terms_ = terms;
    steps_ = steps;
  }

  // The right-click menu: the standard edit commands, without the key chords
  // that this field's key filter refuses.
  QMenu* CreateContextMenu();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  NumericField field_;
  int terms_ = 2;
  bool steps_ = false;
  std::function<void(int)> characterHook_;
};

}  // namespace numbrook

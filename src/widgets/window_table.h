#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <span>

namespace numbrook {

// What a row of a window's table makes.
enum class ControlKind {
  Window,       // the window itself: its client size and caption
  Frame,        // a group box with a caption
  Label,        // a label that sizes itself to its text at the row's left and top
  FixedLabel,   // a label of the row's size that wraps its text
  Picture,      // a label showing an image from the resources (the caption names it)
  Line,         // a filled strip of the window's background colour
  Link,         // a link label, opened by a click, Enter or Space
  DropDown,     // a list without typing
  CheckBox,
  OptionButton,
  PushButton,
  NumberField,  // the main window's whole-number text box
};

inline constexpr int kNoTab = -1;  // never takes the focus by Tab

// One control of a window: everything about where it stands and how it is
// reached. Rectangles are in pixels relative to the parent's client area.
struct ControlRow {
  ControlKind kind;
  const char* name;
  const char* parent;  // the name of an earlier row; the first row is the window
  int left, top, width, height;
  const char* caption;  // UTF-8
  int tab;              // ascending order of Tab; kNoTab for none
  const char* spoken = "";  // what a screen reader names the control by, when the caption does not say it
};

// Makes a window's own kind of control (NumberField) or its own variant of a
// standard one; nullptr leaves the row to MakeStandardControl.
using ControlFactory = std::function<QWidget*(const ControlRow& row, QWidget* parent)>;

// The control of a standard kind, with the row's caption.
QWidget* MakeStandardControl(const ControlRow& row, QWidget* parent);

// Builds a window's controls from its table: names, geometry, captions, the
// accessible names and the Tab order all come from the rows. The window
// itself is the first row, already constructed.
void BuildFromTable(QWidget* window, std::span<const ControlRow> rows, const ControlFactory& make);

// The controls in Tab order: the rows with a tab position, by that position.
std::vector<const ControlRow*> TabOrder(std::span<const ControlRow> rows);

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace numbrook

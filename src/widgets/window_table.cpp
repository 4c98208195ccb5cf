#include "widgets/window_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "widgets/link_label.h"
#include <stdexcept>

namespace numbrook {

QWidget* MakeStandardControl(const ControlRow& row, QWidget* parent) {
  const QString caption = Utf8(row.caption);
  switch (row.kind) {
    case ControlKind::Frame:
      return new QGroupBox(caption, parent);
    case ControlKind::Label:
      return new QLabel(caption, parent);
    case ControlKind::FixedLabel: {
      auto* label = new QLabel(caption, parent);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ControlKind::Picture: {
      auto* picture = new QLabel(parent);
      picture->setPixmap(QPixmap(caption));
      return picture;
    }
    case ControlKind::Line: {
      auto* line = new QWidget(parent);
      line->setAutoFillBackground(true);
      return line;
    }
    case ControlKind::Link:
      return new LinkLabel(caption, parent);
    case ControlKind::DropDown:
      return new QComboBox(parent);
    case ControlKind::CheckBox:
      return new QCheckBox(caption, parent);
    case ControlKind::OptionButton:
      return new QRadioButton(caption, parent);
    case ControlKind::PushButton:
      return new QPushButton(caption, parent);
    case ControlKind::Window:
    case ControlKind::NumberField:
      break;
  }
  throw std::logic_error(std::string("no standard control for row ") + row.name);
}

std::vector<const ControlRow*> TabOrder(std::span<const ControlRow> rows) {
  std::vector<const ControlRow*> order;
  for (const ControlRow& row : rows) {
    if (row.tab != kNoTab) order.push_back(&row);
  }
  std::stable_sort(order.begin(), order.end(), [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
  return order;
}

void BuildFromTable(QWidget* window, std::span<const ControlRow> rows, const ControlFactory& make) {
  if (rows.empty() || rows.front().kind != ControlKind::Window) throw std::logic_error("a window table starts with the window");
  const ControlRow& top = rows.front();
  window->setObjectName(QString::fromLatin1(top.name));
  window->setWindowTitle(Utf8(top.caption));
  window->setFixedSize(top.width, top.height);

  std::vector<std::pair<const ControlRow*, QWidget*>> made = {{&top, window}};
  const auto find = [&](const char* name) -> QWidget* {
    for (const auto& [row, widget] : made) {
      if (std::string_view(row->name) == name) return widget;
    }
    throw std::logic_error(std::string("no earlier row named ") + name);
  };
  for (const ControlRow& row : rows.subspan(1)) {
    QWidget* parent = find(row.parent);
    QWidget* widget = make ? make(row, parent) : nullptr;
    if (widget == nullptr) widget = MakeStandardControl(row, parent);
    widget->setObjectName(QString::fromLatin1(row.name));
    if (row.kind == ControlKind::Label) {
      widget->move(row.left, row.top);
      widget->adjustSize();
    } else {
      widget->setGeometry(row.left, row.top, row.width, row.height);
    }
    if (*row.spoken != '\0') widget->setAccessibleName(Utf8(row.spoken));
    made.emplace_back(&row, widget);
  }

  const std::vector<const ControlRow*> order = TabOrder(rows);
  for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(find(order[i]->name), find(order[i + 1]->name));
}

}  // namespace numbrook

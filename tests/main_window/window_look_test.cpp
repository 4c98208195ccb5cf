// How the settings window looks in the style it is drawn with: every control
// inside its frame, nothing clipped, captions clear of the next option, and
// Qt's own texts in Chinese.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include "widgets/desktop.h"
#include "main_window/frm_main2.h"
#include "main_window/numeric_text_box.h"
#include "main_window/qt_translation.h"

namespace numbrook {

class WindowLookTest : public QObject {
  Q_OBJECT

  Desktop desktop_;

  static QStyleOptionGroupBox GroupBoxOption(const QGroupBox* frame) {
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxFrame | (frame->title().isEmpty() ? QStyle::SC_None : QStyle::SC_GroupBoxLabel);
    return option;
  }

  // The rows that a text's letters really cover, relative to the baseline:
  // the font's own bounding boxes are rounded outwards.
  static std::pair<int, int> InkRows(const QFont& font, const QString& text) {
    QImage image(400, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, 40, text);
    painter.end();
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 250) {
          if (top < 0) top = y;
          bottom = y;
        }
      }
    }
    return {top - 40, bottom - 40};
  }

  // Where a check box or option button draws its indicator and its caption,
  // in its frame's coordinates.
  struct ButtonParts {
    QRect indicator, caption;
  };
  static ButtonParts PartsOf(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    QStyle* style = button->style();
    const QRect indicator = style->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
    const QRect contents = style->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
    // The caption is a line of the font centred in the contents; of that
    // line, the letters' own extent counts.
    const QFontMetrics& metrics = button->fontMetrics();
    const int baseline = contents.top() + (contents.height() - metrics.height()) / 2 + metrics.ascent();
    const auto [inkTop, inkBottom] = InkRows(button->font(), button->text());
    const QRect caption(contents.left(), baseline + inkTop, metrics.horizontalAdvance(button->text()),
                        inkBottom - inkTop + 1);
    return {indicator.translated(button->pos()), caption.translated(button->pos())};
  }

 private slots:
  void initTestCase() { QVERIFY(InstallQtChineseTranslation(*QCoreApplication::instance())); }

  void everyControlLiesInsideItsFrame() {
    frmMain2 window(desktop_);
    window.show();
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Frame7", "Frame8", "Frame9"}) {
      const QGroupBox* frame = window.findChild<QGroupBox*>(name);
      const QStyleOptionGroupBox option = GroupBoxOption(frame);
      const QRect contents =
          frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, frame);
      const QRect caption =
          frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
      QVERIFY2(contents.top() < 12, name);  // the geometry's first controls start 10 to 16 down
      for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString where = QString("%1 in %2").arg(control->objectName(), name);
        QVERIFY2(contents.contains(control->geometry()), qPrintable(where));
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
          // The caption on the border meets neither the indicator nor the text.
          const ButtonParts parts = PartsOf(button);
          QVERIFY2(!caption.intersects(parts.indicator), qPrintable(where));
          QVERIFY2(!caption.intersects(parts.caption), qPrintable(where));
        }
      }
    }
  }

  void noIndicatorIsClippedAndEachCaptionClearsTheNextCircle() {
    frmMain2 window(desktop_);
    window.show();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
      if (qobject_cast<const QPushButton*>(button) != nullptr) continue;
      const ButtonParts parts = PartsOf(button);
      const QRect own = button->geometry();
      QVERIFY2(own.contains(parts.indicator), qPrintable(button->objectName()));
      QVERIFY2(parts.caption.top() >= own.top() && parts.caption.bottom() <= own.bottom(),
               qPrintable(button->objectName()));
      QVERIFY2(parts.caption.right() <= own.right(), qPrintable(button->objectName()));
    }
    // Each option of a row ends at least 4 pixels before the next one's circle.
    const QStringList rows[] = {{"Option3_0", "Option3_1", "Option3_2", "Option3_3", "Option3_4"},
                                {"Option2_0", "Option2_1", "Option2_2", "CheckExp"},
                                {"CheckKey", "CheckDistinct"},
                                {"CheckA", "CheckS", "CheckAS", "CheckM", "CheckD"},
                                {"Option4_0", "Option4_1", "Option4_2"},
                                {"Option5_0", "Option5_1", "Option5_2", "CheckSteps"}};
    for (const QStringList& row : rows) {
      for (int i = 0; i + 1 < row.size(); ++i) {
        const ButtonParts left = PartsOf(window.findChild<QAbstractButton*>(row[i]));
        const ButtonParts right = PartsOf(window.findChild<QAbstractButton*>(row[i + 1]));
        QVERIFY2(right.indicator.left() - (left.caption.right() + 1) >= 4,
                 qPrintable(QString("%1 to %2: %3 px").arg(row[i], row[i + 1])
                                .arg(right.indicator.left() - left.caption.right() - 1)));
      }
    }
  }

  void messageBoxButtonsReadInChinese() {
    QMessageBox box(QMessageBox::Information, "提示", "…", QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QString("确定"));
  }

  void numberFieldMenuIsChineseAndAdvertisesNoRefusedChord() {
    frmMain2 window(desktop_);
    NumericTextBox* field = window.findChild<NumericTextBox*>("Text1");
    std::unique_ptr<QMenu> menu(field->CreateContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      texts << action->text();
      QVERIFY2(!action->text().contains('\t'), qPrintable(action->text()));
      QVERIFY2(!action->text().contains("Ctrl"), qPrintable(action->text()));
    }
    QVERIFY2(texts.contains("粘贴(&P)"), qPrintable(texts.join(" | ")));
    QVERIFY2(texts.contains("全选"), qPrintable(texts.join(" | ")));
  }
};

}  // namespace numbrook

QTEST_MAIN(numbrook::WindowLookTest)
#include "window_look_test.moc"

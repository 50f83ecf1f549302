#include "widgets/FixedDialog.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Centres its dialog on the screen whenever the dialog is shown.
class CentreOnShow : public QObject {
 public:
  explicit CentreOnShow(QDialog* dialog) : QObject(dialog), dialog_(dialog) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == dialog_ && event->type() == QEvent::Show) {
      const QScreen* screen = dialog_->screen() ? dialog_->screen() : QGuiApplication::primaryScreen();
      if (screen) {
        QRect frame(QPoint(0, 0), dialog_->frameGeometry().size());
        frame.moveCenter(screen->availableGeometry().center());
        dialog_->move(frame.topLeft());
      }
    }
    return false;
  }

 private:
  QDialog* dialog_;
};

}  // namespace

namespace FixedDialog {

void prepare(QDialog* dialog) {
  dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
  dialog->installEventFilter(new CentreOnShow(dialog));
}

Buttons okAndCancel(QDialog* dialog) {
  const auto button = [dialog](const QString& name, const QString& caption) {
    auto* made = new QPushButton(caption, dialog);
    made->setObjectName(name);
    made->setMinimumWidth(75);
    return made;
  };
  const Buttons buttons{button(u"BitBtn1"_s, u"OK"_s), button(u"BitBtn2"_s, u"キャンセル"_s)};
  buttons.ok->setDefault(true);
  QObject::connect(buttons.ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons;
}

void layOut(QDialog* dialog, QLayout* fields, const Buttons& buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(buttons.ok);
  row->addWidget(buttons.cancel);
  row->addStretch();
  auto* column = new QVBoxLayout(dialog);
  column->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog
  column->setContentsMargins(16, 16, 16, 12);
  column->addLayout(fields);
  column->addSpacing(12);
  column->addLayout(row);
  column->activate();  // fixes the size before the window exists
}

}  // namespace FixedDialog

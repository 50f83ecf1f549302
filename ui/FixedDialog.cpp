#include "ui/FixedDialog.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

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

}  // namespace FixedDialog

#include "ui/MessageBoxes.h"

#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace MessageBoxes {

namespace {
std::function<void(const QString&)>& handler() {
  static std::function<void(const QString&)> current;
  return current;
}
}  // namespace

QString applicationTitle() { return u"ＴＡＰＰＥＲの足跡３２"_s; }

void showMessage(QWidget* parent, const QString& text) {
  if (handler()) {
    handler()(text);
    return;
  }
  QMessageBox::information(parent, applicationTitle(), text);
}

void showError(QWidget* parent, const QString& text) {
  if (handler()) {
    handler()(text);
    return;
  }
  QMessageBox::critical(parent, applicationTitle(), text);
}

void setHandler(std::function<void(const QString&)> newHandler) { handler() = std::move(newHandler); }

}  // namespace MessageBoxes

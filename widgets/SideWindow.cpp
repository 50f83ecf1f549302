#include "widgets/SideWindow.h"

#include <QHideEvent>
#include <QMessageBox>
#include <QShowEvent>

SideWindow::SideWindow(Opening opening, Geometry stored, int helpTopic, ErrorReporter reporter, QWidget* parent)
    : QDialog(parent), opening_(opening), stored_(stored), reporter_(std::move(reporter)) {
  setProperty("helpContext", helpTopic);
  setModal(opening == Opening::Stored);
  if (opening == Opening::Beside) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
  }
}

SideWindow::Geometry SideWindow::currentGeometry() const {
  const QRect frame = frameGeometry();
  return {frame.left(), frame.top(), width(), height()};
}

QSize SideWindow::firstSize(const WindowPlacement::Surroundings& around) { return around.room; }

void SideWindow::placeAtStoredPlace() {
  const QMargins frame = WindowPlacement::surroundingsOf(this).frame;
  const QRect placed = WindowPlacement::fittedOnScreen(
      QRect(QPoint(stored_.left, stored_.top), QSize(stored_.width, stored_.height).grownBy(frame)));
  resize(placed.size().shrunkBy(frame));
  move(placed.topLeft());
}

// The stored size and place, or the window's first size beside the main
// window; on the main window's screen.
void SideWindow::placeFirstTime() {
  const WindowPlacement::Surroundings around = WindowPlacement::surroundingsOf(this);
  const QSize first = firstSize(around);
  const QSize wanted(stored_.width > 0 ? stored_.width : first.width(),
                     stored_.height > 0 ? stored_.height : first.height());
  WindowPlacement::place(this, around, wanted, stored_.left, stored_.top);
}

void SideWindow::keep() {
  if (const std::optional<QString> failure = handBack()) reportError(*failure);
}

void SideWindow::reportError(const QString& text) {
  if (reporter_)
    reporter_(this, text);
  else
    QMessageBox::critical(this, windowTitle(), text);
}

void SideWindow::showEvent(QShowEvent* event) {
  if (opening_ == Opening::Beside && !placed_) {
    placed_ = true;
    placeFirstTime();
  }
  QDialog::showEvent(event);
}

// Closed, Escape, or the main window closing: a Beside window's place is kept.
void SideWindow::hideEvent(QHideEvent* event) {
  if (opening_ == Opening::Beside && !event->spontaneous()) keep();
  QDialog::hideEvent(event);
}

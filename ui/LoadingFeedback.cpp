#include "ui/LoadingFeedback.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "ui/MessageBoxes.h"
#include "ui/TfrmOpening.h"

LoadingFeedback::LoadingFeedback(TfrmOpening& opening, QWidget* messageParent)
    : opening_(opening), messageParent_(messageParent) {}

namespace {

constexpr qint64 QuietLoadShownAfterMs = 400;

// While a load waits: every input event is dropped, except that the close
// keys close the window; the window system's close request is no input here
// and goes through.
class WaitInput : public QObject {
 public:
  WaitInput(const QKeySequence& closeKeys, const std::function<void()>& close) : closeKeys_(closeKeys), close_(close) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ShortcutOverride:  // taken: no shortcut runs, the key press follows
        event->accept();
        return true;
      case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (close_ && !closeKeys_.isEmpty() && QKeySequence(key->keyCombination()) == closeKeys_) close_();
        return true;
      }
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::NonClientAreaMouseButtonPress:
      case QEvent::NonClientAreaMouseButtonRelease:
      case QEvent::NonClientAreaMouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::InputMethod:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TouchCancel:
      case QEvent::TabletPress:
      case QEvent::TabletMove:
      case QEvent::TabletRelease: return true;
      default: return QObject::eventFilter(watched, event);
    }
  }

 private:
  const QKeySequence& closeKeys_;
  const std::function<void()>& close_;
};

}  // namespace

void LoadingFeedback::showLoading(const QString& caption) {
  setCaption(caption);
  waitingSince_.invalidate();
  shown_ = false;
  if (quiet_) {
    quietSince_.start();
    return;
  }
  opening_.centreOnScreen();
  opening_.show();
  shown_ = true;
}

void LoadingFeedback::showWhenSlow() {
  if (!quiet_ || shown_ || !quietSince_.isValid() || quietSince_.elapsed() < QuietLoadShownAfterMs) return;
  opening_.centreOnScreen();
  opening_.show();
  shown_ = true;
}

// The caption keeps its place and is as wide as its text: the one that says
// what a load waits for is longer than the first.
void LoadingFeedback::setCaption(const QString& caption) {
  opening_.Label1->setText(caption);
  opening_.Label1->adjustSize();
}

void LoadingFeedback::startProgress(int maximum, int step) {
  step_ = step;
  opening_.ProgressBar1->setRange(0, std::max(maximum, 1));
  opening_.ProgressBar1->setValue(0);
  showWhenSlow();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LoadingFeedback::stepProgress() {
  QProgressBar* bar = opening_.ProgressBar1;
  bar->setValue(std::min(bar->value() + step_, bar->maximum()));
  showWhenSlow();
}

void LoadingFeedback::hideLoading() {
  waitingSince_.invalidate();
  opening_.hide();
  shown_ = false;
}

void LoadingFeedback::showMessage(const QString& text) { MessageBoxes::showMessage(messageParent_, text); }

bool LoadingFeedback::keepWaiting() {
  // A reload that adds appended runs in place shows nothing until it waits.
  // The calls of one wait come every 50 ms at most: a longer gap starts another.
  if (!waitingSince_.isValid() || !lastWaitCall_.isValid() || lastWaitCall_.elapsed() > 250) waitingSince_.start();
  lastWaitCall_.start();
  if (!opening_.isVisible() && waitingSince_.elapsed() >= QuietLoadShownAfterMs) {
    opening_.centreOnScreen();
    opening_.show();
    shown_ = true;
  }
  // Input is not held back for after the wait (the window system's queue
  // would keep a close there too): it is taken and dropped.
  WaitInput input(closeKeys_, close_);
  QCoreApplication::instance()->installEventFilter(&input);
  // What a pass without input (the progress's) held back, a title bar's close
  // among them, is looked at only when the event dispatcher has been woken:
  // a close that came alone would wait for the next event of the window
  // system, often the end of the wait.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(&input);
  return !waitEnds_ || !waitEnds_();
}

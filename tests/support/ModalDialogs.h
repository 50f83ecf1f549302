#pragma once

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <type_traits>

// Driving modal windows from a test: their exec() runs its own event loop, so
// a timer acts on them from inside it.

// Runs `act` once a modal window of type T is the active modal widget. With T
// = QWidget that is the next modal window of any kind; a more specific T waits
// past other modal windows (for instance the dialog that opens it).
template <class T = QWidget>
void onNextModal(std::type_identity_t<std::function<void(T*)>> act, int triesLeft = 600) {
  QTimer::singleShot(5, [act = std::move(act), triesLeft]() mutable {
    if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget()))
      act(window);
    else if (triesLeft > 0)
      onNextModal<T>(std::move(act), triesLeft - 1);
  });
}

// Cancels every modal window while it lives, counting them.
class ModalRejecter {
 public:
  ModalRejecter() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++rejected;
        rejectedNames << modal->objectName();
        if (onModal) onModal(modal);
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
      }
    });
    timer_.start(5);
  }
  int rejected = 0;
  QStringList rejectedNames;              // the objectName of each window rejected
  std::function<void(QWidget*)> onModal;  // looks at each window before it is rejected

 private:
  QTimer timer_;
};

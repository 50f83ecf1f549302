#pragma once

#include <QElapsedTimer>
#include <QKeySequence>

#include <functional>

#include "records/LoadFeedback.h"

class QWidget;
class TfrmOpening;

// What a load shows: the loading window with its caption and progress bar,
// and the loader's messages in message boxes over the main window.
class LoadingFeedback : public LoadFeedback {
 public:
  LoadingFeedback(TfrmOpening& opening, QWidget* messageParent);

  void showLoading(const QString& caption) override;
  void setCaption(const QString& caption) override;
  void startProgress(int maximum, int step) override;
  void stepProgress() override;
  void hideLoading() override;
  void showMessage(const QString& text) override;
  // While a load waits for another program: the loading window is shown (a
  // quiet load's once it has taken longer than a glance) and painted, and the
  // events go on (the watcher's, timers), except for input, which is dropped
  // (a command would start inside the load): only a close gets through, the
  // window system's (the title bar's button) or the close keys, and ends the
  // wait at once.
  bool keepWaiting() override;
  // Ends such waits early: the program is closing.
  void setWaitEnds(std::function<bool()> ends) { waitEnds_ = std::move(ends); }
  // The keys that close the program (Ctrl+X) and what closes it, for a wait.
  void setCloseKeys(const QKeySequence& keys, std::function<void()> close) {
    closeKeys_ = keys;
    close_ = std::move(close);
  }

  // Quiet loads (a live reload of a few appended runs) show the loading window
  // only once they have taken longer than a glance; their messages still show.
  void setQuiet(bool quiet) { quiet_ = quiet; }

 private:
  TfrmOpening& opening_;
  QWidget* messageParent_;
  void showWhenSlow();

  int step_ = 1;
  bool quiet_ = false;
  bool shown_ = false;
  QElapsedTimer quietSince_;
  std::function<bool()> waitEnds_;
  QKeySequence closeKeys_;
  std::function<void()> close_;
  QElapsedTimer waitingSince_;  // the first moment of this wait for another program
  QElapsedTimer lastWaitCall_;
};

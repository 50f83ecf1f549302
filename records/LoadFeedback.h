#pragma once

#include <QString>

// What a load shows the user: the loading window (caption and progress bar)
// and message boxes. The viewer implements it with its loading window; the
// report tool prints the messages on standard error. The window calls do
// nothing unless overridden.
class LoadFeedback {
 public:
  virtual ~LoadFeedback() = default;

  // Sets the caption and shows the loading window.
  virtual void showLoading(const QString& /*caption*/) {}
  virtual void setCaption(const QString& /*caption*/) {}
  // Position 0 of `maximum`, moving by `step`; pending window events are
  // processed once so that the window and its bar are painted.
  virtual void startProgress(int /*maximum*/, int /*step*/) {}
  virtual void stepProgress() {}
  virtual void hideLoading() {}
  virtual void showMessage(const QString& text) = 0;

  // How many bad-line messages of one load are shown one by one; the lines
  // after them are counted in one message at the end. Negative: every line.
  virtual int badLineMessageLimit() const { return 10; }
};

// Shows nothing at all: for benchmarks and fuzzing.
class SilentFeedback final : public LoadFeedback {
 public:
  void showMessage(const QString&) override {}
};

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

  // Called again and again (no more than 50 ms apart) while a load waits for
  // another program to let go of the data file; the loader sleeps between the
  // calls. After the first moments of the wait the caption is
  // LoaderMessages::waitingCaption(), so the viewer keeps its windows painted
  // and says what it waits for. Returns false when the wait should end now
  // (the program is closing): the load then goes on without the data file.
  virtual bool keepWaiting() { return true; }
};

// Shows nothing at all: for benchmarks and fuzzing.
class SilentFeedback final : public LoadFeedback {
 public:
  void showMessage(const QString&) override {}
};

#pragma once

#include <QString>

// What a load shows the user: the loading window (caption and progress bar)
// and message boxes. The viewer implements it with its loading window; the
// report tool prints the messages on standard error.
class LoadFeedback {
 public:
  virtual ~LoadFeedback() = default;

  // Sets the caption and shows the loading window.
  virtual void showLoading(const QString& caption) = 0;
  virtual void setCaption(const QString& caption) = 0;
  // Position 0 of `maximum`, moving by `step`; pending window events are
  // processed once so that the window and its bar are painted.
  virtual void startProgress(int maximum, int step) = 0;
  virtual void stepProgress() = 0;
  virtual void hideLoading() = 0;
  virtual void showMessage(const QString& text) = 0;
};

#pragma once

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

 private:
  TfrmOpening& opening_;
  QWidget* messageParent_;
  int step_ = 1;
};

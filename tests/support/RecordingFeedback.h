#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "records/LoadFeedback.h"

// Remembers what a load showed: captions, progress stages and messages.
class RecordingFeedback : public LoadFeedback {
 public:
  struct Stage {
    QString caption;
    int maximum;
    int step;
    int steps = 0;
  };

  void showLoading(const QString& caption) override {
    caption_ = caption;
    visible = true;
  }
  void setCaption(const QString& caption) override { caption_ = caption; }
  void startProgress(int maximum, int step) override { stages.push_back({caption_, maximum, step}); }
  void stepProgress() override {
    if (!stages.empty()) ++stages.back().steps;
    if (onStep) onStep();
  }
  void hideLoading() override { visible = false; }
  void showMessage(const QString& text) override { messages << text; }

  QStringList messages;
  std::vector<Stage> stages;
  bool visible = false;
  std::function<void()> onStep;  // runs at every progress step

 private:
  QString caption_;
};

#pragma once

#include <QTextStream>

#include "records/LoadFeedback.h"

// Load feedback for a terminal: no loading window, each message on its own
// line(s) of the given stream.
class StreamFeedback : public LoadFeedback {
 public:
  explicit StreamFeedback(QTextStream& messages) : messages_(messages) {}

  void showMessage(const QString& text) override;
  // A terminal shows every bad line: the output is a log, not a box to close.
  int badLineMessageLimit() const override { return -1; }

 private:
  QTextStream& messages_;
};

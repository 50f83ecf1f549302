#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a celebration window has to tell the user: a message, or an error in
// the standard error report (a box with the error's text, after which the
// program goes on). The windows never show a box themselves; whoever opens
// them decides how a report is shown.
struct CelebrationReport {
  QString text;
  bool error = true;
};

using CelebrationReporter = std::function<void(QWidget* parent, const CelebrationReport& report)>;

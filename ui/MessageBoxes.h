#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's message boxes: its fixed messages and the standard error
// report (a box with the error's text, after which the program goes on). Tests
// route them to a function instead of a modal box.
namespace MessageBoxes {

// "ＴＡＰＰＥＲの足跡３２", the caption of every message box.
QString applicationTitle();

void showMessage(QWidget* parent, const QString& text);
void showError(QWidget* parent, const QString& text);

// While set, messages go to `handler` and no box is shown.
void setHandler(std::function<void(const QString&)> handler);

}  // namespace MessageBoxes

#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window that opens beside the main window (the practice calendar,
// the progress chart) goes the first time.
namespace WindowPlacement {

// A window of frame size `frame` with no place of its own: beside the main
// window's frame, on its right where that fits on the screen, else on its
// left, else flush with a side of the screen where it covers the least of it.
QPoint placeBeside(const QRect& mainFrame, const QSize& frame, const QRect& screen);

// A window's frame (title bar and borders) around its client area.
QMargins frameMarginsOf(const QWidget* window);

}  // namespace WindowPlacement

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of frame size `frame` opens when it has no place of its own:
// beside the main window's frame, on its right where that fits on the
// screen, else on its left, else flush with a side of the screen where it
// covers the least of the main window.
QPoint placeBeside(const QRect& mainFrame, const QSize& frame, const QRect& screen);

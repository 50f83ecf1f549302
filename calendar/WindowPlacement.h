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

// The main window a window opens beside (its parent's window, if any), the
// screen's free area and the room for the window's client area on it.
struct Surroundings {
  const QWidget* main = nullptr;
  QRect area;
  QMargins frame;  // the main window's, taken for the new window's too
  QSize room;      // the area without the frame
};
Surroundings surroundingsOf(const QWidget* window);

// Gives the window `size` and its place: the stored one (left and top >= 0),
// else beside the main window, else the middle of the screen.
void place(QWidget* window, const Surroundings& around, const QSize& size, int left, int top);

}  // namespace WindowPlacement

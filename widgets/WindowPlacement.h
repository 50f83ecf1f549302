#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window goes on the screen. Every window (the main window, the 3D
// chart, the practice calendar, the progress chart, the banner) is fitted into
// the free area of its screen by `fitted`; the windows that open beside the
// main window (the calendar, the progress chart) find their first place here.
namespace WindowPlacement {

// The one rule: a window of frame `frame` keeps its size where it fits into
// `area` (a screen's free area) and is shrunk to the area where it does not;
// then it is moved the least way that brings it inside the area.
QRect fitted(const QRect& frame, const QRect& area);

// The index of the screen a window of frame `frame` is on: of `screens`
// (their whole areas), the one that holds the most of it; where none holds
// any of it, `primary`.
qsizetype screenHolding(const QRect& frame, const QList<QRect>& screens, qsizetype primary);

// `frame` fitted into the free area of the screen it is on (else the
// primary screen's): where a window with a stored place and size goes.
QRect fittedOnScreen(const QRect& frame);

// A window of frame size `frame` with no place of its own: beside the main
// window's frame, on its right where that fits on the screen, else on its
// left, else flush with a side of the screen where it covers the least of it.
QPoint placeBeside(const QRect& mainFrame, const QSize& frame, const QRect& screen);

// A window's frame (title bar and borders) around its client area; none
// before the window is first shown.
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

// Gives the window the client size `size` and its place: the stored one
// (left and top >= 0, the frame's top left corner), else beside the main
// window, else the middle of the screen; fitted on the screen.
void place(QWidget* window, const Surroundings& around, const QSize& size, int left, int top);

}  // namespace WindowPlacement

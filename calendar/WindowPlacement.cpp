#include "calendar/WindowPlacement.h"

#include <QWidget>

#include <algorithm>
#include <array>

namespace WindowPlacement {

QPoint placeBeside(const QRect& mainFrame, const QSize& frame, const QRect& screen) {
  const int lowest = std::max(screen.top(), screen.bottom() + 1 - frame.height());
  const int top = std::clamp(mainFrame.top(), screen.top(), lowest);
  if (mainFrame.right() + frame.width() <= screen.right()) return {mainFrame.right() + 1, top};
  if (mainFrame.left() - frame.width() >= screen.left()) return {mainFrame.left() - frame.width(), top};
  // No room on either side: flush with a side of the screen, where it covers least.
  const std::array<int, 2> xs{screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width())};
  const std::array<int, 3> ys{top, screen.top(), lowest};
  QPoint best(xs[0], ys[0]);
  qint64 least = -1;
  for (const int x : xs)
    for (const int y : ys) {
      const QRect covered = QRect(QPoint(x, y), frame) & mainFrame;
      const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
      if (least < 0 || area < least) least = area, best = {x, y};
    }
  return best;
}

QMargins frameMarginsOf(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

}  // namespace WindowPlacement

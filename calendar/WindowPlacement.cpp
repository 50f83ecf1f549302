#include "calendar/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
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

Surroundings surroundingsOf(const QWidget* window) {
  Surroundings around;
  around.main = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  const QScreen* screen =
      around.main && around.main->screen() ? around.main->screen() : QGuiApplication::primaryScreen();
  around.area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  around.frame = around.main ? frameMarginsOf(around.main) : QMargins();
  around.room = around.area.size().shrunkBy(around.frame);
  return around;
}

void place(QWidget* window, const Surroundings& around, const QSize& size, int left, int top) {
  window->resize(size);
  if (left >= 0 && top >= 0)
    window->move(left, top);
  else if (around.main)
    window->move(placeBeside(around.main->frameGeometry(), size.grownBy(around.frame), around.area));
  else
    window->move(around.area.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace WindowPlacement

#include "widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>

namespace WindowPlacement {

namespace {

// Where a window goes when Qt knows no screen at all.
const QRect NoScreen(0, 0, 1024, 768);

qint64 areaOf(const QRect& rect) { return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height(); }

}  // namespace

QRect fitted(const QRect& frame, const QRect& area) {
  const QSize size = frame.size().boundedTo(area.size()).expandedTo(QSize(0, 0));
  const int left = std::max(std::min(frame.left(), area.left() + area.width() - size.width()), area.left());
  const int top = std::max(std::min(frame.top(), area.top() + area.height() - size.height()), area.top());
  return {QPoint(left, top), size};
}

qsizetype screenHolding(const QRect& frame, const QList<QRect>& screens, qsizetype primary) {
  qsizetype best = primary;
  qint64 most = 0;
  for (qsizetype i = 0; i < screens.size(); ++i) {
    const qint64 held = areaOf(screens[i] & frame);
    if (held > most) most = held, best = i;
  }
  return best;
}

QRect fittedOnScreen(const QRect& frame) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  QList<QRect> areas;
  for (const QScreen* screen : screens) areas.append(screen->geometry());
  const qsizetype primary = std::max<qsizetype>(screens.indexOf(QGuiApplication::primaryScreen()), 0);
  const qsizetype on = screenHolding(frame, areas, primary);
  return fitted(frame, on < screens.size() ? screens[on]->availableGeometry() : NoScreen);
}

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
      const qint64 area = areaOf(QRect(QPoint(x, y), frame) & mainFrame);
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
  around.area = screen ? screen->availableGeometry() : NoScreen;
  around.frame = around.main ? frameMarginsOf(around.main) : QMargins();
  around.room = around.area.size().shrunkBy(around.frame);
  return around;
}

void place(QWidget* window, const Surroundings& around, const QSize& size, int left, int top) {
  const QSize frameSize = size.grownBy(around.frame);
  QPoint at;
  if (left >= 0 && top >= 0)
    at = {left, top};
  else if (around.main)
    at = placeBeside(around.main->frameGeometry(), frameSize, around.area);
  else
    at = around.area.center() - QPoint(frameSize.width() / 2, frameSize.height() / 2);
  const QRect frame = fittedOnScreen(QRect(at, frameSize));
  window->resize(frame.size().shrunkBy(around.frame));
  window->move(frame.topLeft());
}

}  // namespace WindowPlacement

// Where a window goes on the screen: the fitting rule every window follows,
// the choice of the screen a stored place is on and the first place beside
// the main window.

#include <gtest/gtest.h>

#include <QList>
#include <QPoint>
#include <QRect>

#include <ostream>

#include "widgets/WindowPlacement.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << "(" << r.x() << ", " << r.y() << ") " << r.width() << "x" << r.height();
}
inline void PrintTo(const QPoint& p, std::ostream* out) { *out << "(" << p.x() << ", " << p.y() << ")"; }
QT_END_NAMESPACE

namespace {

const QRect Screen1024(0, 0, 1024, 768);       // a 1024x768 screen without panels
const QRect Panelled(0, 30, 1280, 960);        // 1280x1024 with a panel on top and one below
const QRect RightScreen(1280, 0, 1920, 1050);  // a second screen right of the first

TEST(WindowPlacementTest, FittedKeepsTheSizeWhereItFitsElseShrinksAndMovesTheLeastWay) {
  const struct {
    const char* what;
    QRect frame, area, expected;
  } cases[] = {
      {"the whole area stays", Screen1024, Screen1024, Screen1024},
      {"flush with the bottom right stays", {424, 368, 600, 400}, Screen1024, {424, 368, 600, 400}},
      {"one pixel off the right moves one left", {425, 368, 600, 400}, Screen1024, {424, 368, 600, 400}},
      {"off the left and top moves to the corner", {-300, -50, 600, 400}, Screen1024, {0, 0, 600, 400}},
      {"under the top panel moves down", {10, 0, 600, 400}, Panelled, {10, 30, 600, 400}},
      {"calendar 1000 tall from 534 moves up", {40, 534, 700, 1000}, Panelled, {40, 30, 700, 960}},
      {"calendar 950 tall from 534 keeps its height", {40, 534, 700, 950}, Panelled, {40, 40, 700, 950}},
      {"too wide shrinks to the width", {200, 100, 1500, 300}, Screen1024, {0, 100, 1024, 300}},
      {"too tall shrinks to the height", {200, 100, 300, 900}, Screen1024, {200, 0, 300, 768}},
      {"on a screen right of the first", {2900, 900, 400, 300}, RightScreen, {2800, 750, 400, 300}},
      {"left of a screen right of the first", {200, 100, 400, 300}, RightScreen, {1280, 100, 400, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WindowPlacement::fitted(c.frame, c.area), c.expected);
  }
}

TEST(WindowPlacementTest, ScreenHoldingIsTheOneWithMostOfTheWindowElseThePrimary) {
  const QList<QRect> two = {{0, 0, 1280, 1024}, RightScreen};
  const struct {
    const char* what;
    QRect frame;
    QList<QRect> screens;
    qsizetype primary, expected;
  } cases[] = {
      {"more on the first", {1000, 100, 500, 400}, two, 1, 0},
      {"more on the second", {1100, 100, 500, 400}, two, 0, 1},
      {"below both: the primary", {100, 3000, 600, 400}, two, 1, 1},
      {"an empty window: the primary", {100, 100, 0, 0}, two, 1, 1},
      {"no screens: the primary", {100, 100, 600, 400}, {}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WindowPlacement::screenHolding(c.frame, c.screens, c.primary), c.expected);
  }
}

// Without a place of its own: right of the main window where it fits on the
// screen, else left, else where it covers least of it.
TEST(WindowPlacementTest, PlaceBesideRightElseLeftElseWhereItCoversLeast) {
  const QRect screen(0, 0, 1280, 1024);
  const struct {
    const char* what;
    QRect main;
    QPoint expected;
  } cases[] = {
      {"right, held on the screen", {100, 900, 600, 500}, {700, 724}},
      {"left", {600, 50, 600, 500}, {200, 50}},
      {"no room: the bottom right corner", {100, 0, 900, 800}, {880, 724}},
      {"no room: the top left corner", {300, 400, 800, 624}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WindowPlacement::placeBeside(c.main, {400, 300}, screen), c.expected);
  }
}

}  // namespace

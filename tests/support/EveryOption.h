#pragma once

#include <QDate>
#include <QString>

#include "settings/Options.h"

// The main window's options with every key of their sections away from its
// default: what a save writes when nothing is left as it started.
inline MainOptions everyMainOption() {
  using namespace Qt::StringLiterals;
  MainOptions o;
  o.width = 801;
  o.height = 602;
  o.left = 13;
  o.top = 14;
  o.windowState = 1;
  o.hint = false;
  o.fanfare = u"/f.mid"_s;
  o.oiwaiMessage = u"ok"_s;
  o.oiwaiFontName = u"IPAGothic"_s;
  o.oiwaiFontSize = 40;
  o.oiwaiFontColor = 0x123456;
  o.show3DGraph = true;
  o.autoReload = false;
  o.path = u"/rec/"_s;
  o.recFile = u"a.txt"_s;
  ViewSettings& view = o.view;
  view.mode = ModeSymbols;
  view.recentLimit = 200;
  view.hitMark = u"#"_s;
  view.missMark = u"-"_s;
  view.maxMiss = 9;
  view.minHitMiss = 7;
  view.countInterval = 25;
  view.rankCount = 999;
  view.moreMissesAbove = false;
  view.eraFrom = QDate(2025, 4, 1);
  view.eraTo = QDate(2025, 12, 31);
  for (int pane = 0; pane < PaneCount; ++pane)
    o.fonts[static_cast<std::size_t>(pane)] = PaneFont{u"F%1"_s.arg(pane), 11 + pane, 16 + pane, 32 + pane};
  return o;
}

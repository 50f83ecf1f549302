#pragma once

#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

#include "analysis/TabViews.h"

// The views of a practice mode, in the order of the main window's tabs (their
// tags from 0): the history of new records, the text bar chart, the averages,
// the worst miss rates and the best runs. The panes, their fonts in the
// settings file and the report tool's --view all count by it.
enum View : int { ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest, ViewCount };

// What each view is called, what it offers and how it is made, in one place:
// the window's tabs, menus and help, the pane fonts' sections of the settings
// file, the report tool's --view, the viewer core's pane and copy lines and
// chart input, and the export's member names, file names and tables all read
// it. A view's own code (its pane lines, its table) is named here by function.
struct ViewInfo {
  View view;
  QStringView name;         // --view value, export member: "history", ...
  QStringView caption;      // the tab's caption, also in the export's file name
  QStringView menuName;     // the 表示 menu item's design name
  QStringView menuCaption;  // the 表示 menu item's caption
  QStringView fontSection;  // the settings file's section of the pane's font
  bool copiesSelection;     // "copy" takes the pane's selection
  bool averagePass;         // computed by the averages (else by the mode pass)
  int helpTopic;
  QStringView helpPage;  // the help folder's page of the topic
  // The pane's lines from the passes and the settings.
  QStringList (*paneLines)(const ViewPasses& passes, const ViewSettings& settings);
  // What "copy all" takes from the pane; none: the lines as shown.
  QStringList (*copyAllLines)(const ViewPasses& passes, const QStringList& paneLines);
  // What the 3D chart shows; none: the view has no chart.
  ChartInput (*chartInput)(const ViewPasses& passes);
  // The values the export writes.
  ViewTable (*table)(const ViewPasses& passes, const ViewSettings& settings);

  constexpr bool charted() const { return chartInput != nullptr; }
};

inline constexpr std::array<ViewInfo, ViewCount> Views = {{
    {ViewHistory, u"history", u"ベストの足跡", u"Best1", u"ベストの足跡(&B)", u"Font", true, false, 5000,
     u"history.html", HistoryView::paneLines, nullptr, HistoryView::chartInput, HistoryView::table},
    {ViewGraph, u"graph", u"ベストのグラフ", u"Graph1", u"ベストのグラフ(&G)", u"GraphFont", false, false, 6000,
     u"graph.html", GraphView::paneLines, GraphView::copyAllLines, GraphView::chartInput, GraphView::table},
    {ViewAverage, u"average", u"平均の推移", u"Aver1", u"平均の推移(&A)", u"AverFont", false, true, 7000,
     u"average.html", AverageView::paneLines, AverageView::copyAllLines, AverageView::chartInput, AverageView::table},
    {ViewMiss, u"miss", u"ミスワースト10", u"Miss1", u"ミスワースト１０(&M)", u"MissFont", true, false, 8000,
     u"miss.html", MissView::paneLines, nullptr, nullptr, MissView::table},
    {ViewBest, u"best", u"自己ベスト10", u"MyBest1", u"自己ベスト10(&Y)", u"BestFont", true, false, 10001,
     u"ranking.html", BestView::paneLines, nullptr, nullptr, BestView::table},
}};

// The view's row; a tag out of range reads the nearest view's.
constexpr const ViewInfo& viewInfo(int view) { return Views[view < 0 ? 0 : view >= ViewCount ? ViewCount - 1 : view]; }

// The view of a --view value or export member name.
inline std::optional<View> viewNamed(QStringView name) {
  for (const ViewInfo& info : Views)
    if (info.name == name) return info.view;
  return std::nullopt;
}

// The practice calendar's name beside the views' ("calendar"): no tab, but a
// --view value and an export member.
inline constexpr QStringView CalendarViewName = u"calendar";

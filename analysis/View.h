#pragma once

#include <QStringView>

#include <array>
#include <optional>

// The five views of a practice mode, in the order of the main window's tabs
// (their tags 0 to 4): the history of new records, the text bar chart, the
// averages, the worst miss rates and the best runs. The panes, their fonts in
// the settings file and the report tool's --view all count by it.
enum View : int { ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest };
inline constexpr int ViewCount = 5;

// What each view is called and what it offers, in one place: the window's
// tabs, menus and help, the report tool's --view and the export's member names
// and file names all read it. The panes' font sections are settings keys and
// live with them (settings/Options.h, one per pane in this order).
struct ViewInfo {
  View view;
  QStringView name;         // --view value, export member: "history", ...
  QStringView caption;      // the tab's caption, also in the export's file name
  QStringView menuName;     // the 表示 menu item's design name
  QStringView menuCaption;  // the 表示 menu item's caption
  bool copiesSelection;     // "copy" takes the pane's selection
  bool charted;             // the 3D chart shows it
  bool averagePass;         // computed by the averages (else by the mode pass)
  int helpTopic;
};

inline constexpr std::array<ViewInfo, ViewCount> Views = {{
    {ViewHistory, u"history", u"ベストの足跡", u"Best1", u"ベストの足跡(&B)", true, true, false, 5000},
    {ViewGraph, u"graph", u"ベストのグラフ", u"Graph1", u"ベストのグラフ(&G)", false, true, false, 6000},
    {ViewAverage, u"average", u"平均の推移", u"Aver1", u"平均の推移(&A)", false, true, true, 7000},
    {ViewMiss, u"miss", u"ミスワースト10", u"Miss1", u"ミスワースト１０(&M)", true, false, false, 8000},
    {ViewBest, u"best", u"自己ベスト10", u"MyBest1", u"自己ベスト10(&Y)", true, false, false, 10001},
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

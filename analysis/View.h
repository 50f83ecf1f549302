#pragma once

// The five views of a practice mode, in the order of the main window's tabs
// (their tags 0 to 4): the history of new records, the text bar chart, the
// averages, the worst miss rates and the best runs. The panes, their fonts in
// the settings file and the report tool's --view all count by it.
enum View : int { ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest };
inline constexpr int ViewCount = 5;

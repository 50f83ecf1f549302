#pragma once

#include <QStringList>

#include "analysis/ChartInput.h"
#include "analysis/ViewTable.h"

// The five tab views' own functions, which their rows of the view table
// (View.h) name: the pane's lines, what "copy all" takes where it differs from
// the pane, the 3D chart's input where the view has a chart, and the export's
// table. Each reads the last passes' results and the settings as they stand.
namespace HistoryView {
QStringList paneLines(const ViewPasses& passes, const ViewSettings& settings);
ChartInput chartInput(const ViewPasses& passes);  // the record updates
ViewTable table(const ViewPasses& passes, const ViewSettings& settings);
}  // namespace HistoryView

namespace GraphView {
QStringList paneLines(const ViewPasses& passes, const ViewSettings& settings);
QStringList copyAllLines(const ViewPasses& passes, const QStringList& paneLines);  // with the scale and ruler
ChartInput chartInput(const ViewPasses& passes);                                   // the record updates
ViewTable table(const ViewPasses& passes, const ViewSettings& settings);
}  // namespace GraphView

namespace AverageView {
QStringList paneLines(const ViewPasses& passes, const ViewSettings& settings);
QStringList copyAllLines(const ViewPasses& passes, const QStringList& paneLines);  // with the scale and ruler
ChartInput chartInput(const ViewPasses& passes);                                   // the averages
ViewTable table(const ViewPasses& passes, const ViewSettings& settings);
}  // namespace AverageView

namespace MissView {
QStringList paneLines(const ViewPasses& passes, const ViewSettings& settings);
// The worst ten (filled places only), the run with the most misses and the
// lifetime totals, told apart by the first column: "worst_ten", "worst_run",
// "total".
ViewTable table(const ViewPasses& passes, const ViewSettings& settings);
}  // namespace MissView

namespace BestView {
QStringList paneLines(const ViewPasses& passes, const ViewSettings& settings);
ViewTable table(const ViewPasses& passes, const ViewSettings& settings);
}  // namespace BestView

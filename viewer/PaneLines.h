#pragma once

#include <QStringList>

#include "analysis/AverageTrend.h"
#include "analysis/ModePass.h"
#include "analysis/View.h"
#include "analysis/ViewSettings.h"

// The lines a view's pane shows (newest first, under the display-count limit),
// from the last passes' results and the settings: what the main window puts
// in its panes and the report tool prints.
namespace PaneLines {

QStringList of(View view, const ModePass& pass, const AverageTrend& trend, const ViewSettings& settings);

}  // namespace PaneLines

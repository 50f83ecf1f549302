#pragma once

#include <QDate>
#include <QList>

#include <optional>

#include "analysis/View.h"
#include "viewer/EncodedText.h"

// How an output is written: the panes' text, comma-separated values (one
// table) or one JSON document.
enum class OutputFormat { Text, Csv, Json };

// What the report tool prints or the main window's export saves, and how.
// The window asks for one table or document: its active view, every run or
// the calendar's days; the report tool for any of them together.
// writeOutput (viewer/OutputWriter.h) picks the writer of each.
struct OutputRequest {
  OutputFormat format = OutputFormat::Text;
  TextEncoding encoding = TextEncoding::Utf8;  // the text and CSV; JSON is always UTF-8
  bool everyRun = false;                       // the runs in view, before the views
  QList<View> views{};                         // these views in this order, their passes run first
  std::optional<View> activeView{};            // the window's active view, from its last pass
  bool copyAll = false;                        // the text as "copy all" takes each view
  bool calendar = false;                       // the practice calendar's days, after the views
  bool progress = false;                       // the progress series, last
  bool allModes = false;                       // the calendar and the progress series count every mode
  int window = 10;                             // the runs of the progress series' trailing means
  QDate today{};                               // the calendar's today; invalid: the day of the settings' clock
};

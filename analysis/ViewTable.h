#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/TextFormat.h"

class AverageTrend;
class ModePass;
struct ViewSettings;

// The results of the last passes a view is made from: the mode pass and the
// averages. Each view reads the one its row names (View.h).
struct ViewPasses {
  const ModePass& records;
  const AverageTrend& averages;
};

// A view's data as a table, the values its pane shows: what the export writes
// as CSV (one row each) and as JSON.
struct ViewCell {
  enum class Kind { Empty, Number, Text, Decimal };
  Kind kind = Kind::Empty;
  long long number = 0;
  QString text;  // Text, and Decimal as the pane shows it ("12.34")

  static ViewCell of(long long value) { return {Kind::Number, value, {}}; }
  static ViewCell of(QString value) { return {Kind::Text, 0, std::move(value)}; }
  static ViewCell decimal(double value) { return {Kind::Decimal, 0, TextFormat::fixed2(value, 0)}; }
};

using ViewRow = std::vector<ViewCell>;

struct ViewTable {
  QStringList columns;
  std::vector<ViewRow> rows;
  // A table of several kinds of row, told apart by their first column, is one
  // JSON object with a member per kind: a single row (null when there is none)
  // or, when `list`, an array. Without kinds the JSON is an array of the rows.
  struct Kind {
    QString name;
    bool list = false;
  };
  std::vector<Kind> kinds;
};

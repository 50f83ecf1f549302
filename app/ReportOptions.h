#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "analysis/View.h"

enum class ReportPeriod { Day, Week, Month, Year, Count };
enum class ReportEncoding { Utf8, ShiftJis };
enum class ReportFormat { Text, Csv, Json };

// The command line of hoko32-report. Options left out take the settings
// file's values (or the viewer's start values) when the report runs.
struct ReportOptions {
  QString recordFile;
  QString settingsPath;  // empty: the viewer's own settings file
  std::optional<int> mode;
  QList<View> views;          // empty: all five in tab order, unless the calendar alone is asked for
  bool calendar = false;      // --view calendar: the practice calendar, after the views
  bool allModes = false;      // the calendar counts every mode's runs
  bool progress = false;      // --view progress: the progress series, after the views and the calendar
  std::optional<int> window;  // --window: the runs of the progress series' trailing means (default 10)
  bool copy = false;
  bool runs = false;
  bool nomiss = false;
  bool levelup = false;
  ReportPeriod period = ReportPeriod::Day;
  std::optional<int> interval;
  std::optional<int> maxMiss;
  std::optional<int> minKeys;
  int minHits = 0;
  std::optional<int> rankCount;
  bool missDown = false;
  std::optional<int> recent;
  std::optional<QString> hitMark;
  std::optional<QString> missMark;
  std::optional<QDateTime> now;
  bool allDays = false;        // every run counts, whatever era the settings file keeps
  std::optional<QDate> since;  // the era: only the runs of these days count
  std::optional<QDate> until;
  bool rebuild = false;
  ReportEncoding encoding = ReportEncoding::Utf8;
  ReportFormat format = ReportFormat::Text;
  bool help = false;
  bool version = false;
};

struct ParsedReportOptions {
  ReportOptions options;
  QString error;  // empty when the command line is good
};

// Parses the arguments after the program name. Accepts "--name value" and
// "--name=value"; rejects unknown options, bad values and options that do not
// go together with a message.
ParsedReportOptions parseReportOptions(const QStringList& arguments);

QString reportUsage();

#pragma once

#include <QString>
#include <QStringList>

#include "viewer/OutputRequest.h"
#include "viewer/ViewOverrides.h"

// The command line of hoko32-report: the record file, the settings file, what
// it changes in the view settings for this run and what is written. Options
// left out take the settings file's values (or the viewer's start values)
// when the report runs.
struct ReportOptions {
  QString recordFile;
  QString settingsPath;  // empty: the viewer's own settings file
  ViewOverrides view;
  // What is written: the views named, or all five in tab order when none is
  // named and neither the calendar nor the progress series is asked for.
  OutputRequest output;
  bool rebuild = false;
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

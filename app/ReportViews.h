#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "app/ReportOptions.h"
#include "records/LoadedRecords.h"
#include "settings/Options.h"

// The values the views are computed with: the settings file's, overridden by
// the command line for this run only.
struct ReportViewSettings {
  PracticeMode mode = ModeRomaji;
  bool noMiss = false;
  bool levelUpOnly = false;
  ReportPeriod period = ReportPeriod::Day;
  int countInterval = 50;
  int maxMiss = 255;
  int minHitMiss = 0;
  int minHits = 0;
  int rankCount = 10;
  bool moreMissesAbove = true;
  int recentLimit = 0;
  QString hitMark = QStringLiteral("o");
  QString missMark = QStringLiteral("x");
  QDateTime now;

  static ReportViewSettings from(const MainOptions& stored, const ReportOptions& command, const QDateTime& clock);
};

// The text of each requested view as the viewer's pane shows it, or as "copy
// all" takes it: lines joined by "\n" with a final "\n"; several views each
// start with "==== NAME".
QString reportViewsText(const LoadedRecords& records, const QList<View>& views, bool copyAll,
                        const ReportViewSettings& settings);

QString reportViewName(View view);

#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>

#include "analysis/PracticeCalendar.h"
#include "analysis/View.h"
#include "settings/Options.h"
#include "viewer/OutputRequest.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewOverrides.h"
#include "viewer/ViewerCore.h"

class QIODevice;
class SettingsFile;

// The viewer as the main window drives it: the core and what the window used
// to decide by itself. It holds the record file, loads and saves the settings
// file's options (their view settings are the core's), the start day, the rule
// of a live reload, the practice calendar's input and the export of the
// active view, every run or the calendar's days. The window reads its
// controls, calls it and shows the answer; the report tool hands it the
// command line's overrides and output request, and it writes the output.
// The windows beside the main window listen: after a load, a reload, a mode
// switch, a change of the no-miss option or of the era the session says so
// once (`changed`).
class ViewerSession : public QObject {
  Q_OBJECT
 public:
  ViewerSession(SettingsFile& settings, LoadFeedback& feedback);

  ViewerCore& core() { return core_; }
  const ViewerCore& core() const { return core_; }
  SettingsFile& settingsFile() const { return settings_; }

  // What changed the runs in view, the mode or how they are counted.
  enum class Change { Load, Reload, Mode, NoMiss, Era };

  // Loads the record file (again), then says so.
  LoadOutcome load();
  // The next load reads the whole record file again; false when the stored
  // size cannot be written (the message has been shown).
  bool forgetStoredSize() { return core_.forgetStoredSize(recordPath()); }

  // What the windows show, as the last load and passes left it.
  const ViewSettings& settings() const { return core_.settings(); }
  const LoadedRecords& records() const { return core_.records(); }
  bool hasRuns() const { return core_.hasRuns(); }
  bool noMiss() const { return core_.settings().noMiss; }
  QString eraText() const;  // empty without an era
  EraDays eraDays() const;  // the whole history without an era
  QDate today() const { return QDate::currentDate(); }
  // The passes: the mode pass (a record to celebrate, if one was set) and the averages.
  std::optional<RecordToCelebrate> recalculateRecords() { return core_.recalculateRecords(); }
  void recalculateAverages() { core_.recalculateAverages(); }
  QStringList paneLines(View view) const { return core_.paneLines(view); }
  QStringList copyAllLines(View view, const QStringList& paneLines) const {
    return core_.copyAllLines(view, paneLines);
  }
  ChartInput chartInput(View view) const { return core_.chartInput(view); }

  // The view settings the report tool starts with: those of the settings
  // file's options, a mode that names none computing as romaji.
  static ViewSettings viewSettingsOf(const MainOptions& options);
  // Reads the options, takes the record file and the view settings (the mode
  // among them) they hold, and returns them for the window's own (geometry, fonts, ...).
  // An era day that cannot be read leaves that side open, and an era that
  // ends before it starts is read as none: either is told through the
  // feedback's message (the window's message box, the report tool's standard error).
  MainOptions loadOptions(const SettingsEnvironment& environment);
  // What is wrong with the era kept in `settings` as `options` were read from
  // it (and the era of `options` put right); empty when nothing is.
  static QString checkStoredEra(const SettingsFile& settings, MainOptions& options);
  // Writes `options` with the record file and the view settings (the mode
  // among them) as they stand now; false when the settings file cannot be written.
  bool saveOptions(MainOptions options, MainOptions::ColorResolver resolveColor) const;

  // The current mode, held in the view settings. The settings file may give
  // one that names no mode: then no mode is selected and nothing is computed for it.
  int mode() const { return core_.settings().mode; }
  // Selects the mode (the window presses its button) and tells it; until
  // then, as after the settings file or the command line named one, no mode is selected.
  void selectMode(int mode);
  bool modeSelected() const { return selected_; }
  // The mode a command-line letter names: "A", "ｱ", "R", "!".
  static std::optional<PracticeMode> modeOfLetter(QStringView letter);

  // The record file: its folder (empty, or ending in "/") and its name.
  QString recordFolder() const { return recordFolder_; }
  QString recordName() const { return recordName_; }
  QString recordPath() const { return recordFolder_ + recordName_; }
  void setRecordFile(const QString& folder, const QString& name);
  void setRecordName(const QString& name) { recordName_ = name; }

  // The viewer's command line: a record file and, after it, a mode letter
  // (anything but A, ｱ and ! selects romaji). What it answers:
  enum class CommandLine { None, RecordFile, MissingFile };
  CommandLine applyCommandLine(const QStringList& arguments);

  // A record of this day is celebrated; a day the calendar cannot encode keeps the day before.
  void setStartDay(const QDate& day);
  static double startDate(const QDate& day, double before);

  // Changes the view settings as the window's controls and dialogs stand
  // (`change` edits a copy); the mode and the start day stay as the session
  // holds them. A change of the no-miss option is told.
  void changeSettings(const std::function<void(ViewSettings&)>& change);
  void setMarks(const QString& hitMark, const QString& missMark);  // an empty one keeps its character
  // Sets the era (a null or invalid day leaves that side open; both: no era)
  // and tells it. The window then clears the panes and computes the active view again.
  void setEra(const QDate& from, const QDate& to);

  // Whether a change of the record file is followed now: the option on, a
  // mode selected and a record file named.
  bool followsRecordFile(bool autoReload) const { return autoReload && modeSelected() && !recordName_.isEmpty(); }
  // A live reload. It answers what the window does next: nothing (the load
  // failed, or the views of this mode are as they were), clear the panes
  // (memory ran out), or clear them and compute the active view again (the
  // start day moved on to `today` first). Each reload is told.
  enum class AfterReload { Nothing, ViewsUnchanged, ClearPanes, Recompute };
  AfterReload reload(ViewerCore::Reload kind, const QDate& today);

  // The banner pictures "Oiwai<n>.bmp" in the folder: the largest n (0 without one).
  static int bannerPictureCount(const QString& folder);

  // The practice calendar's runs (those in view) and mode.
  std::span<const PracticeRecord* const> calendarRuns() const;
  PracticeMode calendarMode() const;
  // Whether the calendar counts every mode: as its window shows it, once
  // opened (`setCalendarAllModes`), else as the window last kept it.
  bool calendarAllModes() const;
  void setCalendarAllModes(bool allModes) { calendarAllModes_ = allModes; }

  // An export: what it holds and how it is written.
  enum class ExportContent { ActiveView, EveryRun, Calendar };
  struct ExportRequest {
    ExportContent content = ExportContent::ActiveView;
    View view = ViewHistory;
    bool json = false;
    bool shiftJis = false;
    bool calendarAllModes = false;
    QDate today;
  };
  bool hasExport() const { return core_.hasRuns() && modeSelected(); }
  // The file name the save dialog suggests: the record file's with what it holds.
  QString exportFileName(ExportContent content, View view) const;
  // Writes the request to `out`, the active view from the last passes' results.
  ViewExport::Result writeExport(QIODevice& out, const ExportRequest& request,
                                 const ViewExport::Progress& progress = {});
  // Writes what `request` asks for (writeOutput), named after the record file.
  ViewExport::Result writeOutput(QIODevice& out, const OutputRequest& request,
                                 const ViewExport::Progress& progress = {});

  // Loads the record file as the report tool does: with `rebuild` its data
  // file is made anew (a full load). False when it did not load, as the
  // feedback was told.
  bool loadRecordFile(const QString& path, bool rebuild);
  // The report tool's run, once the record file is loaded: reads the options
  // of the settings file, takes `overrides` over their view settings and
  // `recordPath` as the record file. Answers what is wrong with the era they
  // make (ViewOverrides::eraError); empty when nothing is.
  QString startReport(const QString& recordPath, const SettingsEnvironment& environment, const ViewOverrides& overrides,
                      const QDateTime& clock);

 Q_SIGNALS:
  // Once after each load, reload, mode switch, change of no-miss or era.
  void changed(ViewerSession::Change change);

 private:
  AfterReload reloadRuns(ViewerCore::Reload kind, const QDate& today);

  SettingsFile& settings_;
  LoadFeedback& feedback_;
  ViewerCore core_;
  bool selected_ = false;
  QString recordFolder_;
  QString recordName_;
  std::optional<bool> calendarAllModes_;
};

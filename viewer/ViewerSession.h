#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>

#include "analysis/PracticeCalendar.h"
#include "analysis/View.h"
#include "settings/Options.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"

class QIODevice;
class SettingsFile;

// The viewer as the main window drives it: the core and what the window used
// to decide by itself. It holds the record file, loads and saves the settings
// file's options (their view settings are the core's), the start day, the rule
// of a live reload, the practice calendar's input and the export of the
// active view, every run or the calendar's days. The window reads its
// controls, calls it and shows the answer; the report tool starts from the
// same options through the same functions.
class ViewerSession {
 public:
  ViewerSession(SettingsFile& settings, LoadFeedback& feedback);

  ViewerCore& core() { return core_; }
  const ViewerCore& core() const { return core_; }
  SettingsFile& settingsFile() const { return settings_; }

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
  // Selects the mode (the window presses its button); until then, as after
  // the settings file or the command line named one, no mode is selected.
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
  // (`change` edits a copy); the mode and the start day stay as the session holds them.
  void changeSettings(const std::function<void(ViewSettings&)>& change);
  void setMarks(const QString& hitMark, const QString& missMark);  // an empty one keeps its character
  // Sets the era (a null or invalid day leaves that side open; both: no era).
  // The caller then clears the panes and computes the active view again.
  void setEra(const QDate& from, const QDate& to);

  // Whether a change of the record file is followed now: the option on, a
  // mode selected and a record file named.
  bool followsRecordFile(bool autoReload) const { return autoReload && modeSelected() && !recordName_.isEmpty(); }
  // A live reload. It answers what the window does next: nothing (the load
  // failed, or the views of this mode are as they were), clear the panes
  // (memory ran out), or clear them and compute the active view again (the
  // start day moved on to `today` first).
  enum class AfterReload { Nothing, ViewsUnchanged, ClearPanes, Recompute };
  AfterReload reload(ViewerCore::Reload kind, const QDate& today);

  // The banner pictures "Oiwai<n>.bmp" in the folder: the largest n (0 without one).
  static int bannerPictureCount(const QString& folder);

  // The practice calendar's runs (those in view) and mode.
  std::span<const PracticeRecord* const> calendarRuns() const;
  PracticeMode calendarMode() const;
  // Whether the calendar counts every mode, as the calendar window last kept it.
  bool calendarAllModes() const;

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

 private:
  SettingsFile& settings_;
  LoadFeedback& feedback_;
  ViewerCore core_;
  bool selected_ = false;
  QString recordFolder_;
  QString recordName_;
};

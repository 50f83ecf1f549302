#include "viewer/ViewerSession.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <tuple>

#include "platform/NativePath.h"
#include "records/DayCount.h"
#include "settings/CalendarOptions.h"
#include "settings/SettingsFile.h"
#include "viewer/OutputWriter.h"

using namespace Qt::StringLiterals;

ViewerSession::ViewerSession(SettingsFile& settings, LoadFeedback& feedback)
    : settings_(settings), feedback_(feedback), core_(settings, feedback) {}

ViewSettings ViewerSession::viewSettingsOf(const MainOptions& o) {
  ViewSettings s = o.view;
  if (s.mode < 0 || s.mode >= PracticeModeCount) s.mode = ModeRomaji;
  return s;
}

QString ViewerSession::checkStoredEra(const SettingsFile& settings, MainOptions& o) {
  QStringList problems;
  for (const auto& [key, day, side] :
       {std::tuple(u"EraFrom"_s, &o.view.eraFrom, u"開始日"_s), std::tuple(u"EraTo"_s, &o.view.eraTo, u"終了日"_s)}) {
    const QString text = settings.readText(SettingsKeys::Option, key, {});
    if (!text.isEmpty() && !day->isValid())
      problems << u"設定ファイルの集計の%1 %2=%3 は日付として読めません。%1を決めずに集計します。"_s.arg(side, key,
                                                                                                         text);
  }
  ViewSettings& s = o.view;
  if (s.eraFrom.isValid() && s.eraTo.isValid() && s.eraTo < s.eraFrom) {
    problems
        << u"設定ファイルの集計の期間 %1 ～ %2 は終了日が開始日より前です。期間を決めずにすべての記録を集計します。"_s
               .arg(s.eraFrom.toString(SettingsDays::format()), s.eraTo.toString(SettingsDays::format()));
    s.eraFrom = s.eraTo = QDate();
  }
  return problems.join(u'\n');
}

MainOptions ViewerSession::loadOptions(const SettingsEnvironment& environment) {
  MainOptions o = MainOptions::load(settings_, environment);
  if (const QString problem = checkStoredEra(settings_, o); !problem.isEmpty()) feedback_.showMessage(problem);
  core_.setSettings(o.view);  // the mode as it is: one that names no mode selects none
  recordFolder_ = o.path;
  recordName_ = o.recFile;
  return o;
}

bool ViewerSession::saveOptions(MainOptions o, MainOptions::ColorResolver resolveColor) const {
  o.view = core_.settings();
  o.path = recordFolder_;
  o.recFile = recordName_;
  return settings_.writeTogether([&] { return o.save(settings_, resolveColor); });
}

void ViewerSession::selectMode(int mode) {
  selected_ = mode >= 0 && mode < PracticeModeCount;
  ViewSettings s = core_.settings();
  s.mode = mode;
  core_.setSettings(s);
  Q_EMIT changed(Change::Mode);
}

LoadOutcome ViewerSession::load() {
  const LoadOutcome outcome = core_.load(recordPath());
  Q_EMIT changed(Change::Load);
  return outcome;
}

QString ViewerSession::eraText() const { return ViewSettingsMapping::eraText(core_.settings()); }

EraDays ViewerSession::eraDays() const { return ViewSettingsMapping::eraDays(core_.settings()).value_or(EraDays()); }

std::optional<PracticeMode> ViewerSession::modeOfLetter(QStringView letter) {
  if (letter == u"A") return ModeAlphabet;
  if (letter == u"ｱ") return ModeKana;
  if (letter == u"R") return ModeRomaji;
  if (letter == u"!") return ModeSymbols;
  return std::nullopt;
}

void ViewerSession::setRecordFile(const QString& folder, const QString& name) {
  recordFolder_ = folder;
  recordName_ = name;
}

ViewerSession::CommandLine ViewerSession::applyCommandLine(const QStringList& arguments) {
  if (arguments.isEmpty()) {
    if (!QFileInfo(recordPath()).isFile()) recordName_.clear();
    return CommandLine::None;
  }
  // As the system gives it: on Windows "C:\Users\練習.ｷﾛｸ" names its folder with "\".
  const QString& argument = arguments.first();
  const bool found = QFileInfo(NativePath::fromNative(argument)).isFile();
  if (found) {
    setRecordFile(NativePath::folderPart(argument), NativePath::namePart(argument));
  } else {
    recordName_.clear();
  }
  if (arguments.size() == 2) {
    ViewSettings s = core_.settings();
    s.mode = modeOfLetter(arguments[1]).value_or(ModeRomaji);
    core_.setSettings(s);
  }
  return found ? CommandLine::RecordFile : CommandLine::MissingFile;
}

double ViewerSession::startDate(const QDate& day, double before) {
  return DayCount::encodeDate(day.year(), day.month(), day.day()).value_or(before);
}

void ViewerSession::setStartDay(const QDate& day) {
  ViewSettings s = core_.settings();
  s.startDate = startDate(day, s.startDate);
  core_.setSettings(s);
}

void ViewerSession::changeSettings(const std::function<void(ViewSettings&)>& change) {
  ViewSettings s = core_.settings();
  change(s);
  s.mode = core_.settings().mode;
  s.startDate = core_.settings().startDate;
  const bool noMissChanged = s.noMiss != core_.settings().noMiss;
  core_.setSettings(s);
  if (noMissChanged) Q_EMIT changed(Change::NoMiss);
}

void ViewerSession::setEra(const QDate& from, const QDate& to) {
  changeSettings([&](ViewSettings& s) {
    s.eraFrom = from.isValid() ? from : QDate();
    s.eraTo = to.isValid() ? to : QDate();
  });
  Q_EMIT changed(Change::Era);
}

void ViewerSession::setMarks(const QString& hitMark, const QString& missMark) {
  ViewSettings s = core_.settings();
  if (!hitMark.isEmpty()) s.hitMark = hitMark;
  if (!missMark.isEmpty()) s.missMark = missMark;
  core_.setSettings(s);
}

ViewerSession::AfterReload ViewerSession::reload(ViewerCore::Reload kind, const QDate& today) {
  const AfterReload next = reloadRuns(kind, today);
  Q_EMIT changed(Change::Reload);
  return next;
}

ViewerSession::AfterReload ViewerSession::reloadRuns(ViewerCore::Reload kind, const QDate& today) {
  const LoadOutcome outcome = core_.reload(recordPath(), kind);
  if (outcome == LoadOutcome::OutOfMemory) return AfterReload::ClearPanes;
  if (outcome != LoadOutcome::Loaded) return AfterReload::Nothing;
  // Runs of other modes alone change nothing that the views of this mode show.
  if (!core_.changedMode(core_.settings().practiceMode())) return AfterReload::ViewsUnchanged;
  // A record is celebrated on the day it is set, also when the viewer has been open since an earlier day.
  setStartDay(today);
  return AfterReload::Recompute;
}

int ViewerSession::bannerPictureCount(const QString& folder) {
  int count = 0;
  // Name filters match without regard to case: "OIWAI1.BMP" counts too.
  const QStringList names = QDir(folder).entryList({u"Oiwai*.bmp"_s}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    const qsizetype dot = name.indexOf(u'.');
    bool ok = false;
    const int number = name.mid(5, dot - 5).toInt(&ok);
    count = std::max(count, ok ? number & 0xFF : 0);
  }
  return count;
}

std::span<const PracticeRecord* const> ViewerSession::calendarRuns() const { return core_.runsInView().runs; }

PracticeMode ViewerSession::calendarMode() const { return static_cast<PracticeMode>(std::clamp(mode(), 0, 255)); }

bool ViewerSession::calendarAllModes() const {
  return calendarAllModes_.value_or(CalendarOptions::load(settings_).allModes);
}

QString ViewerSession::exportFileName(ExportContent content, View view) const {
  // Named as the typist calls what it holds: every run, the calendar, or the tab.
  const QString part = content == ExportContent::Calendar   ? u"カレンダー"_s
                       : content == ExportContent::EveryRun ? u"全記録"_s
                                                            : viewInfo(view).caption.toString();
  return QFileInfo(recordName_).completeBaseName() + u'_' + part + u".csv"_s;
}

ViewExport::Result ViewerSession::writeExport(QIODevice& out, const ExportRequest& r,
                                              const ViewExport::Progress& progress) {
  OutputRequest request;
  request.format = r.json ? OutputFormat::Json : OutputFormat::Csv;
  request.encoding = r.shiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8;
  request.everyRun = r.content == ExportContent::EveryRun;
  if (r.content == ExportContent::ActiveView) request.activeView = r.view;
  // The calendar's days as the calendar window counts them: the mode shown, or every mode.
  request.calendar = r.content == ExportContent::Calendar;
  request.allModes = r.calendarAllModes;
  request.today = r.today;
  return writeOutput(out, request, progress);
}

ViewExport::Result ViewerSession::writeOutput(QIODevice& out, const OutputRequest& request,
                                              const ViewExport::Progress& progress) {
  return ::writeOutput(out, core_, request, recordName_, progress);
}

bool ViewerSession::loadRecordFile(const QString& path, bool rebuild) {
  if (rebuild && QFileInfo(path).isFile() && !core_.forgetStoredSize(path)) return false;
  return core_.load(path) == LoadOutcome::Loaded;
}

QString ViewerSession::startReport(const QString& recordPath, const SettingsEnvironment& environment,
                                   const ViewOverrides& overrides, const QDateTime& clock) {
  const ViewSettings settings = overrides.over(loadOptions(environment), clock);
  const QFileInfo record(recordPath);
  setRecordFile(record.path() + u'/', record.fileName());
  if (QString error = overrides.eraError(settings); !error.isEmpty()) return error;
  core_.setSettings(settings);
  return {};
}

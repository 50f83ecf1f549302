#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTabWidget>

#include "settings/SettingsFile.h"
#include "ui/ExportDialog.h"
#include "ui/LoadingFeedback.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmOpening.h"
#include "viewer/ExportFile.h"
#include "viewer/ExportTarget.h"

using namespace Qt::StringLiterals;

// Saves every run, or the active view's data for the current mode and options,
// as a CSV or JSON file, through the same code as the report tool. The file is
// replaced only once the save dialog has asked, and then as a whole; the
// record file, its data file and the settings file are never replaced. One
// export runs at a time.
void TfrmMain::ExportClick() {
  if (!session_->hasExport()) {
    MessageBoxes::showMessage(this, u"エクスポートする練習がありません。記録ファイルを読み込んでください。"_s);
    return;
  }
  QAction* item = menuItem(u"Export1"_s);
  if (!item->isEnabled()) return;
  item->setEnabled(false);
  struct EnabledAgain {
    QAction* item;
    ~EnabledAgain() { item->setEnabled(true); }
  } const enabledAgain{item};

  const int tab = std::clamp(activeTab(), 0, ViewCount - 1);
  ExportDialog choice(PageControl1->tabText(tab), this);
  if (choice.exec() != QDialog::Accepted) return;
  ViewerSession::ExportRequest request;
  switch (choice.content()) {
    case ExportDialog::Content::View: request.content = ViewerSession::ExportContent::ActiveView; break;
    case ExportDialog::Content::EveryRun: request.content = ViewerSession::ExportContent::EveryRun; break;
    case ExportDialog::Content::Calendar: request.content = ViewerSession::ExportContent::Calendar; break;
  }
  request.view = static_cast<View>(tab);

  const QString csvFilter = u"CSV ファイル (*.csv)"_s;
  const QString jsonFilter = u"JSON ファイル (*.json)"_s;
  QFileDialog save(this, u"エクスポート"_s);
  save.setObjectName(u"SaveDialog1"_s);
  save.setOption(QFileDialog::DontUseNativeDialog);
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setNameFilters({csvFilter, jsonFilter});
  save.setDefaultSuffix(u"csv"_s);
  connect(&save, &QFileDialog::filterSelected, &save, [&save, &jsonFilter](const QString& filter) {
    save.setDefaultSuffix(filter == jsonFilter ? u"json"_s : u"csv"_s);
  });
  save.setDirectory(session_->recordFolder().isEmpty() ? QDir::currentPath() : session_->recordFolder());
  save.selectFile(session_->exportFileName(request.content, request.view));
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return;
  const QString path = save.selectedFiles().first();
  request.json = save.selectedNameFilter() == jsonFilter || path.endsWith(u".json"_s, Qt::CaseInsensitive);
  request.shiftJis = choice.shiftJis();
  if (refusesExportTarget(path)) return;
  try {
    writeExport(path, request);
  } catch (const std::bad_alloc&) {  // a pass or the calendar; the export itself says so as a result
    feedback_->hideLoading();
    frmOpening->setWindowModality(Qt::NonModal);
    MessageBoxes::showError(this, ViewExport::outOfMemory(QDir::toNativeSeparators(path)));
  }
}

// Says in a message box why the target is refused when it is the record file,
// its data file or the settings file, under any name or link.
bool TfrmMain::refusesExportTarget(const QString& path) {
  const auto kept = ExportTarget::KeptFiles::of(recordPath(), settings_->path());
  const ExportTarget::KeptFile clash = ExportTarget::clash(path, kept);
  if (clash == ExportTarget::KeptFile::None) return false;
  MessageBoxes::showError(this, ExportTarget::refusal(QDir::toNativeSeparators(path), clash, kept) +
                                    u"\n別のファイル名を指定してください。"_s);
  return true;
}

// Writes every run, the practice calendar's days or the active view's data to
// `path` through a QSaveFile: a failed export leaves the file as it was. An
// export of every run that takes more than a glance shows the loading window
// with how far it has come. No load runs while the runs are written: a live
// reload asked for meanwhile follows once the export has ended.
void TfrmMain::writeExport(const QString& path, ViewerSession::ExportRequest request) {
  const LoadScheduler::Turn turn(*loads_);
  const QString shownPath = QDir::toNativeSeparators(path);
  ExportFile file(path);
  if (!file.open()) {
    MessageBoxes::showError(this, file.failure(shownPath));
    return;
  }
  constexpr qint64 WindowAfterMs = 400;
  QElapsedTimer clock;
  clock.start();
  int percent = -1;  // of the runs written; -1 while the window is not shown
  const ViewExport::Progress progress = [this, &clock, &percent](std::int64_t done, std::int64_t total) {
    if (percent < 0) {
      if (clock.elapsed() < WindowAfterMs) return;
      frmOpening->setWindowModality(Qt::ApplicationModal);
      feedback_->showLoading(u"エクスポート中..."_s);
      feedback_->startProgress(100, 1);
      percent = 0;
    }
    for (; percent < done * 100 / total; ++percent) feedback_->stepProgress();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };

  if (request.content == ViewerSession::ExportContent::Calendar) {
    request.calendarAllModes = session_->calendarAllModes();
    request.today = QDate::currentDate();
  } else if (request.content == ViewerSession::ExportContent::ActiveView) {
    runActivePass();  // the active view as the current options give it
    request.view = static_cast<View>(std::clamp(activeTab(), 0, ViewCount - 1));
  }
  const ViewExport::Result result = session_->writeExport(file, request, progress);
  if (percent >= 0) {
    feedback_->hideLoading();
    frmOpening->setWindowModality(Qt::NonModal);
  }
  if (!result.written()) file.cancelWriting();
  if (result.outcome == ViewExport::Result::Outcome::OutOfMemory)
    MessageBoxes::showError(this, ViewExport::outOfMemory(shownPath) + u"\n%1 は変更していません。"_s.arg(shownPath));
  else if (!result.written() || !file.commit())
    MessageBoxes::showError(this, file.failure(shownPath));
}

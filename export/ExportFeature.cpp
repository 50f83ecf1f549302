#include "export/ExportFeature.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>

#include "export/ExportDialog.h"
#include "settings/SettingsFile.h"
#include "viewer/ExportFile.h"
#include "viewer/ExportTarget.h"
#include "viewer/LoadScheduler.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {FeatureItem(FeatureMenu::File, u"Export1"_s, u"エクスポート...(&E)"_s)};
  d.helpTopic = ExportDialog::HelpContext;
  return d;
}

}  // namespace

ExportFeature::ExportFeature() : Feature(declared()) {}

void ExportFeature::open(const FeatureHost& host) {
  ViewerSession& session = *host.session;
  if (!session.hasExport()) {
    host.showMessage(host.window, u"エクスポートする練習がありません。記録ファイルを読み込んでください。"_s);
    return;
  }
  QAction* item = host.window->findChild<QAction*>(declaration().items[0].name);
  if (!item->isEnabled()) return;
  item->setEnabled(false);
  struct EnabledAgain {
    QAction* item;
    ~EnabledAgain() { item->setEnabled(true); }
  } const enabledAgain{item};

  const int tab = std::clamp(int(host.activeView()), 0, ViewCount - 1);
  ExportDialog choice(viewInfo(tab).caption.toString(), host.window);
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
  QFileDialog save(host.window, u"エクスポート"_s);
  save.setObjectName(u"SaveDialog1"_s);
  save.setOption(QFileDialog::DontUseNativeDialog);
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setNameFilters({csvFilter, jsonFilter});
  save.setDefaultSuffix(u"csv"_s);
  QObject::connect(&save, &QFileDialog::filterSelected, &save, [&save, &jsonFilter](const QString& filter) {
    save.setDefaultSuffix(filter == jsonFilter ? u"json"_s : u"csv"_s);
  });
  save.setDirectory(session.recordFolder().isEmpty() ? QDir::currentPath() : session.recordFolder());
  save.selectFile(session.exportFileName(request.content, request.view));
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return;
  const QString path = save.selectedFiles().first();
  request.json = save.selectedNameFilter() == jsonFilter || path.endsWith(u".json"_s, Qt::CaseInsensitive);
  request.shiftJis = choice.shiftJis();
  if (refusesExportTarget(host, path)) return;
  try {
    writeExport(host, path, request);
  } catch (const std::bad_alloc&) {  // a pass or the calendar; the export itself says so as a result
    host.feedback->hideLoading();
    host.loadingWindow->setWindowModality(Qt::NonModal);
    host.reportError(host.window, ViewExport::outOfMemory(QDir::toNativeSeparators(path)));
  }
}

bool ExportFeature::refusesExportTarget(const FeatureHost& host, const QString& path) {
  const auto kept = ExportTarget::KeptFiles::of(host.session->recordPath(), host.settings->path());
  const ExportTarget::KeptFile clash = ExportTarget::clash(path, kept);
  if (clash == ExportTarget::KeptFile::None) return false;
  host.reportError(host.window, ExportTarget::refusal(QDir::toNativeSeparators(path), clash, kept) +
                                    u"\n別のファイル名を指定してください。"_s);
  return true;
}

// Writes every run, the practice calendar's days or the active view's data to
// `path` through a QSaveFile: a failed export leaves the file as it was. An
// export of every run that takes more than a glance shows the loading window
// with how far it has come. No load runs while the runs are written: a live
// reload asked for meanwhile follows once the export has ended.
void ExportFeature::writeExport(const FeatureHost& host, const QString& path, ViewerSession::ExportRequest request) {
  const LoadScheduler::Turn turn(*host.loads);
  const QString shownPath = QDir::toNativeSeparators(path);
  ExportFile file(path);
  if (!file.open()) {
    host.reportError(host.window, file.failure(shownPath));
    return;
  }
  constexpr qint64 WindowAfterMs = 400;
  QElapsedTimer clock;
  clock.start();
  int percent = -1;  // of the runs written; -1 while the window is not shown
  const ViewExport::Progress progress = [&host, &clock, &percent](std::int64_t done, std::int64_t total) {
    if (percent < 0) {
      if (clock.elapsed() < WindowAfterMs) return;
      host.loadingWindow->setWindowModality(Qt::ApplicationModal);
      host.feedback->showLoading(u"エクスポート中..."_s);
      host.feedback->startProgress(100, 1);
      percent = 0;
    }
    for (; percent < done * 100 / total; ++percent) host.feedback->stepProgress();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };

  if (request.content == ViewerSession::ExportContent::Calendar) {
    request.calendarAllModes = host.session->calendarAllModes();
    request.today = host.session->today();
  } else if (request.content == ViewerSession::ExportContent::ActiveView) {
    host.computeActiveView();  // the active view as the current options give it
    request.view = static_cast<View>(std::clamp(int(host.activeView()), 0, ViewCount - 1));
  }
  const ViewExport::Result result = host.session->writeExport(file, request, progress);
  if (percent >= 0) {
    host.feedback->hideLoading();
    host.loadingWindow->setWindowModality(Qt::NonModal);
  }
  if (!result.written()) file.cancelWriting();
  if (result.outcome == ViewExport::Result::Outcome::OutOfMemory)
    host.reportError(host.window, ViewExport::outOfMemory(shownPath) + u"\n%1 は変更していません。"_s.arg(shownPath));
  else if (!result.written() || !file.commit())
    host.reportError(host.window, file.failure(shownPath));
}

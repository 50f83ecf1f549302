#include "ui/RecordFileFollower.h"

#include <QAction>
#include <QDate>

#include "ui/LoadingFeedback.h"
#include "ui/ViewPanes.h"
#include "viewer/LoadScheduler.h"
#include "viewer/RecordFileWatcher.h"
#include "viewer/ViewerSession.h"

RecordFileFollower::RecordFileFollower(QObject* parent, Parts parts)
    : QObject(parent), parts_(std::move(parts)), watcher_(new RecordFileWatcher(this)) {
  connect(watcher_, &RecordFileWatcher::grown, this, [this](bool partialLineWaitedFor) {
    reload(partialLineWaitedFor ? ViewerCore::Reload::AppendedAsItIs : ViewerCore::Reload::Appended);
  });
  connect(watcher_, &RecordFileWatcher::replaced, this, [this] { reload(ViewerCore::Reload::Replaced); });
}

void RecordFileFollower::follow() {
  const LoadedRecords& records = parts_.session->records();
  // A file missing now is watched all the same: it is followed again once it is back.
  if (parts_.session->followsRecordFile(parts_.option->isChecked()))
    watcher_->watch(parts_.session->recordPath(), records.CachedFile.isEmpty() ? -1 : records.CachedUpTo);
  else
    watcher_->stop();
}

void RecordFileFollower::reload(ViewerCore::Reload kind) {
  if (!parts_.option->isChecked() || !parts_.session->modeSelected() || parts_.closing()) return;
  using enum ViewerCore::Reload;
  using Request = LoadScheduler::Request;
  if (!parts_.loads->mayRunNow(kind == Appended         ? Request::Appended
                               : kind == AppendedAsItIs ? Request::AppendedAsItIs
                                                        : Request::Replaced))
    return;
  const LoadScheduler::Turn turn(*parts_.loads);
  parts_.panes->keepScrolls();
  parts_.feedback->setQuiet(kind != Replaced);
  const ViewerSession::AfterReload next = parts_.session->reload(kind, QDate::currentDate());
  parts_.feedback->setQuiet(false);
  switch (next) {
    case ViewerSession::AfterReload::Nothing: return;
    case ViewerSession::AfterReload::ClearPanes: parts_.panes->clear(); return;
    case ViewerSession::AfterReload::ViewsUnchanged: parts_.panes->forgetScrolls(); return;
    case ViewerSession::AfterReload::Recompute: break;
  }
  parts_.panes->clear();
  parts_.recompute();
}

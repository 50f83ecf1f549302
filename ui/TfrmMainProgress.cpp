#include <QDate>

#include "progress/ProgressWindow.h"
#include "settings/SettingsFile.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"
#include "viewer/ViewerSession.h"

// The progress chart, non-modal: made once, then shown and brought up.
void TfrmMain::Progress1Click() {
  if (!progressWindow_) progressWindow_ = new ProgressWindow(settings_.get(), this, MessageBoxes::showError);
  progressWindow_->show();  // placed before its first chart is painted
  updateProgress();
  progressWindow_->raise();
  progressWindow_->activateWindow();
}

void TfrmMain::updateProgress() {
  if (!progressWindow_ || !progressWindow_->isVisible()) return;
  const ViewSettings& s = session_->core().settings();
  progressWindow_->setSource(session_->recordName(), ViewSettingsMapping::eraText(s));
  progressWindow_->setRuns(session_->calendarRuns(), session_->calendarMode(), s.noMiss, QDate::currentDate(),
                           ViewSettingsMapping::eraDays(s).value_or(EraDays()));
}

// After a load or reload, a mode switch or a new era.
void TfrmMain::updateSideWindows() {
  updateCalendar();
  updateProgress();
}

#include <QAction>
#include <QDate>
#include <QLabel>

#include "ui/EraDialog.h"
#include "ui/TfrmMain.h"
#include "viewer/ViewerSession.h"

// オプション → 集計の開始日: the views count only the runs of the era chosen.
void TfrmMain::Era1Click() {
  EraDialog dialog(this);
  const ViewSettings& s = session_->settings();
  dialog.setEra(s.eraFrom, s.eraTo, QDate::currentDate());
  if (dialog.exec() != QDialog::Accepted) return;
  session_->setEra(dialog.from(), dialog.to());
  saveAfterChange();
  showEra();
  if (!modeSelected()) return;
  // As a mode switch does: the other panes are computed when their tab is shown.
  clearPanes();
  runActivePass();
}

// In the title and on the tool bar, so that nobody takes the views of an era for the whole history.
void TfrmMain::showEra() {
  const ViewSettings& s = session_->settings();
  setWindowTitle(ViewSettingsMapping::windowTitle(s));
  const QString era = ViewSettingsMapping::eraText(s);
  lblEra->setText(era);
  lblEraAction->setVisible(!era.isEmpty());
}

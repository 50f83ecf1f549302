#include "ui/MainDialogs.h"

#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmRecent.h"
#include "widgets/FontDialog.h"

void MainDialogs::create(QWidget* parent) {
  AboutBox = new TAboutBox(parent);
  frmColor = new TfrmColor(parent);
  frmGChar = new TfrmGChar(parent);
  frmRecent = new TfrmRecent(parent);
  frmAverCfg = new TfrmAverCfg(parent);
}

FontDialog* MainDialogs::fontDialog(QWidget* parent) {
  if (!FontDialog1) FontDialog1 = new FontDialog(parent);
  return FontDialog1;
}

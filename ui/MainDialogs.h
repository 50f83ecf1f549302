#pragma once

class FontDialog;
class QWidget;
class TAboutBox;
class TfrmAverCfg;
class TfrmColor;
class TfrmGChar;
class TfrmRecent;

// The main window's dialogs, made once after it and kept for the whole run
// with what the user last left in them; the font dialog on its first use.
struct MainDialogs {
  TAboutBox* AboutBox = nullptr;
  TfrmColor* frmColor = nullptr;
  TfrmGChar* frmGChar = nullptr;
  TfrmRecent* frmRecent = nullptr;
  TfrmAverCfg* frmAverCfg = nullptr;
  FontDialog* FontDialog1 = nullptr;

  void create(QWidget* parent);
  FontDialog* fontDialog(QWidget* parent);  // FontDialog1, made if it is not yet
};

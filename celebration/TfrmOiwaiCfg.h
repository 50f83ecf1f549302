#pragma once

#include <QColor>
#include <QDialog>

#include <QFont>
#include "celebration/CelebrationReport.h"

#include "platform/MediaPlayer.h"

class FontDialog;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

// "お祝いのカスタマイズ": the fanfare file (with a test play), the celebration
// message and the banner font. Created once and kept; the main window gives
// it its values before each showing and reads them back after OK.
class TfrmOiwaiCfg : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOiwaiCfg(QWidget* parent = nullptr);

  // The values to edit: the fields and the pending font take copies.
  void setValues(const QString& fanfare, const QString& message, const QFont& font, const QColor& fontColor);

  // The path in edSound, shown as the system writes paths (on Windows with "\"), given with "/".
  QString fanfare() const;
  QString message() const;  // Edit1's text
  QFont pendingFont() const { return pendingFont_; }
  QColor pendingFontColor() const { return pendingColor_; }

  // How the dialog's messages (a fanfare file not found or that cannot sound)
  // are shown; without one, in a plain message box.
  void setReporter(CelebrationReporter reporter) { reporter_ = std::move(reporter); }

  // Handlers under their design names.
  void btnFontClick();
  void btRefClick();
  void btTestClick();

  QLabel* Label5 = nullptr;
  QLineEdit* edSound = nullptr;
  QPushButton* btRef = nullptr;
  QPushButton* btTest = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* btnFont = nullptr;
  QLabel* Label2 = nullptr;        // the pending font's name
  QLabel* Label3 = nullptr;        // its size, "<n>point"
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
  MediaPlayer MediaPlayer1;        // the test play
  // The choosers, made on first use: the program's own font dialog, with the
  // font's colour (widgets/FontDialog), and the fanfare file's.
  FontDialog* FontDialog1 = nullptr;
  QFileDialog* OpenDialog1 = nullptr;

  void done(int result) override;  // FormClose: stops a test still playing

 protected:
  void showEvent(QShowEvent* event) override;  // FormActivate

 private:
  void showPendingFont();
  void centreOnScreen();
  bool soundFileExists() const;

  QFont pendingFont_;
  QColor pendingColor_ = Qt::black;
  void report(const CelebrationReport& report);
  CelebrationReporter reporter_;
};

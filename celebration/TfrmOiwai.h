#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QTimer>

#include <memory>
#include <optional>

#include "celebration/BannerAnimation.h"
#include "celebration/CelebrationReport.h"
#include "platform/MediaPlayer.h"

class SettingsFile;

// The celebration banner: a small borderless red window in the middle of the
// screen. The record line and the message move into place in one of five
// animations, a picture grows over them, and the banner closes by itself while
// the fanfare plays. A click closes it at once. Shown modally, one banner per
// celebration.
//
// The window only executes what BannerAnimation computes, drawing into an
// off-screen pixmap that persists between ticks (nothing is erased) and showing
// it in paintEvent.
class TfrmOiwai : public QDialog {
  Q_OBJECT
 public:
  // `programFolder` (ending in "/") holds the pictures "Oiwai<N>.BMP"; the next
  // picture number is kept in `settings`, the program's open settings file.
  // The animation is drawn at random unless `kind` names one.
  TfrmOiwai(const QString& programFolder, SettingsFile& settings, QWidget* parent = nullptr,
            std::optional<celebration::AnimationKind> kind = std::nullopt);
  ~TfrmOiwai() override;

  // Ticks come every 16 ms, as often as a desktop timer reliably does.
  static constexpr int TickMilliseconds = 16;

  // Set before showing (the main window's ShowOiwai).
  QString RecordLine;
  QString MessageLine;
  QFont bannerFont;
  QColor bannerFontColor = Qt::white;
  void setPictureMax(int pictureMax);
  // The fanfare, or empty when the file does not exist.
  void setSoundFile(const QString& path) { soundFile_ = path; }

  // What the banner has to tell (the fanfare that cannot sound, a picture that
  // cannot be read, no fanfare file), in order. The banner shows no box of its
  // own: a modal box run inside its show event or a tick would hold up the
  // animation's timers or be closed under by them. Its opener shows these once
  // the banner has closed.
  const QList<CelebrationReport>& reports() const { return reports_; }

  const celebration::BannerAnimation& animation() const { return *animation_; }
  const QPixmap& canvas() const { return canvas_; }

  void done(int result) override;  // every way of closing runs FormClose

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;  // FormClick

 private:
  void FormActivate();
  void Timer1Timer();
  void Timer2Timer();
  void FormClose();
  void execute(const std::vector<celebration::BannerDrawOp>& ops);
  const QPixmap& pictureOf(celebration::BannerPicture picture) const;
  QPixmap linePicture(const QString& line, int width, int height) const;
  void prepareGrownPicture();
  QString pictureFilePath() const;

  QString programFolder_;
  SettingsFile& settings_;
  QString soundFile_;
  std::unique_ptr<celebration::BannerAnimation> animation_;
  MediaPlayer MediaPlayer1;
  QTimer Timer1;
  QTimer Timer2;
  QPixmap canvas_;
  QPixmap RecordLinePicture;
  QPixmap MessageLinePicture;
  QPixmap GrownPicture;
  QList<CelebrationReport> reports_;
  bool activated_ = false;
  bool closed_ = false;
};

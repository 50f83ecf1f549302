#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The loading window: a borderless 396 x 255 window on blue, centred on the
// screen, with a picture, a caption and a progress bar. The loader only sets
// the caption and the bar and shows and hides it.
class TfrmOpening : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmOpening(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;  // 396 x 221, our own picture
  QLabel* Label1 = nullptr;  // yellow caption, "ﾌｧｲﾙ読み込み中..."
  QProgressBar* ProgressBar1 = nullptr;

  void centreOnScreen();
};

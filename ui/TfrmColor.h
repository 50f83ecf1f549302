#pragma once

#include <QColor>
#include <QDialog>
#include <QList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QButtonGroup;
class QGroupBox;

// "背景色の選択": a pane's background from a grid of 16, 64 or 125 colours.
// The preview's background is the result however the dialog closes; Cancel
// ("取消") gives back the colour it had when the dialog was shown. Created once;
// the grid size chosen lasts until the program ends.
class TfrmColor : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmColor(QWidget* parent = nullptr);

  // Before showing: the active pane's background and text colour.
  void setPreviewColors(const QColor& background, const QColor& text);
  QColor previewBackground() const;

  // The grid's labels, "Label0" ... in index order.
  QList<QLabel*> colorLabels() const;
  // 0: 16 colours, 1: 64 colours, 2: 125 colours.
  int colorType() const;
  void setColorType(int type);

  // The colour of grid cell `index` for a grid type.
  static QColor paletteColor(int type, int index);
  static int paletteSize(int type);

  QPlainTextEdit* moPreview = nullptr;
  QGroupBox* rgColorType = nullptr;
  QPushButton* bbOK = nullptr;      // "選択"
  QPushButton* bbCancel = nullptr;  // "取消"

 protected:
  void showEvent(QShowEvent* event) override;  // FormActivate
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layOutBelowGrid();
  void setPreviewBackground(const QColor& colour);
  void ColorShow();
  void ColorLabelClick(QLabel* label);
  void bbCancelClick();

  QButtonGroup* colorTypeButtons_ = nullptr;
  QList<QLabel*> labels_;
  QColor PreviewColorAtOpen;
};

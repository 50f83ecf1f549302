#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QStringList>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

// The font dialog of the panes (`FontDialog1`): fixed-pitch fonts only, with
// the effects part (strikeout, underline, colour).
//
// Fixed pitch as the panes need it: every half-width character one column and
// every full-width one two. Qt's own monospaced filter takes only fonts whose
// every character is one width, which drops the Japanese fixed-pitch fonts
// (IPAGothic, IPAMincho, whose kana and kanji are double width); those are
// offered here, with any other such font installed.
//
// The dialog opens on the pane's font as it is drawn (a Windows name such as
// "ＭＳ ゴシック" shows as the font standing for it). OK without a change gives
// back the pane's font itself, so the settings file keeps its name.
class PaneFontDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PaneFontDialog(QWidget* parent);

  void setCurrent(const QFont& font, const QColor& color);
  QFont selectedFont() const { return selectedFont_; }
  QColor selectedColor() const { return selectedColor_; }

  // The installed families whose characters are one or two columns wide.
  static QStringList fixedPitchFamilies();
  // Whether a family's characters are one column (half width) or two (full width) wide.
  static bool isFixedPitch(const QString& family);

  void accept() override;

 private:
  QFont fontShown() const;
  void showSample();
  void chooseColor();
  void showColor();

  QListWidget* familyList_;
  QListWidget* styleList_;
  QSpinBox* sizeBox_;
  QCheckBox* strikeOutBox_;
  QCheckBox* underlineBox_;
  QPushButton* colorButton_;
  QLabel* sample_;
  QFont original_;
  QColor originalColor_;
  QColor color_;
  QFont selectedFont_;
  QColor selectedColor_;
};

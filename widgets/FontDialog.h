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

// "フォント": the program's own font dialog (`FontDialog1`), with the effects
// part (strikeout, underline, colour). The panes offer fixed-pitch fonts only;
// the banner every installed family. It stands in for Qt's QFontDialog, which
// calls QFontDatabase::font() on the families it lists, and that reads through
// a null pointer on a family without any style: Wine lists such a family ("MS
// Shell Dlg", a name with no font of its own), so Qt's dialog crashed there on
// every opening. This one offers its four styles itself, never calls
// QFontDatabase::font(), and leaves families without a style out.
//
// Fixed pitch as the panes need it: every half-width character one column and
// every full-width one two. Qt's own monospaced filter takes only fonts whose
// every character is one width, which drops the Japanese fixed-pitch fonts
// (IPAGothic, IPAMincho, whose kana and kanji are double width); those are
// offered here, with any other such font installed.
//
// The dialog opens on the given font as it is drawn (a Windows name such as
// "ＭＳ ゴシック" shows as the font standing for it). OK without a change gives
// back the given font itself, so the settings file keeps its name.
class FontDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Families { FixedPitch, All };

  explicit FontDialog(QWidget* parent, Families families = Families::FixedPitch);

  void setCurrent(const QFont& font, const QColor& color);
  QFont selectedFont() const { return selectedFont_; }
  QColor selectedColor() const { return selectedColor_; }

  // The installed families whose characters are one or two columns wide.
  static QStringList fixedPitchFamilies();
  // Every installed family but the system's private ones and those without a
  // style (names with no font of their own).
  static QStringList allFamilies();
  // Whether a family's characters are one column (half width) or two (full width) wide.
  static bool isFixedPitch(const QString& family);

  void accept() override;

 private:
  QFont fontShown() const;
  void showSample();
  void chooseColor();
  void showColor();

  Families families_;
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

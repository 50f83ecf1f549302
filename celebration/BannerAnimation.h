#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <vector>

// The arithmetic of the celebration banner (TfrmOiwai) without the window:
// the banner's state, the activation values and, tick by tick, the drawing
// operations of the two phases. The window measures the two text lines in the
// banner font, pre-draws them on red, and executes the operations with
// QPainter onto an off-screen pixmap that persists for the banner's lifetime
// (nothing is erased between ticks), showing that pixmap in paintEvent.
//
// Method            | step of the banner window
// ------------------|-------------------------------------------------------
// constructor       | FormCreate (the kind and the stored picture number are drawn/read by the caller)
// activate          | FormActivate
// tickFirstPhase    | Timer1Timer (with the settle redraw and DisAppear when the phase ends)
// startSecondPhase  | DisAppear (private; run by tickFirstPhase)
// tickSecondPhase   | Timer2Timer
// close             | FormClose's picture number step (the window does the sound and the settings file)
namespace celebration {

// The five first-phase animations; the numbers are AnimationKind's values.
enum class AnimationKind : std::uint8_t {
  SlideFromRight = 1,
  SlideFromBothSides = 2,
  DropAndRise = 3,
  ZoomFromCentre = 4,
  WipeLeftToRight = 5,
};

// The off-screen pictures an operation copies from.
enum class BannerPicture : std::uint8_t {
  RecordLine,   // the first line on red, W1 x H
  MessageLine,  // the second line on red, W2 x H
  Grown,        // the picture of the second phase, prepared on its tick 40
};

// Where the second-phase picture grows from.
enum class GrowFrom : std::uint8_t { Left, Centre, Right };

// One drawing operation in client pixels (y down). Every operation paints at
// least one pixel: operations with an empty source or target are never made
// (QPainter would read an empty source rectangle as "the rest of the pixmap").
struct BannerDrawOp {
  enum class Type : std::uint8_t {
    FillRed,  // fill `target` with pure red (255, 0, 0)
    Copy,     // copy `source` of `picture` into `target`, stretched when the sizes differ
  };
  Type type = Type::FillRed;
  BannerPicture picture = BannerPicture::RecordLine;  // Copy only
  std::optional<QRect> source;                        // Copy only; none: the whole picture
  QRect target;

  static BannerDrawOp fill(const QRect& target) {
    return {Type::FillRed, BannerPicture::RecordLine, std::nullopt, target};
  }
  static BannerDrawOp copy(BannerPicture picture, std::optional<QRect> source, const QRect& target) {
    return {Type::Copy, picture, source, target};
  }
  friend bool operator==(const BannerDrawOp&, const BannerDrawOp&) = default;
};

struct FirstPhaseTick {
  std::vector<BannerDrawOp> ops;  // in drawing order
  bool settled = false;           // ops end with the settle redraw (all kinds but the wipe)
  bool ended = false;             // the second phase has started: tick tickSecondPhase from now on
};

struct SecondPhaseTick {
  // Before executing `ops`: load picture file pictureFileName() from the
  // program folder into BannerPicture::Grown, or, when there is none, draw
  // fallbackPictureText() in the banner font in pure red on white, sized to
  // the text's extent. Set on the second phase's tick 40 only.
  bool preparePicture = false;
  std::vector<BannerDrawOp> ops;
  bool close = false;  // the banner should close now (after executing ops)
};

class BannerAnimation {
 public:
  enum class Phase : std::uint8_t { Created, First, Second, Closed };

  static constexpr std::uint8_t SlideStep = 4;
  static constexpr std::uint8_t InitialPictureMax = 5;
  static constexpr int GrowStartTick = 40;  // second-phase tick that prepares the picture
  static constexpr int LastTick = 150;      // the second phase closes the banner on the tick after

  // FormCreate. Throws std::invalid_argument for a kind outside 1..5.
  BannerAnimation(AnimationKind kind, std::uint8_t pictureNumber);

  // A kind 1..5 drawn uniformly at random.
  static AnimationKind randomKind();
  // "祝＞新記録 " + mode name + value + " !!".
  static QString recordLineText(const QString& modeName, quint16 recordValue);
  // The stored OiwaiBmpPattern integer as a picture number: its low 8 bits.
  static std::uint8_t pictureNumberFromSetting(int stored);
  // The picture number after a banner with `number` closes, given PictureMax.
  static std::uint8_t nextPictureNumber(std::uint8_t number, std::uint8_t pictureMax);
  static GrowFrom growDirection(std::uint8_t pictureNumber);
  // "Oiwai<N>.BMP", to be looked up in the program folder.
  static QString pictureFileName(std::uint8_t pictureNumber);
  static QString fallbackPictureText();
  // Top-left corner that centres a window of `window` on a screen of `screen`.
  static QPoint centredTopLeft(const QSize& screen, const QSize& window);

  // The banner's PictureMax (5 after creation); the window sets the main
  // window's count of picture files before showing the banner.
  void setPictureMax(std::uint8_t max) { PictureMax = max; }

  // FormActivate: W1, W2 = text widths of the two lines, H = text height of
  // the first line, in the banner font (negative values are taken as 0).
  // Sizes the client area and starts the first phase.
  void activate(int w1, int w2, int h);

  // Timer1Timer: one tick of the first phase. Empty outside the first phase.
  FirstPhaseTick tickFirstPhase();
  // Timer2Timer: one tick of the second phase. Empty outside the second phase.
  SecondPhaseTick tickSecondPhase();

  // The picture number step of closing (after the second phase, on a click
  // or when the platform closes the window): no tick runs afterwards. Returns
  // the number to store for the next banner; a second call returns it again.
  std::uint8_t close();

  Phase phase() const { return phase_; }
  std::uint8_t pictureNumber() const { return PictureNumber; }
  QString pictureFileName() const { return pictureFileName(PictureNumber); }
  GrowFrom growDirection() const { return growDirection(PictureNumber); }

  QSize clientSize() const { return {ClientWidth, ClientHeight}; }
  QRect clientRect() const { return {0, 0, ClientWidth, ClientHeight}; }
  // The resting places of the two lines.
  QRect recordLineRect() const { return {X1, 10, W1, H}; }
  QRect messageLineRect() const { return {X2, H + 20, W2, H}; }

  int tick() const { return Tick; }

 private:
  using Ops = std::vector<BannerDrawOp>;

  // The steps of the five kinds.
  void slideFromRight(FirstPhaseTick& t);
  void slideFromBothSides(FirstPhaseTick& t);
  void dropAndRise(FirstPhaseTick& t);
  void zoomFromCentre(FirstPhaseTick& t);
  void wipeLeftToRight(FirstPhaseTick& t);

  void recordLineFromRight(Ops& ops) const;
  void settle(FirstPhaseTick& t);            // the settle redraw, then startSecondPhase
  void startSecondPhase(FirstPhaseTick& t);  // DisAppear

  Phase phase_ = Phase::Created;
  AnimationKind AnimationKind_;
  std::uint8_t PictureNumber;
  std::uint8_t PictureMax = InitialPictureMax;
  std::optional<std::uint8_t> storedPictureNumber_;  // set by close()

  int W1 = 0, W2 = 0, H = 0;
  int ClientWidth = 0, ClientHeight = 0;
  int X1 = 0, X2 = 0;
  int SlideOffset = 0;
  int DropOffset = 0;
  int Tick = 0;
  float ScaleX1 = 0.0f, ScaleX2 = 0.0f, ScaleY = 0.0f;
  float GrowStep = 0.0f;
};

}  // namespace celebration

#include "celebration/BannerAnimation.h"

#include <QRandomGenerator>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace celebration {

namespace {

// (left, top, right, bottom) with right and bottom exclusive.
QRect ltrb(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// Only operations that paint something.
void add(std::vector<BannerDrawOp>& ops, const BannerDrawOp& op) {
  if (op.target.isEmpty() || (op.source && op.source->isEmpty())) return;
  ops.push_back(op);
}

void copyPart(std::vector<BannerDrawOp>& ops, BannerPicture picture, const QRect& source, const QRect& target) {
  add(ops, BannerDrawOp::copy(picture, source, target));
}

void copyWhole(std::vector<BannerDrawOp>& ops, BannerPicture picture, const QRect& target) {
  add(ops, BannerDrawOp::copy(picture, std::nullopt, target));
}

// A pixel count times a 0.01 or 0.0125 factor, kept as a single like the
// banner's fields: computed in extended precision, then rounded to float.
float singleScale(int pixels, long double factor) { return static_cast<float>(pixels * factor); }

// trunc(n × scale × factor) with the product in extended precision.
int truncProduct(int n, float scale, long double factor = 1.0L) {
  return static_cast<int>(static_cast<long double>(n) * static_cast<long double>(scale) * factor);
}

}  // namespace

BannerAnimation::BannerAnimation(AnimationKind kind, std::uint8_t pictureNumber)
    : AnimationKind_(kind), PictureNumber(pictureNumber) {
  const auto value = static_cast<int>(kind);
  if (value < 1 || value > 5) throw std::invalid_argument("banner animation kind outside 1..5");
}

AnimationKind BannerAnimation::randomKind() {
  return static_cast<AnimationKind>(QRandomGenerator::global()->bounded(5) + 1);
}

QString BannerAnimation::recordLineText(const QString& modeName, quint16 recordValue) {
  return u"祝＞新記録 "_s + modeName + QString::number(recordValue) + u" !!"_s;
}

std::uint8_t BannerAnimation::pictureNumberFromSetting(int stored) { return static_cast<std::uint8_t>(stored & 0xFF); }

std::uint8_t BannerAnimation::nextPictureNumber(std::uint8_t number, std::uint8_t pictureMax) {
  // The 8-bit increment wraps; the comparison with PictureMax + 1 does not.
  const auto next = static_cast<std::uint8_t>(number + 1);
  return int{next} >= int{pictureMax} + 1 ? 1 : next;
}

GrowFrom BannerAnimation::growDirection(std::uint8_t pictureNumber) {
  switch (pictureNumber % 3) {
    case 0: return GrowFrom::Left;
    case 1: return GrowFrom::Centre;
    default: return GrowFrom::Right;
  }
}

QString BannerAnimation::pictureFileName(std::uint8_t pictureNumber) {
  return u"Oiwai"_s + QString::number(pictureNumber) + u".BMP"_s;
}

QString BannerAnimation::fallbackPictureText() { return u"新記録おめでとう!"_s; }

QPoint BannerAnimation::centredTopLeft(const QSize& screen, const QSize& window) {
  // Integer division truncating towards zero, as the banner centres itself.
  return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

void BannerAnimation::activate(int w1, int w2, int h) {
  if (phase_ != Phase::Created) return;
  W1 = std::max(0, w1);
  W2 = std::max(0, w2);
  H = std::max(0, h);
  ClientWidth = W2 > W1 ? W2 + 20 : W1 + 20;
  ClientHeight = 2 * H + 30;
  X1 = (ClientWidth - W1) / 2;
  X2 = (ClientWidth - W2) / 2;
  SlideOffset = ClientWidth;
  DropOffset = ClientHeight / 2;
  ScaleX1 = singleScale(W1, 0.01L);
  ScaleX2 = singleScale(W2, 0.01L);
  ScaleY = singleScale(H, 0.01L);
  phase_ = Phase::First;
}

FirstPhaseTick BannerAnimation::tickFirstPhase() {
  FirstPhaseTick t;
  if (phase_ != Phase::First) return t;
  switch (AnimationKind_) {
    case AnimationKind::SlideFromRight: slideFromRight(t); break;
    case AnimationKind::SlideFromBothSides: slideFromBothSides(t); break;
    case AnimationKind::DropAndRise: dropAndRise(t); break;
    case AnimationKind::ZoomFromCentre: zoomFromCentre(t); break;
    case AnimationKind::WipeLeftToRight: wipeLeftToRight(t); break;
  }
  return t;
}

// The record line entering from the right edge (kinds 1 and 2).
void BannerAnimation::recordLineFromRight(Ops& ops) const {
  const int s = SlideOffset;
  const int cw = ClientWidth;
  if (X1 + s > cw) return;
  if (X1 + s + W1 >= cw)
    copyPart(ops, BannerPicture::RecordLine, ltrb(0, 0, cw - X1 - s, H), ltrb(X1 + s, 10, cw, H + 10));
  else if (s >= 0)
    copyWhole(ops, BannerPicture::RecordLine, ltrb(X1 + s, 10, X1 + s + W1, H + 10));
}

void BannerAnimation::slideFromRight(FirstPhaseTick& t) {
  const int s = SlideOffset;
  const int cw = ClientWidth;
  recordLineFromRight(t.ops);
  if (X2 + s <= cw) {
    if (X2 + s + W2 >= cw)
      copyPart(t.ops, BannerPicture::MessageLine, ltrb(0, 0, cw - X2 - s, H), ltrb(X2 + s, H + 20, cw, 2 * H + 20));
    else if (s >= 0)
      copyWhole(t.ops, BannerPicture::MessageLine, ltrb(X2 + s, H + 20, X2 + s + W2, 2 * H + 20));
  }
  if (s <= 0) settle(t);
  SlideOffset -= SlideStep;
}

void BannerAnimation::slideFromBothSides(FirstPhaseTick& t) {
  const int s = SlideOffset;
  recordLineFromRight(t.ops);
  // The message line enters from the left edge, its left edge at X2 − S.
  if (X2 - s >= -W2) {
    if (X2 <= s)
      copyPart(t.ops, BannerPicture::MessageLine, ltrb(s - X2, 0, W2, H), ltrb(0, H + 20, X2 - s + W2, 2 * H + 20));
    else if (s > 0)
      copyWhole(t.ops, BannerPicture::MessageLine, ltrb(X2 - s, H + 20, X2 - s + W2, 2 * H + 20));
  }
  if (s <= 0) settle(t);
  SlideOffset -= SlideStep;
}

// The lines are text drawn opaque on red at a point, which is what the
// pre-drawn pictures hold: each is a whole-picture copy to that point.
void BannerAnimation::dropAndRise(FirstPhaseTick& t) {
  const int d = DropOffset;
  if (d >= -10) {
    copyWhole(t.ops, BannerPicture::RecordLine, QRect(X1, -d, W1, H));
    copyWhole(t.ops, BannerPicture::MessageLine, QRect(X2, ClientHeight / 2 + 15 + d, W2, H));
  } else {
    add(t.ops, BannerDrawOp::fill(clientRect()));
    copyWhole(t.ops, BannerPicture::RecordLine, QRect(X1, 10, W1, H));
    copyWhole(t.ops, BannerPicture::MessageLine, QRect(X2, ClientHeight / 2 + 5, W2, H));
    t.settled = true;
    startSecondPhase(t);
  }
  DropOffset -= 1;
}

void BannerAnimation::zoomFromCentre(FirstPhaseTick& t) {
  const int n = Tick;
  const int a1 = truncProduct(n, ScaleX1);
  const int a2 = truncProduct(n, ScaleX2);
  const int b = truncProduct(n, ScaleY);
  const int centre = ClientWidth / 2;
  if (a1 <= W1 && b <= H) {
    const int half = truncProduct(n, ScaleX1, 0.5L);
    copyWhole(t.ops, BannerPicture::RecordLine, ltrb(centre - half, 10, centre + half, b + 10));
  }
  if (a2 <= W2 && b <= H) {
    const int half = truncProduct(n, ScaleX2, 0.5L);
    copyWhole(t.ops, BannerPicture::MessageLine, ltrb(centre - half, H + 20, centre + half, H + 20 + b));
  }
  if (a1 > W1 && b > H && (a2 > W2 || W2 == 0)) settle(t);
  Tick += 1;
}

// No settle redraw: the columns right of the last edge inside a line stay red.
void BannerAnimation::wipeLeftToRight(FirstPhaseTick& t) {
  const int e = ClientWidth - SlideOffset;
  if (X1 < e && e < X1 + W1) copyPart(t.ops, BannerPicture::RecordLine, ltrb(0, 0, e - X1, H), ltrb(X1, 10, e, H + 10));
  if (X2 < e && e < X2 + W2)
    copyPart(t.ops, BannerPicture::MessageLine, ltrb(0, 0, e - X2, H), ltrb(X2, H + 20, e, 2 * H + 20));
  if (e > X1 + W1 && e > X2 + W2) startSecondPhase(t);
  SlideOffset -= SlideStep;
}

void BannerAnimation::settle(FirstPhaseTick& t) {
  add(t.ops, BannerDrawOp::fill(clientRect()));
  copyWhole(t.ops, BannerPicture::RecordLine, recordLineRect());
  copyWhole(t.ops, BannerPicture::MessageLine, messageLineRect());
  t.settled = true;
  startSecondPhase(t);
}

void BannerAnimation::startSecondPhase(FirstPhaseTick& t) {
  Tick = 0;
  GrowStep = singleScale(ClientWidth, 0.0125L);
  phase_ = Phase::Second;
  t.ended = true;
}

SecondPhaseTick BannerAnimation::tickSecondPhase() {
  SecondPhaseTick t;
  if (phase_ != Phase::Second) return t;
  Tick += 1;
  if (Tick >= GrowStartTick) {
    t.preparePicture = Tick == GrowStartTick;
    const int m = Tick - GrowStartTick;
    const int k = truncProduct(m, GrowStep, 2.0L);
    const int cw = ClientWidth;
    const int ch = ClientHeight;
    QRect target;
    if (k > cw) {
      target = clientRect();
    } else {
      switch (growDirection()) {
        case GrowFrom::Left: target = ltrb(0, 0, k, ch); break;
        case GrowFrom::Centre: {
          const int half = truncProduct(m, GrowStep);
          target = ltrb(cw / 2 - half, 0, cw / 2 + half, ch);
          break;
        }
        case GrowFrom::Right: target = ltrb(cw - k, 0, cw, ch); break;
      }
    }
    copyWhole(t.ops, BannerPicture::Grown, target);
  }
  t.close = Tick > LastTick;
  return t;
}

std::uint8_t BannerAnimation::close() {
  if (!storedPictureNumber_) storedPictureNumber_ = nextPictureNumber(PictureNumber, PictureMax);
  phase_ = Phase::Closed;
  return *storedPictureNumber_;
}

}  // namespace celebration

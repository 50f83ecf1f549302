#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "celebration/BannerAnimation.h"

#include <ostream>
#include <stdexcept>
#include <vector>

using namespace Qt::StringLiterals;
using namespace celebration;

inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << '(' << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}

namespace celebration {
inline void PrintTo(const BannerDrawOp& op, std::ostream* out) {
  if (op.type == BannerDrawOp::Type::FillRed)
    *out << "fill ";
  else
    *out << "copy#" << int(op.picture) << ' ';
  if (op.source) {
    ::PrintTo(*op.source, out);
    *out << "->";
  }
  ::PrintTo(op.target, out);
}
}  // namespace celebration

namespace {

using Ops = std::vector<BannerDrawOp>;
constexpr auto Rec = BannerPicture::RecordLine;
constexpr auto Msg = BannerPicture::MessageLine;

// Measured sizes: A has the longer record line (CW 220, CH 104, X1 10, X2 60),
// B the longer message (CW 283, CH 70, X1 66, X2 10), E an empty message (CW 170, CH 70, X1 10, X2 85).
struct Sizes {
  int w1, w2, h;
};
constexpr Sizes A{200, 100, 37}, B{150, 263, 20}, E{150, 0, 20};

BannerAnimation activated(int kind, Sizes s, std::uint8_t picture = 1) {
  BannerAnimation anim(static_cast<AnimationKind>(kind), picture);
  anim.activate(s.w1, s.w2, s.h);
  return anim;
}

// Every tick of the first phase, up to the one that ends it.
std::vector<FirstPhaseTick> firstPhase(BannerAnimation& anim) {
  std::vector<FirstPhaseTick> ticks;
  while (ticks.size() < 10000 && (ticks.empty() || !ticks.back().ended)) ticks.push_back(anim.tickFirstPhase());
  return ticks;
}

Ops opsOnTick(int kind, Sizes s, int tick) {
  BannerAnimation anim = activated(kind, s);
  for (int i = 1; i < tick; ++i) anim.tickFirstPhase();
  return anim.tickFirstPhase().ops;
}

BannerDrawOp copy(BannerPicture p, QRect source, QRect target) { return BannerDrawOp::copy(p, source, target); }
BannerDrawOp whole(BannerPicture p, QRect target) { return BannerDrawOp::copy(p, std::nullopt, target); }

TEST(BannerAnimationTest, ClientSizeAndRestingPlaces) {
  struct Case {
    Sizes s;
    QSize client;
    int x1, x2;
  };
  for (const Case& c : {Case{A, {220, 104}, 10, 60}, Case{B, {283, 70}, 66, 10}, Case{E, {170, 70}, 10, 85},
                        Case{{120, 120, 16}, {140, 62}, 10, 10}, Case{{101, 96, 16}, {121, 62}, 10, 12}}) {
    const BannerAnimation anim = activated(1, c.s);
    EXPECT_EQ(anim.clientSize(), c.client) << c.s.w1 << ' ' << c.s.w2;
    EXPECT_EQ(anim.recordLineRect().x(), c.x1);
    EXPECT_EQ(anim.messageLineRect().x(), c.x2);
  }
}

struct EndCase {
  int kind;
  Sizes s;
  int endTick;
};

class FirstPhaseEnd : public testing::TestWithParam<EndCase> {};

TEST_P(FirstPhaseEnd, EndsOnTheExpectedTickWithTheSettleRedraw) {
  const EndCase c = GetParam();
  BannerAnimation anim = activated(c.kind, c.s);
  const std::vector<FirstPhaseTick> ticks = firstPhase(anim);
  ASSERT_EQ(int(ticks.size()), c.endTick);
  for (const FirstPhaseTick& t : ticks) {
    EXPECT_EQ(t.settled, &t == &ticks.back() && c.kind != 5);
    for (const BannerDrawOp& op : t.ops) {
      if (c.s.w2 == 0) {
        EXPECT_NE(op.picture, Msg) << "an empty message draws nothing";
      }
    }
  }
  if (c.kind != 5) {
    Ops settle{BannerDrawOp::fill(anim.clientRect()), whole(Rec, anim.recordLineRect())};
    if (c.s.w2 > 0) settle.push_back(whole(Msg, anim.messageLineRect()));
    const Ops& last = ticks.back().ops;
    ASSERT_GE(last.size(), settle.size());
    EXPECT_EQ(Ops(last.end() - settle.size(), last.end()), settle);
  }
  EXPECT_EQ(anim.phase(), BannerAnimation::Phase::Second);
  EXPECT_TRUE(anim.tickFirstPhase().ops.empty());
}

// Kinds 1, 2: ceil(CW / 4) + 1. Kind 3: H + 27. Kind 4: the first n = tick − 1
// with trunc(n × s) > size for every size, s being size × 0.01 as a float
// (A: H decides, n ≥ 103; B and E: H decides, n ≥ 105; W2 = 4: float(0.04) is
// below 0.04, so n = 125 gives 4.99999 and n = 126 is needed). Kind 5: the first
// multiple-of-4 edge E = 4(tick − 1) beyond both lines' right ends (210, 273, 160).
INSTANTIATE_TEST_SUITE_P(Kinds, FirstPhaseEnd,
                         testing::Values(EndCase{1, A, 56}, EndCase{1, B, 72}, EndCase{1, E, 44}, EndCase{2, A, 56},
                                         EndCase{2, B, 72}, EndCase{2, E, 44}, EndCase{3, A, 64}, EndCase{3, B, 47},
                                         EndCase{3, E, 47}, EndCase{4, A, 104}, EndCase{4, B, 106}, EndCase{4, E, 106},
                                         EndCase{4, {200, 4, 37}, 127}, EndCase{5, A, 54}, EndCase{5, B, 70},
                                         EndCase{5, E, 42}));

TEST(BannerAnimationTest, OperationsOfSingleTicks) {
  struct Case {
    int kind, tick;
    Ops ops;
  };
  const Case cases[] = {
      // Kind 1: SlideOffset 208, the record line's first 2 columns at the right edge.
      {1, 4, {copy(Rec, {0, 0, 2, 37}, {218, 10, 2, 37})}},
      // SlideOffset 156: the message's 4-column part (at 160 it was empty and skipped).
      {1, 17, {copy(Rec, {0, 0, 54, 37}, {166, 10, 54, 37}), copy(Msg, {0, 0, 4, 37}, {216, 57, 4, 37})}},
      {1, 54, {whole(Rec, {18, 10, 200, 37}), whole(Msg, {68, 57, 100, 37})}},
      // Kind 2: the message enters from the left with its rightmost columns.
      {2, 17, {copy(Rec, {0, 0, 54, 37}, {166, 10, 54, 37}), copy(Msg, {96, 0, 4, 37}, {0, 57, 4, 37})}},
      {2, 54, {whole(Rec, {18, 10, 200, 37}), whole(Msg, {52, 57, 100, 37})}},
      {2,
       56,
       {whole(Rec, {10, 10, 200, 37}), BannerDrawOp::fill({0, 0, 220, 104}), whole(Rec, {10, 10, 200, 37}),
        whole(Msg, {60, 57, 100, 37})}},
      // Kind 3: DropOffset 52 on tick 1; −10 on tick 63 puts both lines at rest.
      {3, 1, {whole(Rec, {10, -52, 200, 37}), whole(Msg, {60, 119, 100, 37})}},
      {3, 63, {whole(Rec, {10, 10, 200, 37}), whole(Msg, {60, 57, 100, 37})}},
      // Kind 4: n = 0 paints nothing; n = 50 gives B = trunc(18.5), halves 50 and 25 about x = 110.
      {4, 1, {}},
      {4, 51, {whole(Rec, {60, 10, 100, 18}), whole(Msg, {85, 57, 50, 18})}},
      // Kind 5: edge 12, two columns of the record line.
      {5, 4, {copy(Rec, {0, 0, 2, 37}, {10, 10, 2, 37})}},
  };
  for (const Case& c : cases) EXPECT_EQ(opsOnTick(c.kind, A, c.tick), c.ops) << "kind " << c.kind << " tick " << c.tick;
}

TEST(BannerAnimationTest, WipeLeavesOneToFourColumnsOfEachLineUnpainted) {
  struct Case {
    Sizes s;
    int recordGap, messageGap;
  };
  // A: ends 210 and 160, last edges 208 and 156. B: ends 216 and 273, last edges 212 and 272.
  for (const Case& c : {Case{A, 2, 4}, Case{B, 4, 1}}) {
    BannerAnimation anim = activated(5, c.s);
    int right[2] = {0, 0};
    for (const FirstPhaseTick& t : firstPhase(anim))
      for (const BannerDrawOp& op : t.ops) {
        const QRect rest = op.picture == Rec ? anim.recordLineRect() : anim.messageLineRect();
        EXPECT_EQ(op.target.topLeft(), rest.topLeft());
        EXPECT_EQ(op.source, QRect(QPoint(0, 0), op.target.size()));
        right[int(op.picture)] = std::max(right[int(op.picture)], op.target.right() + 1);
      }
    EXPECT_EQ(anim.recordLineRect().right() + 1 - right[0], c.recordGap);
    EXPECT_EQ(anim.messageLineRect().right() + 1 - right[1], c.messageGap);
  }
}

// Second-phase ticks up to `tick`; returns that tick.
SecondPhaseTick secondPhaseTick(BannerAnimation& anim, int tick) {
  for (int i = 1; i < tick; ++i) anim.tickSecondPhase();
  return anim.tickSecondPhase();
}

TEST(BannerAnimationTest, PictureGrowsFromTheSideChosenByItsNumber) {
  struct Case {
    Sizes s;
    std::uint8_t number;
    int tick;
    QRect target;
  };
  // A: GrowStep 2.75, K = 5 on tick 41. B: GrowStep is float(3.5375) = 3.5374999, so
  // on tick 80 K = trunc(282.99999) = 282; on tick 81 K = 290 > 283 covers the window.
  const Case cases[] = {
      {A, 3, 41, {0, 0, 5, 104}},   {A, 0, 41, {0, 0, 5, 104}},  {A, 1, 41, {108, 0, 4, 104}},
      {A, 2, 41, {215, 0, 5, 104}}, {B, 1, 41, {138, 0, 6, 70}}, {B, 3, 80, {0, 0, 282, 70}},
      {B, 2, 81, {0, 0, 283, 70}},
  };
  for (const Case& c : cases) {
    BannerAnimation anim = activated(1, c.s, c.number);
    firstPhase(anim);
    EXPECT_EQ(secondPhaseTick(anim, c.tick).ops, Ops{whole(BannerPicture::Grown, c.target)})
        << int(c.number) << " tick " << c.tick;
  }
}

TEST(BannerAnimationTest, SecondPhaseTimeline) {
  BannerAnimation anim = activated(1, A);
  firstPhase(anim);
  for (int tick = 1; tick <= 151; ++tick) {
    const SecondPhaseTick t = anim.tickSecondPhase();
    EXPECT_EQ(t.preparePicture, tick == 40) << tick;
    EXPECT_EQ(t.ops.empty(), tick <= 40) << tick;
    EXPECT_EQ(t.close, tick == 151) << tick;
  }
  EXPECT_EQ(anim.close(), 2);
  EXPECT_TRUE(anim.tickSecondPhase().ops.empty());
}

// The zoom counts its tick after switching phases, so its second phase starts at 1.
TEST(BannerAnimationTest, ZoomSecondPhaseIsOneTickShorter) {
  BannerAnimation anim = activated(4, A);
  firstPhase(anim);
  EXPECT_TRUE(secondPhaseTick(anim, 39).preparePicture);
  EXPECT_FALSE(secondPhaseTick(anim, 110).close);
  EXPECT_TRUE(anim.tickSecondPhase().close);
}

TEST(BannerAnimationTest, PictureNumberCycle) {
  struct Case {
    std::uint8_t number, max, next;
  };
  for (const Case& c : {Case{1, 5, 2}, Case{4, 5, 5}, Case{5, 5, 1}, Case{0, 5, 1}, Case{1, 0, 1}, Case{9, 0, 1},
                        Case{44, 50, 45}, Case{254, 255, 255}, Case{255, 255, 0}})
    EXPECT_EQ(BannerAnimation::nextPictureNumber(c.number, c.max), c.next) << int(c.number) << ' ' << int(c.max);
  EXPECT_EQ(BannerAnimation::pictureNumberFromSetting(300), 44);
  EXPECT_EQ(BannerAnimation::pictureNumberFromSetting(-1), 255);

  // Successive banners with three pictures: 1 centre, 2 right, 3 left, 1 centre.
  std::uint8_t stored = 1;
  for (GrowFrom expected : {GrowFrom::Centre, GrowFrom::Right, GrowFrom::Left, GrowFrom::Centre}) {
    BannerAnimation anim(AnimationKind::WipeLeftToRight, stored);
    anim.setPictureMax(3);
    EXPECT_EQ(anim.growDirection(), expected) << int(stored);
    stored = anim.close();
  }
}

TEST(BannerAnimationTest, ClickDuringFirstPhaseClosesOnce) {
  BannerAnimation anim = activated(2, A, 5);
  anim.tickFirstPhase();
  EXPECT_EQ(anim.close(), 1);  // PictureMax is 5 after creation
  EXPECT_EQ(anim.close(), 1);
  EXPECT_TRUE(anim.tickFirstPhase().ops.empty());
  EXPECT_FALSE(anim.tickFirstPhase().ended);
}

TEST(BannerAnimationTest, TextsAndPlacement) {
  EXPECT_EQ(BannerAnimation::recordLineText(u"英字"_s, 65535), u"祝＞新記録 英字65535 !!"_s);
  EXPECT_EQ(BannerAnimation::recordLineText(u"記号"_s, 0), u"祝＞新記録 記号0 !!"_s);
  EXPECT_EQ(BannerAnimation::pictureFileName(0), u"Oiwai0.BMP"_s);
  EXPECT_EQ(BannerAnimation::centredTopLeft({1920, 1080}, {221, 104}), QPoint(849, 488));
  EXPECT_EQ(BannerAnimation::centredTopLeft({100, 100}, {221, 105}), QPoint(-60, -2));
  EXPECT_THROW(BannerAnimation(static_cast<AnimationKind>(0), 1), std::invalid_argument);
  EXPECT_THROW(BannerAnimation(static_cast<AnimationKind>(6), 1), std::invalid_argument);
}

}  // namespace

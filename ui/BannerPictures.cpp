#include "ui/BannerPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <array>

using namespace Qt::StringLiterals;

namespace BannerPictures {
namespace {

constexpr int Width = 480;
constexpr int Height = 120;

QFont bannerFont(int pixelSize) {
  QFont font;
  font.setFamilies({u"ＭＳ ゴシック"_s, u"IPAGothic"_s, u"IPAゴシック"_s});
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

// Text with a dark outline, centred in `area`.
void outlinedText(QPainter& p, const QRectF& area, const QString& text, int pixelSize, const QColor& fill) {
  const QFont font = bannerFont(pixelSize);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF bounds = path.boundingRect();
  path.translate(area.center() - bounds.center());
  p.setPen(QPen(QColor(40, 20, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.fillPath(path, fill);
}

QColor festiveColour(int i) {
  static constexpr std::array<QRgb, 6> colours = {0xffe83030, 0xfff0c020, 0xff30a0f0,
                                                  0xff40c040, 0xfff070c0, 0xffffffff};
  return QColor::fromRgb(colours[static_cast<std::size_t>(i) % colours.size()]);
}

// 1: confetti falling on navy, "おめでとう！".
void drawConfetti(QPainter& p) {
  QLinearGradient sky(0, 0, 0, Height);
  sky.setColorAt(0, QColor(0, 0, 110));
  sky.setColorAt(1, QColor(0, 0, 40));
  p.fillRect(0, 0, Width, Height, sky);
  for (int i = 0; i < 90; ++i) {
    const int x = (i * 97) % Width;
    const int y = (i * 53 + i * i) % Height;
    p.save();
    p.translate(x, y);
    p.rotate(i * 37.0);
    p.fillRect(QRectF(-4, -2, 8, 4), festiveColour(i));
    p.restore();
  }
  outlinedText(p, QRectF(0, 0, Width, Height), u"おめでとう！"_s, 64, QColor(255, 215, 0));
}

// 2: fireworks in a night sky, "新記録！".
void drawFireworks(QPainter& p) {
  p.fillRect(0, 0, Width, Height, QColor(5, 5, 30));
  const QPointF centres[] = {{70, 45}, {190, 75}, {330, 40}, {420, 80}};
  for (int f = 0; f < 4; ++f) {
    for (int ray = 0; ray < 24; ++ray) {
      const double angle = ray * 2 * M_PI / 24;
      const double inner = 8;
      const double outer = 30 + (ray % 3) * 6;
      p.setPen(QPen(festiveColour(f + ray % 2), 2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(centres[f] + QPointF(inner * std::cos(angle), inner * std::sin(angle)),
                 centres[f] + QPointF(outer * std::cos(angle), outer * std::sin(angle)));
    }
  }
  outlinedText(p, QRectF(0, 0, Width, Height), u"新記録！"_s, 72, QColor(255, 240, 120));
}

// 3: a golden cup with "NEW RECORD".
void drawTrophy(QPainter& p) {
  QRadialGradient glow(Width / 2.0, Height / 2.0, Width / 2.0);
  glow.setColorAt(0, QColor(255, 250, 220));
  glow.setColorAt(1, QColor(200, 40, 40));
  p.fillRect(0, 0, Width, Height, glow);
  QPainterPath cup;
  cup.moveTo(20, 15);
  cup.lineTo(80, 15);
  cup.cubicTo(80, 60, 60, 75, 50, 78);
  cup.cubicTo(40, 75, 20, 60, 20, 15);
  QLinearGradient gold(20, 0, 80, 0);
  gold.setColorAt(0, QColor(180, 130, 0));
  gold.setColorAt(0.5, QColor(255, 225, 80));
  gold.setColorAt(1, QColor(170, 120, 0));
  for (const double x : {20.0, Width - 100.0}) {
    p.save();
    p.translate(x, 10);
    p.setPen(QPen(QColor(120, 80, 0), 2));
    p.setBrush(gold);
    p.drawPath(cup);
    p.drawRect(QRectF(44, 78, 12, 14));
    p.drawRect(QRectF(32, 92, 36, 8));
    p.restore();
  }
  outlinedText(p, QRectF(90, 0, Width - 180, Height), u"NEW RECORD"_s, 44, QColor(255, 215, 0));
}

// 4: footprints climbing a staircase, "またひとつ上へ".
void drawFootprints(QPainter& p) {
  QLinearGradient sky(0, 0, Width, 0);
  sky.setColorAt(0, QColor(250, 240, 200));
  sky.setColorAt(1, QColor(255, 200, 120));
  p.fillRect(0, 0, Width, Height, sky);
  p.setPen(Qt::NoPen);
  for (int step = 0; step < 6; ++step) {
    p.setBrush(QColor(140 + step * 15, 90 + step * 10, 40));
    p.drawRect(QRectF(step * 80, Height - 18 - step * 16, 80, 18 + step * 16));
    p.setBrush(QColor(200, 30, 30));
    const QPointF foot(step * 80 + 30 + (step % 2) * 20, Height - 30 - step * 16);
    p.drawEllipse(QRectF(foot.x(), foot.y(), 12, 7));
    for (int toe = 0; toe < 3; ++toe) p.drawEllipse(QRectF(foot.x() + 12, foot.y() - 2 + toe * 3.5, 3, 3));
  }
  outlinedText(p, QRectF(0, 0, Width, Height / 2.0), u"またひとつ上へ"_s, 40, QColor(255, 255, 255));
}

// 5: a gold medal on its ribbon, "やったね！".
void drawMedal(QPainter& p) {
  p.fillRect(0, 0, Width, Height, QColor(20, 90, 40));
  for (int i = 0; i < Width; i += 24) p.fillRect(i, 0, 12, Height, QColor(25, 105, 50));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 60, 200));
  p.drawPolygon(QPolygonF({QPointF(40, 0), QPointF(70, 0), QPointF(85, 50), QPointF(70, 55)}));
  p.setBrush(QColor(220, 30, 30));
  p.drawPolygon(QPolygonF({QPointF(130, 0), QPointF(100, 0), QPointF(85, 50), QPointF(100, 55)}));
  QRadialGradient gold(78, 70, 40, 70, 60);
  gold.setColorAt(0, QColor(255, 245, 170));
  gold.setColorAt(1, QColor(190, 140, 10));
  p.setBrush(gold);
  p.setPen(QPen(QColor(130, 90, 0), 3));
  p.drawEllipse(QPointF(85, 78), 34, 34);
  outlinedText(p, QRectF(85 - 34, 78 - 34, 68, 68), u"1"_s, 44, QColor(255, 230, 90));
  outlinedText(p, QRectF(130, 0, Width - 130, Height), u"やったね！"_s, 60, QColor(255, 255, 255));
}

}  // namespace

QImage picture(int number) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Qt::red);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  switch ((number - 1 + Count) % Count) {
    case 0: drawConfetti(p); break;
    case 1: drawFireworks(p); break;
    case 2: drawTrophy(p); break;
    case 3: drawFootprints(p); break;
    default: drawMedal(p); break;
  }
  return image;
}

QString fileName(int number) { return u"Oiwai"_s + QString::number(number) + u".BMP"_s; }

}  // namespace BannerPictures

#include "ui/Pictures.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <array>

using namespace Qt::StringLiterals;

namespace Pictures {
namespace {

constexpr int ToolbarSize = 16;
constexpr int OpeningWidth = 396;
constexpr int OpeningHeight = 221;

// The program's colours.
QColor navy() { return QColor(0, 0, 128); }
QColor deepNavy() { return QColor(0, 0, 72); }
QColor blue() { return QColor(0, 0, 255); }
QColor red() { return QColor(230, 20, 30); }
QColor darkRed() { return QColor(150, 0, 0); }

QPixmap transparentPixmap(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A Japanese-capable face: the Windows name first, then the free fonts that
// stand in for it.
QFont pictureFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({u"ＭＳ ゴシック"_s, u"IPAGothic"_s, u"IPAゴシック"_s});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// The mode buttons' letters: a bold Latin face; the katakana in its
// full-width form, whose strokes stay apart at this size.
QFont letterFont(const QString& letter) {
  QFont font;
  font.setFamilies({u"DejaVu Sans"_s, u"Arial"_s, u"IPAGothic"_s});
  font.setPixelSize(letter.at(0).unicode() < 0x80 ? 11 : 12);
  font.setBold(true);
  return font;
}

// ---------------------------------------------------------------- footprint

// One bare footprint, toes pointing up (towards -y), one unit long and
// centred on the origin. The big toe is on the inner side: left for a right
// foot.
QPainterPath footprintPath(bool rightFoot) {
  // The sole of a right foot: the ball, the outer edge down to the heel and
  // the heel, with the arch cut away on the inner side.
  QPainterPath sole;
  sole.moveTo(-0.17, -0.20);
  sole.cubicTo(-0.15, -0.34, 0.17, -0.36, 0.20, -0.18);  // across the ball
  sole.cubicTo(0.23, 0.00, 0.17, 0.18, 0.16, 0.32);      // the outer edge
  sole.cubicTo(0.15, 0.50, -0.12, 0.52, -0.11, 0.32);    // round the heel
  sole.cubicTo(-0.10, 0.18, -0.02, 0.08, -0.08, -0.02);  // the arch
  sole.cubicTo(-0.12, -0.08, -0.18, -0.12, -0.17, -0.20);
  sole.closeSubpath();

  struct Toe {
    double x, y, rx, ry;
  };
  const std::array<Toe, 5> toes{{{-0.105, -0.415, 0.075, 0.085},
                                 {0.015, -0.445, 0.052, 0.060},
                                 {0.100, -0.420, 0.045, 0.052},
                                 {0.170, -0.375, 0.040, 0.045},
                                 {0.225, -0.315, 0.034, 0.038}}};
  QPainterPath foot = sole;
  for (const Toe& toe : toes) foot.addEllipse(QPointF(toe.x, toe.y), toe.rx, toe.ry);
  foot.setFillRule(Qt::WindingFill);
  if (!rightFoot) return QTransform::fromScale(-1.0, 1.0).map(foot);
  return foot;
}

// The footprint placed at `centre`, `length` long, turned `angle` degrees
// clockwise from pointing up.
QPainterPath placedFootprint(QPointF centre, double length, double angle, bool rightFoot) {
  QTransform place;
  place.translate(centre.x(), centre.y());
  place.rotate(angle);
  place.scale(length, length);
  return place.map(footprintPath(rightFoot));
}

QBrush footprintBrush(const QRectF& bounds, int alpha) {
  QRadialGradient gradient(bounds.center(),
                           bounds.width() > bounds.height() ? bounds.width() / 1.6 : bounds.height() / 1.6);
  gradient.setFocalPoint(bounds.center() - QPointF(bounds.width() / 6, bounds.height() / 6));
  QColor light(255, 110, 100, alpha);
  QColor middle = red();
  middle.setAlpha(alpha);
  QColor dark = darkRed();
  dark.setAlpha(alpha);
  gradient.setColorAt(0.0, light);
  gradient.setColorAt(0.55, middle);
  gradient.setColorAt(1.0, dark);
  return gradient;
}

// ----------------------------------------------------------- toolbar images

// A mode button: a small key with its letter, raised when up, sunk and
// darker when pressed.
QPixmap modeButtonImage(const QString& letter, bool pressed) {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF face(0.5, 0.5, 15.0, 15.0);

  QLinearGradient shade(0, 0, 0, ToolbarSize);
  if (pressed) {
    shade.setColorAt(0.0, QColor(120, 130, 175));
    shade.setColorAt(1.0, QColor(165, 175, 215));
  } else {
    shade.setColorAt(0.0, QColor(255, 255, 255));
    shade.setColorAt(1.0, QColor(190, 205, 240));
  }
  painter.setPen(QPen(pressed ? deepNavy() : QColor(60, 70, 130), 1.0));
  painter.setBrush(shade);
  painter.drawRoundedRect(face, 2.5, 2.5);

  painter.setRenderHint(QPainter::Antialiasing, false);
  if (pressed) {  // the inner shadow along the top and left edges
    painter.setPen(QColor(70, 75, 120));
    painter.drawLine(2, 1, 13, 1);
    painter.drawLine(1, 2, 1, 13);
  } else {  // the highlight and the shadow of a raised key
    painter.setPen(Qt::white);
    painter.drawLine(2, 1, 13, 1);
    painter.drawLine(1, 2, 1, 13);
    painter.setPen(QColor(120, 135, 185));
    painter.drawLine(2, 14, 13, 14);
    painter.drawLine(14, 2, 14, 13);
  }

  painter.setFont(letterFont(letter));
  painter.setPen(pressed ? QColor(255, 255, 170) : navy());
  const QRect textBox = pressed ? QRect(1, 1, 16, 16) : QRect(0, 0, 16, 16);
  painter.drawText(textBox, Qt::AlignCenter, letter);
  return pixmap;
}

void drawSheet(QPainter& painter, const QRect& sheet) {
  painter.setPen(QColor(90, 90, 110));
  painter.setBrush(Qt::white);
  painter.drawRect(sheet);
  painter.setPen(QColor(70, 110, 200));
  for (int y = sheet.top() + 2; y < sheet.bottom() - 1; y += 2)
    painter.drawLine(sheet.left() + 2, y, sheet.right() - 2, y);
}

// Copy all: two sheets, one over the other.
QPixmap copyAllImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  drawSheet(painter, QRect(1, 1, 8, 10));
  drawSheet(painter, QRect(6, 5, 8, 10));
  return pixmap;
}

QPixmap folderImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor outline(140, 100, 0);
  QPainterPath back;  // the back with its tab
  back.moveTo(0.5, 3.5);
  back.lineTo(5.5, 3.5);
  back.lineTo(7.0, 5.0);
  back.lineTo(14.5, 5.0);
  back.lineTo(14.5, 13.5);
  back.lineTo(0.5, 13.5);
  back.closeSubpath();
  painter.setPen(outline);
  painter.setBrush(QColor(225, 180, 40));
  painter.drawPath(back);

  QPolygonF front;  // the front flap, tilted open
  front << QPointF(2.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(0.5, 13.5);
  QLinearGradient shade(0, 7, 0, 14);
  shade.setColorAt(0.0, QColor(255, 236, 140));
  shade.setColorAt(1.0, QColor(245, 200, 60));
  painter.setBrush(shade);
  painter.drawPolygon(front);
  return pixmap;
}

// Font: a big "A" with a pen leaning on it.
QPixmap fontImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont serif(u"serif"_s);
  serif.setStyleHint(QFont::Serif);
  serif.setPixelSize(14);
  serif.setBold(true);
  painter.setFont(serif);
  painter.setPen(navy());
  painter.drawText(QRect(-1, 0, 12, 15), Qt::AlignLeft | Qt::AlignBottom, u"A"_s);

  painter.translate(11.5, 10.5);
  painter.rotate(45.0);
  painter.setPen(QPen(QColor(60, 20, 20), 0.8));
  painter.setBrush(red());
  painter.drawRect(QRectF(-1.5, -6.5, 3.0, 8.0));  // the barrel
  QPolygonF nib;
  nib << QPointF(-1.5, 1.5) << QPointF(1.5, 1.5) << QPointF(0.0, 4.5);
  painter.setBrush(QColor(240, 210, 150));
  painter.drawPolygon(nib);
  return pixmap;
}

// Exit: an open door with an arrow leaving through it.
QPixmap exitImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  painter.setPen(QColor(80, 50, 20));
  painter.setBrush(QColor(50, 40, 30));
  painter.drawRect(1, 1, 8, 14);  // the dark doorway
  QPolygon leaf;                  // the door, swung open towards us
  leaf << QPoint(1, 1) << QPoint(5, 3) << QPoint(5, 15) << QPoint(1, 15);
  painter.setBrush(QColor(190, 130, 60));
  painter.drawPolygon(leaf);
  painter.setPen(QColor(250, 220, 90));
  painter.drawPoint(4, 9);  // the knob

  painter.setRenderHint(QPainter::Antialiasing);
  QPolygonF arrow;
  arrow << QPointF(6.5, 6.5) << QPointF(11.0, 6.5) << QPointF(11.0, 3.5) << QPointF(15.5, 8.0) << QPointF(11.0, 12.5)
        << QPointF(11.0, 9.5) << QPointF(6.5, 9.5);
  painter.setPen(QPen(darkRed(), 1.0));
  painter.setBrush(red());
  painter.drawPolygon(arrow);
  return pixmap;
}

// One bar of the 3D chart: a front, a side going back to the right and a top.
struct BarPart {
  int bottom;
  int top;
  QColor colour;
};

void drawBarPart(QPainter& painter, int left, const BarPart& part, bool withTop) {
  constexpr int Width = 3;
  constexpr int Depth = 2;
  painter.setPen(Qt::NoPen);
  painter.setBrush(part.colour);
  painter.drawRect(QRect(QPoint(left, part.top), QPoint(left + Width - 1, part.bottom)));
  QPolygon side;
  side << QPoint(left + Width, part.top) << QPoint(left + Width + Depth, part.top - Depth)
       << QPoint(left + Width + Depth, part.bottom - Depth) << QPoint(left + Width, part.bottom);
  painter.setBrush(part.colour.darker(160));
  painter.drawPolygon(side);
  if (!withTop) return;
  QPolygon top;
  top << QPoint(left, part.top) << QPoint(left + Depth, part.top - Depth)
      << QPoint(left + Width + Depth, part.top - Depth) << QPoint(left + Width, part.top);
  painter.setBrush(part.colour.lighter(150));
  painter.drawPolygon(top);
}

QPixmap chartImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  const QColor hits(30, 70, 230);
  const QColor misses(225, 30, 30);
  struct Bar {
    int left, hitTop, missTop;
  };
  const std::array<Bar, 3> bars{{{0, 10, 7}, {5, 7, 4}, {10, 5, 2}}};
  for (const Bar& bar : bars) {
    drawBarPart(painter, bar.left, {15, bar.hitTop, hits}, false);
    drawBarPart(painter, bar.left, {bar.hitTop - 1, bar.missTop, misses}, true);
  }
  return pixmap;
}

// A calendar page: red binding on top, a grid of days, some of them green.
QPixmap calendarImage() {
  QPixmap pixmap = transparentPixmap(ToolbarSize, ToolbarSize);
  QPainter painter(&pixmap);
  painter.fillRect(1, 2, 14, 13, QColor(90, 90, 90));
  painter.fillRect(2, 3, 12, 11, Qt::white);
  painter.fillRect(2, 3, 12, 3, QColor(210, 40, 40));
  painter.fillRect(4, 1, 1, 3, QColor(60, 60, 60));
  painter.fillRect(11, 1, 1, 3, QColor(60, 60, 60));
  const std::array<QColor, 4> greens{QColor(214, 230, 214), QColor(140, 200, 140), QColor(60, 160, 80),
                                     QColor(20, 110, 50)};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      const QColor& green = greens[static_cast<std::size_t>((row * 5 + column * 3) % 4)];
      painter.fillRect(3 + column * 3, 7 + row * 2 + row / 2, 2, 2, green);
    }
  }
  return pixmap;
}

// The same picture, light grey and flat, for a button that cannot be used.
QPixmap greyedOut(const QPixmap& picture) {
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      const int grey = 110 + qGray(pixel) / 2;
      image.setPixel(x, y, qRgba(grey, grey, grey, qAlpha(pixel)));
    }
  }
  return QPixmap::fromImage(image);
}

// ------------------------------------------------------------- program icon

// Drawn on a 256 x 256 board: a navy key with a blue top and red footprints
// walking up it. Small sizes get a single, bigger footprint.
void drawProgramIcon(QPainter& painter, bool small) {
  QLinearGradient keyShade(0, 0, 0, 256);
  keyShade.setColorAt(0.0, QColor(30, 30, 150));
  keyShade.setColorAt(1.0, deepNavy());
  painter.setPen(Qt::NoPen);
  painter.setBrush(keyShade);
  painter.drawRoundedRect(QRectF(6, 6, 244, 244), 44, 44);

  QLinearGradient topShade(0, 26, 0, 206);
  topShade.setColorAt(0.0, QColor(110, 150, 255));
  topShade.setColorAt(1.0, QColor(10, 50, 220));
  painter.setBrush(topShade);
  const QRectF top = small ? QRectF(30, 24, 196, 190) : QRectF(34, 24, 188, 184);
  painter.drawRoundedRect(top, 30, 30);

  const QPen outline(QColor(255, 235, 235), small ? 0.0 : 5.0);
  auto drawFoot = [&](QPointF centre, double length, double angle, bool right) {
    const QPainterPath foot = placedFootprint(centre, length, angle, right);
    painter.setPen(small ? QPen(Qt::NoPen) : outline);
    painter.setBrush(footprintBrush(foot.boundingRect(), 255));
    painter.drawPath(foot);
  };
  if (small) {
    drawFoot(QPointF(128, 121), 176, 12.0, true);
  } else {
    drawFoot(QPointF(88, 138), 116, 10.0, false);
    drawFoot(QPointF(163, 96), 116, 10.0, true);
  }
}

// ---------------------------------------------------------- opening picture

void drawOpeningBackground(QPainter& painter) {
  QLinearGradient sky(0, 0, 0, OpeningHeight);
  sky.setColorAt(0.0, QColor(0, 0, 70));
  sky.setColorAt(0.55, QColor(0, 0, 170));
  sky.setColorAt(1.0, blue());  // meets the window's blue below the picture
  painter.fillRect(QRect(0, 0, OpeningWidth, OpeningHeight), sky);

  QRadialGradient glow(QPointF(OpeningWidth / 2.0, 62), 150);  // gone before the bottom edge
  glow.setColorAt(0.0, QColor(90, 140, 255, 150));
  glow.setColorAt(1.0, QColor(90, 140, 255, 0));
  painter.fillRect(QRect(0, 0, OpeningWidth, OpeningHeight), glow);
}

void drawOpeningTitle(QPainter& painter) {
  const QString title = u"ＴＡＰＰＥＲの足跡３２"_s;
  const QFont font = pictureFont(31, true);
  QPainterPath text;
  text.addText(0, 0, font, title);
  const QRectF box = text.boundingRect();
  text.translate((OpeningWidth - box.width()) / 2.0 - box.left(), 72.0);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 40, 170));
  painter.drawPath(text.translated(2.5, 2.5));  // the shadow

  const QRectF placed = text.boundingRect();
  QLinearGradient fill(0, placed.top(), 0, placed.bottom());
  fill.setColorAt(0.0, Qt::white);
  fill.setColorAt(0.6, QColor(230, 238, 255));
  fill.setColorAt(1.0, QColor(255, 240, 150));
  painter.setPen(QPen(QColor(20, 30, 140), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(text);  // a dark rim that makes the thin strokes stand out
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawPath(text);

  QFont small = pictureFont(12, false);
  painter.setFont(small);
  painter.setPen(QColor(190, 205, 255));
  painter.drawText(QRect(0, 84, OpeningWidth, 18), Qt::AlignCenter, u"hoko32 — タイピング練習の記録"_s);
}

// Footprints crossing the picture from left to right, the older ones fainter.
void drawOpeningFootprints(QPainter& painter) {
  constexpr int Steps = 8;
  for (int step = 0; step < Steps; ++step) {
    const bool right = step % 2 == 1;
    const double x = 30.0 + step * 48.0;
    const double y = (right ? 176.0 : 150.0) - step * 2.5;
    const int alpha = 90 + step * 165 / (Steps - 1);
    const QPainterPath foot = placedFootprint(QPointF(x, y), 46.0, 90.0 + (right ? 8.0 : -8.0), right);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 30, alpha / 2));
    painter.drawPath(foot.translated(2.0, 2.0));
    painter.setBrush(footprintBrush(foot.boundingRect(), alpha));
    painter.drawPath(foot);
  }
}

}  // namespace

QPixmap toolbarImage(int index) {
  switch (index) {
    case 0:
    case 4: return modeButtonImage(u"A"_s, index >= 4);
    case 1:
    case 5: return modeButtonImage(u"ア"_s, index >= 4);  // "ｱ", drawn full-width
    case 2:
    case 6: return modeButtonImage(u"R"_s, index >= 4);
    case 3:
    case 7: return modeButtonImage(u"!"_s, index >= 4);
    case 8: return copyAllImage();
    case 9: return folderImage();
    case 10: return fontImage();
    case 11: return exitImage();
    case 12: return chartImage();
    case 13: return greyedOut(chartImage());
    case 14: return calendarImage();
    default: return transparentPixmap(ToolbarSize, ToolbarSize);
  }
}

QPixmap programIcon(int size) {
  if (size <= 0) return QPixmap();
  QPixmap pixmap = transparentPixmap(size, size);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 256.0, size / 256.0);
  drawProgramIcon(painter, size < 40);
  return pixmap;
}

QIcon programIconSet() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programIcon(size));
  return icon;
}

QPixmap openingPicture() {
  QPixmap pixmap(OpeningWidth, OpeningHeight);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  drawOpeningBackground(painter);
  drawOpeningTitle(painter);
  drawOpeningFootprints(painter);
  return pixmap;
}

QPixmap installerPicture() {
  constexpr int Width = 164;
  constexpr int Height = 314;
  QPixmap pixmap(Width, Height);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, Height);
  sky.setColorAt(0.0, QColor(0, 0, 70));
  sky.setColorAt(0.55, QColor(0, 0, 170));
  sky.setColorAt(1.0, blue());
  painter.fillRect(QRect(0, 0, Width, Height), sky);
  QRadialGradient glow(QPointF(Width / 2.0, 70), 120);
  glow.setColorAt(0.0, QColor(90, 140, 255, 150));
  glow.setColorAt(1.0, QColor(90, 140, 255, 0));
  painter.fillRect(QRect(0, 0, Width, Height), glow);

  painter.drawPixmap((Width - 96) / 2, 22, programIcon(96));

  // Footprints walking up towards the icon, fainter the further back.
  constexpr int Steps = 5;
  for (int step = 0; step < Steps; ++step) {
    const bool right = step % 2 == 1;
    const double x = Width / 2.0 + (right ? 14.0 : -14.0);
    const double y = 290.0 - step * 36.0;
    const int alpha = 90 + step * 165 / (Steps - 1);
    const QPainterPath foot = placedFootprint(QPointF(x, y), 34.0, right ? 8.0 : -8.0, right);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 30, alpha / 2));
    painter.drawPath(foot.translated(2.0, 2.0));
    painter.setBrush(footprintBrush(foot.boundingRect(), alpha));
    painter.drawPath(foot);
  }
  return pixmap;
}

}  // namespace Pictures

#include "ui/TfrmOpening.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QScreen>

#include "ui/Pictures.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 396;
constexpr int ClientHeight = 255;

QColor windowBlue() { return QColor(0, 0, 255); }
QColor captionYellow() { return QColor(255, 255, 0); }

void paintBlue(QWidget* window) {
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, windowBlue());
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

QLabel* makePicture(QWidget* parent) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(u"Image1"_s);
  picture->setGeometry(0, 0, 396, 221);
  picture->setPixmap(Pictures::openingPicture());
  return picture;
}

QLabel* makeCaption(QWidget* parent) {
  auto* caption = new QLabel(u"ﾌｧｲﾙ読み込み中..."_s, parent);
  caption->setObjectName(u"Label1"_s);
  QFont font(u"ＭＳ Ｐゴシック"_s);
  font.setPixelSize(12);
  caption->setFont(font);
  QPalette palette = caption->palette();
  palette.setColor(QPalette::WindowText, captionYellow());
  caption->setPalette(palette);
  caption->move(151, 216);
  caption->adjustSize();  // made after the picture, so drawn over its lowest rows
  return caption;
}

QProgressBar* makeProgressBar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(u"ProgressBar1"_s);
  bar->setGeometry(70, 232, 257, 15);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

}  // namespace

TfrmOpening::TfrmOpening(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool) {
  setObjectName(u"frmOpening"_s);
  // Never shown (no title bar), but told apart from the message boxes, which
  // carry the program's name alone, by whatever looks for windows by name.
  setWindowTitle(u"ＴＡＰＰＥＲの足跡３２ 読み込み中"_s);
  setWindowModality(Qt::NonModal);
  setFixedSize(ClientWidth, ClientHeight);
  paintBlue(this);
  Image1 = makePicture(this);
  Label1 = makeCaption(this);
  ProgressBar1 = makeProgressBar(this);
}

void TfrmOpening::centreOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

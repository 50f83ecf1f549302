#include "celebration/TfrmOiwai.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "settings/Options.h"
#include "settings/SettingsFile.h"
#include "widgets/WindowPlacement.h"

using namespace Qt::StringLiterals;
using celebration::BannerAnimation;
using celebration::BannerDrawOp;
using celebration::BannerPicture;

namespace {

const QColor PureRed(255, 0, 0);

}  // namespace

TfrmOiwai::TfrmOiwai(const QString& programFolder, SettingsFile& settings, QWidget* parent,
                     std::optional<celebration::AnimationKind> kind)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), programFolder_(programFolder), settings_(settings) {
  setObjectName(u"frmOiwai"_s);
  setModal(true);
  setAutoFillBackground(false);
  bannerFont = QFont(u"ＭＳ ゴシック"_s);
  bannerFont.setPixelSize(37);
  Timer1.setInterval(TickMilliseconds);
  Timer2.setInterval(TickMilliseconds);
  connect(&Timer1, &QTimer::timeout, this, &TfrmOiwai::Timer1Timer);
  connect(&Timer2, &QTimer::timeout, this, &TfrmOiwai::Timer2Timer);
  // The next picture's number, kept by the banner before.
  const int stored = settings_.readInteger(SettingsKeys::Option, SettingsKeys::OiwaiBmpPattern, 1);
  animation_ = std::make_unique<BannerAnimation>(kind.value_or(BannerAnimation::randomKind()),
                                                 BannerAnimation::pictureNumberFromSetting(stored));
  resize(270, 112);
}

TfrmOiwai::~TfrmOiwai() = default;

void TfrmOiwai::setPictureMax(int pictureMax) { animation_->setPictureMax(static_cast<std::uint8_t>(pictureMax)); }

void TfrmOiwai::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!activated_) FormActivate();
}

// The lines are measured and pre-drawn once; then the first phase starts and
// the fanfare plays.
void TfrmOiwai::FormActivate() {
  activated_ = true;
  const QFontMetrics metrics(bannerFont);
  const int w1 = metrics.horizontalAdvance(RecordLine);
  const int w2 = metrics.horizontalAdvance(MessageLine);
  const int h = metrics.height();
  animation_->activate(w1, w2, h);
  const QSize client = animation_->clientSize();
  // In the middle of the screen, and on its free area: a banner larger than
  // that (a long message) is cut at the area's edges.
  QRect placed(QPoint(0, 0), client);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    placed.moveTopLeft(screen->geometry().topLeft() +
                       BannerAnimation::centredTopLeft(screen->geometry().size(), client));
  placed = WindowPlacement::fittedOnScreen(placed);
  setFixedSize(placed.size());
  move(placed.topLeft());
  canvas_ = QPixmap(client);
  canvas_.fill(PureRed);
  RecordLinePicture = linePicture(RecordLine, w1, h);
  MessageLinePicture = linePicture(MessageLine, w2, h);
  Timer1.start();
  if (soundFile_.isEmpty() || !QFileInfo(soundFile_).isFile()) return;
  if (!MediaPlayer1.open(soundFile_)) {
    // A machine without a sound device is told once per program run, not at
    // every record.
    static bool deviceFailureTold = false;
    if (!MediaPlayer1.failedForDevice() || !deviceFailureTold) reports_.append({MediaPlayer1.errorText()});
    deviceFailureTold = deviceFailureTold || MediaPlayer1.failedForDevice();
  } else if (!MediaPlayer1.play()) {
    reports_.append({MediaPlayer1.errorText()});
  }
}

QPixmap TfrmOiwai::linePicture(const QString& line, int width, int height) const {
  QPixmap picture(std::max(width, 1), std::max(height, 1));
  picture.fill(PureRed);
  QPainter painter(&picture);
  painter.setFont(bannerFont);
  painter.setPen(bannerFontColor);
  painter.drawText(QRect(0, 0, width, height), Qt::AlignLeft | Qt::AlignTop, line);
  return picture;
}

void TfrmOiwai::Timer1Timer() {
  const celebration::FirstPhaseTick tick = animation_->tickFirstPhase();
  execute(tick.ops);
  if (tick.ended) {  // DisAppear
    Timer1.stop();
    Timer2.start();
  }
}

void TfrmOiwai::Timer2Timer() {
  const celebration::SecondPhaseTick tick = animation_->tickSecondPhase();
  if (tick.preparePicture) prepareGrownPicture();
  execute(tick.ops);
  if (tick.close) close();
}

// The picture file "Oiwai<N>.BMP" of the program folder (its name matched
// without regard to case), or the text picture when there is none.
void TfrmOiwai::prepareGrownPicture() {
  const QString path = pictureFilePath();
  if (!path.isEmpty()) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (!image.isNull()) {
      GrownPicture = QPixmap::fromImage(image);
      return;
    }
    reports_.append({path + u"\n"_s + reader.errorString()});
  }
  const QString text = BannerAnimation::fallbackPictureText();
  const QFontMetrics metrics(bannerFont);
  GrownPicture = QPixmap(std::max(metrics.horizontalAdvance(text), 1), std::max(metrics.height(), 1));
  GrownPicture.fill(Qt::white);
  QPainter painter(&GrownPicture);
  painter.setFont(bannerFont);
  painter.setPen(PureRed);
  painter.drawText(GrownPicture.rect(), Qt::AlignLeft | Qt::AlignTop, text);
}

QString TfrmOiwai::pictureFilePath() const {
  const QDir folder(programFolder_);
  const QStringList matches = folder.entryList({animation_->pictureFileName()}, QDir::Files);
  return matches.isEmpty() ? QString() : folder.filePath(matches.first());
}

const QPixmap& TfrmOiwai::pictureOf(BannerPicture picture) const {
  switch (picture) {
    case BannerPicture::RecordLine: return RecordLinePicture;
    case BannerPicture::MessageLine: return MessageLinePicture;
    case BannerPicture::Grown: break;
  }
  return GrownPicture;
}

void TfrmOiwai::execute(const std::vector<BannerDrawOp>& ops) {
  if (ops.empty()) return;
  QPainter painter(&canvas_);
  for (const BannerDrawOp& op : ops) {
    if (op.type == BannerDrawOp::Type::FillRed) {
      painter.fillRect(op.target, PureRed);
      continue;
    }
    const QPixmap& picture = pictureOf(op.picture);
    painter.drawPixmap(op.target, picture, op.source.value_or(picture.rect()));
  }
  update();
}

void TfrmOiwai::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, canvas_);
}

void TfrmOiwai::mousePressEvent(QMouseEvent*) { close(); }

void TfrmOiwai::done(int result) {
  if (!closed_) FormClose();
  QDialog::done(result);
}

// Stops the fanfare (or says it could not play), stops the ticks and keeps the
// next picture number for the next banner.
void TfrmOiwai::FormClose() {
  closed_ = true;
  Timer1.stop();
  Timer2.stop();
  if (!soundFile_.isEmpty() && QFileInfo(soundFile_).isFile())
    MediaPlayer1.close();
  else
    reports_.append(
        {u"ファンファーレが演奏できませんでした。\n"
         u"オプションの「お祝いの設定」でファンファーレファイルを選んでください。"_s,
         false});
  if (!settings_.writeInteger(SettingsKeys::Option, SettingsKeys::OiwaiBmpPattern, animation_->close()))
    reports_.append({settings_.writeFailureMessage()});
}

#include "ui/TfrmColor.h"
#include "widgets/FixedDialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShowEvent>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The dialog's fixed measures, in pixels.
constexpr int ClientWidth = 320;
constexpr int PreviewTop = 309;
constexpr int Gap = 5;
constexpr int ButtonHeight = 25;
constexpr int PreviewLeft = 8, PreviewWidth = 113;
constexpr int ColorTypeLeft = 128, ColorTypeWidth = 105;
constexpr int ButtonLeft = 240, ButtonWidth = 73;

const QString SelectedCaption = u"Selected"_s;

constexpr int Sixteen = 0;
constexpr int SixtyFour = 1;
constexpr int HundredTwentyFive = 2;

// The classic 16 colours in their usual order.
constexpr std::array<QRgb, 16> SixteenColours{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                              0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
// The levels each channel runs through in the larger grids.
constexpr std::array<int, 4> SixtyFourLevels{0, 128, 192, 255};
constexpr std::array<int, 5> HundredTwentyFiveLevels{0, 64, 128, 192, 255};

// How a grid is cut into cells and how a cell shows "Selected".
struct GridShape {
  int columns;
  int cellHeight;
  int captionPointSize;
  Qt::Alignment captionAlignment;
};

GridShape gridShape(int type) {
  switch (type) {
    case SixtyFour: return {8, 38, 9, Qt::AlignLeft | Qt::AlignVCenter};
    case HundredTwentyFive: return {5, 12, 10, Qt::AlignCenter};
    default: return {1, 19, 11, Qt::AlignCenter};
  }
}

// Red changes fastest, then green, then blue.
template <std::size_t N>
QColor colourFromLevels(const std::array<int, N>& levels, int index) {
  const int n = static_cast<int>(N);
  return QColor(levels[index % n], levels[index / n % n], levels[index / (n * n)]);
}

// "Selected" stays readable on dark cells.
QColor captionColourOn(const QColor& background) {
  return qGray(background.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

QFont gothic(int pixelSize) {
  QFont font(u"ＭＳ ゴシック"_s);
  font.setPixelSize(pixelSize);
  return font;
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->resize(ButtonWidth, ButtonHeight);
  return button;
}

QPlainTextEdit* makePreview(QWidget* parent) {
  auto* preview = new QPlainTextEdit(u"プレビュー画面"_s, parent);
  preview->setObjectName(u"moPreview"_s);
  preview->setFont(gothic(11));
  preview->setLineWrapMode(QPlainTextEdit::NoWrap);
  preview->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  preview->setTabChangesFocus(true);
  return preview;
}

// The caption's font at the grid's size, made smaller where "Selected" would
// not fit the cell (the 64-colour cells are narrow).
QFont captionFont(QFont font, const GridShape& shape, int cellWidth) {
  font.setPointSize(shape.captionPointSize);
  while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(SelectedCaption) > cellWidth - 2)
    font.setPointSize(font.pointSize() - 1);
  return font;
}

QLabel* makeColourCell(int index, const QColor& colour, const QFont& font, Qt::Alignment alignment, QWidget* parent) {
  auto* cell = new QLabel(parent);
  cell->setObjectName(u"Label%1"_s.arg(index));
  cell->setAutoFillBackground(true);
  QPalette palette = cell->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, captionColourOn(colour));
  cell->setPalette(palette);
  cell->setFont(font);
  cell->setAlignment(alignment);
  cell->setCursor(Qt::PointingHandCursor);
  return cell;
}

}  // namespace

TfrmColor::TfrmColor(QWidget* parent) : QDialog(parent) {
  FixedDialog::prepare(this);
  setObjectName(u"frmColor"_s);
  setWindowTitle(u"背景色の選択"_s);
  setFont(gothic(12));

  moPreview = makePreview(this);

  rgColorType = new QGroupBox(this);
  rgColorType->setObjectName(u"rgColorType"_s);
  colorTypeButtons_ = new QButtonGroup(this);
  const QStringList items{u" 16 color"_s, u" 64 color"_s, u"125 color"_s};
  for (int type = 0; type < items.size(); ++type) {
    auto* item = new QRadioButton(items[type], rgColorType);
    item->setGeometry(8, 3 + type * 18, ColorTypeWidth - 12, 18);
    colorTypeButtons_->addButton(item, type);
  }
  colorTypeButtons_->button(Sixteen)->setChecked(true);
  connect(colorTypeButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) ColorShow();  // rgColorTypeClick
  });

  bbOK = makeButton(u"bbOK"_s, u"選択"_s, this);
  bbOK->setDefault(true);
  bbCancel = makeButton(u"bbCancel"_s, u"取消"_s, this);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbCancel, &QPushButton::clicked, this, [this] { bbCancelClick(); });
  // Escape cancels like the button; closing from the title bar keeps the pick.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, bbCancel, &QPushButton::click);

  layOutBelowGrid();
  ColorShow();
}

void TfrmColor::setPreviewColors(const QColor& background, const QColor& text) {
  QPalette palette = moPreview->palette();
  palette.setColor(QPalette::Text, text);
  moPreview->setPalette(palette);
  setPreviewBackground(background);
}

QColor TfrmColor::previewBackground() const { return moPreview->palette().color(QPalette::Base); }

QList<QLabel*> TfrmColor::colorLabels() const { return labels_; }

int TfrmColor::colorType() const { return colorTypeButtons_->checkedId(); }

void TfrmColor::setColorType(int type) {
  if (QAbstractButton* item = colorTypeButtons_->button(type)) item->setChecked(true);
}

QColor TfrmColor::paletteColor(int type, int index) {
  if (index < 0 || index >= paletteSize(type)) return QColor();
  switch (type) {
    case Sixteen: return QColor::fromRgb(SixteenColours[index]);
    case SixtyFour: return colourFromLevels(SixtyFourLevels, index);
    default: return colourFromLevels(HundredTwentyFiveLevels, index);
  }
}

int TfrmColor::paletteSize(int type) {
  switch (type) {
    case Sixteen: return 16;
    case SixtyFour: return 64;
    case HundredTwentyFive: return 125;
    default: return 0;
  }
}

// Each showing: remember the colour to give back on Cancel, and rebuild the
// grid so that no cell says "Selected".
void TfrmColor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // restored from minimised, not a new showing
  PreviewColorAtOpen = previewBackground();
  layOutBelowGrid();
  ColorShow();
}

bool TfrmColor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* cell = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (cell && labels_.contains(cell) && mouse->button() == Qt::LeftButton &&
        cell->rect().contains(mouse->position().toPoint())) {
      ColorLabelClick(cell);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// The preview, the grid type and the buttons share one band below the grid;
// the preview is as high as the two buttons with the gap between them.
void TfrmColor::layOutBelowGrid() {
  const int previewHeight = bbOK->height() + bbCancel->height() + Gap;
  moPreview->setGeometry(PreviewLeft, PreviewTop, PreviewWidth, previewHeight);
  rgColorType->setGeometry(ColorTypeLeft, PreviewTop - Gap, ColorTypeWidth, previewHeight + Gap);
  bbOK->move(ButtonLeft, PreviewTop);
  bbCancel->move(ButtonLeft, bbOK->y() + bbOK->height() + Gap);
  setFixedSize(ClientWidth, bbCancel->y() + bbCancel->height() + Gap);
}

void TfrmColor::ColorShow() {
  qDeleteAll(labels_);
  labels_.clear();
  const int type = colorType();
  const GridShape shape = gridShape(type);
  const int cellWidth = ClientWidth / shape.columns;
  const QFont font = captionFont(this->font(), shape, cellWidth);
  for (int index = 0; index < paletteSize(type); ++index) {
    QLabel* cell = makeColourCell(index, paletteColor(type, index), font, shape.captionAlignment, this);
    cell->setGeometry(index % shape.columns * cellWidth, index / shape.columns * shape.cellHeight, cellWidth,
                      shape.cellHeight);
    cell->installEventFilter(this);
    cell->show();
    labels_.append(cell);
  }
}

void TfrmColor::ColorLabelClick(QLabel* label) {
  for (QLabel* cell : std::as_const(labels_)) cell->clear();
  label->setText(SelectedCaption);
  const QColor colour = label->palette().color(QPalette::Window);
  setPreviewBackground(colour);
  moPreview->setPlainText(u"R = %1\nG = %2\nB = %3"_s.arg(colour.red()).arg(colour.green()).arg(colour.blue()));
}

void TfrmColor::bbCancelClick() {
  setPreviewBackground(PreviewColorAtOpen);
  reject();
}

void TfrmColor::setPreviewBackground(const QColor& colour) {
  QPalette palette = moPreview->palette();
  palette.setColor(QPalette::Base, colour);
  moPreview->setPalette(palette);
}

#include "widgets/FontDialog.h"
#include "widgets/FixedDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The style list: regular, italic, bold, bold italic.
struct Style {
  QString caption;
  bool bold;
  bool italic;
};
const Style Styles[] = {
    {u"標準"_s, false, false}, {u"斜体"_s, false, true}, {u"太字"_s, true, false}, {u"太字 斜体"_s, true, true}};

int pointSizeOf(const QFont& font) { return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize(); }

// The font as it is drawn: the family that stands for a substituted name.
QString drawnFamily(const QFont& font) { return QFontInfo(font).family(); }

}  // namespace

FontDialog::FontDialog(QWidget* parent, Families families) : QDialog(parent), families_(families) {
  setObjectName(u"FontDialog1"_s);
  setWindowTitle(u"フォント"_s);
  FixedDialog::prepare(this);

  familyList_ = new QListWidget(this);
  familyList_->setObjectName(u"familyList"_s);
  familyList_->addItems(families == Families::FixedPitch ? fixedPitchFamilies() : allFamilies());
  styleList_ = new QListWidget(this);
  styleList_->setObjectName(u"styleList"_s);
  for (const Style& style : Styles) styleList_->addItem(style.caption);
  sizeBox_ = new QSpinBox(this);
  sizeBox_->setObjectName(u"sizeBox"_s);
  sizeBox_->setRange(6, 72);

  auto* effects = new QGroupBox(u"文字飾り"_s, this);
  strikeOutBox_ = new QCheckBox(u"取り消し線(&K)"_s, effects);
  underlineBox_ = new QCheckBox(u"下線(&U)"_s, effects);
  colorButton_ = new QPushButton(effects);
  colorButton_->setObjectName(u"colorButton"_s);
  auto* colorLabel = new QLabel(u"色(&C):"_s, effects);
  colorLabel->setBuddy(colorButton_);
  auto* effectsLayout = new QGridLayout(effects);
  effectsLayout->addWidget(strikeOutBox_, 0, 0, 1, 2);
  effectsLayout->addWidget(underlineBox_, 1, 0, 1, 2);
  effectsLayout->addWidget(colorLabel, 2, 0);
  effectsLayout->addWidget(colorButton_, 2, 1);

  auto* sampleBox = new QGroupBox(u"サンプル"_s, this);
  sample_ = new QLabel(u"Aaあア亜 123 ｱｲｳ"_s, sampleBox);
  sample_->setObjectName(u"sample"_s);
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setMinimumSize(220, 60);
  sample_->setAutoFillBackground(true);
  (new QVBoxLayout(sampleBox))->addWidget(sample_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &FontDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &FontDialog::reject);

  auto* familyLabel = new QLabel(u"フォント名(&F):"_s, this);
  familyLabel->setBuddy(familyList_);
  auto* styleLabel = new QLabel(u"スタイル(&Y):"_s, this);
  styleLabel->setBuddy(styleList_);
  auto* sizeLabel = new QLabel(u"サイズ(&S):"_s, this);
  sizeLabel->setBuddy(sizeBox_);
  auto* layout = new QGridLayout(this);
  layout->addWidget(familyLabel, 0, 0);
  layout->addWidget(styleLabel, 0, 1);
  layout->addWidget(sizeLabel, 0, 2);
  layout->addWidget(familyList_, 1, 0, 2, 1);
  layout->addWidget(styleList_, 1, 1, 2, 1);
  layout->addWidget(sizeBox_, 1, 2, Qt::AlignTop);
  layout->addWidget(effects, 3, 0);
  layout->addWidget(sampleBox, 3, 1, 1, 2);
  layout->addWidget(buttons, 4, 0, 1, 3);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(familyList_, styleList_);
  setTabOrder(styleList_, sizeBox_);
  setTabOrder(sizeBox_, strikeOutBox_);
  setTabOrder(strikeOutBox_, underlineBox_);
  setTabOrder(underlineBox_, colorButton_);

  connect(familyList_, &QListWidget::currentRowChanged, this, &FontDialog::showSample);
  connect(styleList_, &QListWidget::currentRowChanged, this, &FontDialog::showSample);
  connect(sizeBox_, &QSpinBox::valueChanged, this, &FontDialog::showSample);
  connect(strikeOutBox_, &QCheckBox::toggled, this, &FontDialog::showSample);
  connect(underlineBox_, &QCheckBox::toggled, this, &FontDialog::showSample);
  connect(colorButton_, &QPushButton::clicked, this, &FontDialog::chooseColor);
}

bool FontDialog::isFixedPitch(const QString& family) {
  QFont font(family);
  font.setPixelSize(24);
  const QFontMetrics metrics(font);
  const int column = metrics.horizontalAdvance(u'W');
  if (column <= 0 || metrics.horizontalAdvance(u'i') != column || metrics.horizontalAdvance(u'0') != column)
    return false;
  if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) return true;
  // Kana and kanji two columns, half-width kana one.
  return metrics.horizontalAdvance(u'あ') == 2 * column && metrics.horizontalAdvance(u'漢') == 2 * column &&
         metrics.horizontalAdvance(u'ｱ') == column;
}

QStringList FontDialog::fixedPitchFamilies() {
  QStringList families;
  for (const QString& family : QFontDatabase::families())
    if (!QFontDatabase::isPrivateFamily(family) && isFixedPitch(family)) families << family;
  return families;
}

QStringList FontDialog::allFamilies() {
  QStringList families;
  for (const QString& family : QFontDatabase::families())
    if (!QFontDatabase::isPrivateFamily(family) && !QFontDatabase::styles(family).isEmpty()) families << family;
  return families;
}

void FontDialog::setCurrent(const QFont& font, const QColor& color) {
  original_ = font;
  originalColor_ = color;
  color_ = color;
  const QString family = drawnFamily(font);
  QList<QListWidgetItem*> found = familyList_->findItems(family, Qt::MatchFixedString);
  if (found.isEmpty()) {  // the given font stays offered, fixed pitch or not
    familyList_->addItem(family);
    found = familyList_->findItems(family, Qt::MatchFixedString);
  }
  familyList_->setCurrentItem(found.first());
  familyList_->scrollToItem(found.first());
  int style = 0;
  for (int i = 0; i < int(std::size(Styles)); ++i)
    if (Styles[i].bold == font.bold() && Styles[i].italic == font.italic()) style = i;
  styleList_->setCurrentRow(style);
  sizeBox_->setValue(pointSizeOf(font));
  strikeOutBox_->setChecked(font.strikeOut());
  underlineBox_->setChecked(font.underline());
  showColor();
  showSample();
}

QFont FontDialog::fontShown() const {
  QFont font(familyList_->currentItem() ? familyList_->currentItem()->text() : drawnFamily(original_));
  font.setPointSize(sizeBox_->value());
  const Style& style = Styles[std::max(styleList_->currentRow(), 0)];
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setStrikeOut(strikeOutBox_->isChecked());
  font.setUnderline(underlineBox_->isChecked());
  if (families_ == Families::FixedPitch) font.setStyleHint(QFont::TypeWriter);
  return font;
}

void FontDialog::showSample() {
  sample_->setFont(fontShown());
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::WindowText, color_);
  sample_->setPalette(palette);
}

void FontDialog::chooseColor() {
  const QColor chosen = QColorDialog::getColor(color_, this, u"文字の色"_s, QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;
  color_ = chosen;
  showColor();
  showSample();
}

void FontDialog::showColor() {
  QPixmap swatch(40, 14);
  swatch.fill(color_);
  colorButton_->setIcon(swatch);
  colorButton_->setIconSize(swatch.size());
}

void FontDialog::accept() {
  const QFont shown = fontShown();
  const bool unchanged = shown.family() == drawnFamily(original_) && shown.pointSize() == pointSizeOf(original_) &&
                         shown.bold() == original_.bold() && shown.italic() == original_.italic() &&
                         shown.strikeOut() == original_.strikeOut() && shown.underline() == original_.underline();
  selectedFont_ = unchanged ? original_ : shown;
  selectedColor_ = color_;
  QDialog::accept();
}

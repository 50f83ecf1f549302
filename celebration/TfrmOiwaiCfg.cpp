#include "celebration/TfrmOiwaiCfg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "platform/NativePath.h"
#include "widgets/FontDialog.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 310;
constexpr int ClientHeight = 180;
constexpr int DialogPixelSize = 13;

QLabel* makeLabel(const QString& name, const QString& text, QPoint at, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->move(at);
  label->adjustSize();
  return label;
}

QLineEdit* makeEdit(const QString& name, const QRect& geometry, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  return edit;
}

QPushButton* makeButton(const QString& name, const QString& text, const QRect& geometry, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmOiwaiCfg::TfrmOiwaiCfg(QWidget* parent) : QDialog(parent) {
  setObjectName(u"frmOiwaiCfg"_s);
  setWindowTitle(u"お祝いのカスタマイズ"_s);
  // A fixed dialog: a title bar with a close button only.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont dialogFont(u"ＭＳ ゴシック"_s);
  dialogFont.setPixelSize(DialogPixelSize);
  setFont(dialogFont);
  setFixedSize(ClientWidth, ClientHeight);

  Label5 = makeLabel(u"Label5"_s, u"ファンファーレのサウンドファイル"_s, {8, 8}, this);
  edSound = makeEdit(u"edSound"_s, {8, 24, 241, 21}, this);
  btRef = makeButton(u"btRef"_s, u"参照"_s, {256, 24, 46, 21}, this);
  btTest = makeButton(u"btTest"_s, u"テスト"_s, {8, 48, 75, 25}, this);
  Label1 = makeLabel(u"Label1"_s, u"お祝いメッセージ"_s, {8, 80}, this);
  Edit1 = makeEdit(u"Edit1"_s, {8, 96, 244, 21}, this);
  Edit1->setAutoFillBackground(true);
  btnFont = makeButton(u"btnFont"_s, u"Font"_s, {256, 95, 46, 22}, this);
  Label2 = makeLabel(u"Label2"_s, QString(), {6, 121}, this);
  Label3 = makeLabel(u"Label3"_s, QString(), {165, 121}, this);
  BitBtn1 = makeButton(u"BitBtn1"_s, u"OK"_s, {81, 143, 75, 25}, this);
  BitBtn1->setDefault(true);
  BitBtn2 = makeButton(u"BitBtn2"_s, u"キャンセル"_s, {170, 143, 75, 25}, this);

  Label5->setBuddy(edSound);
  Label1->setBuddy(Edit1);
  for (QLabel* label : {Label5, Label1, Label2, Label3}) label->setFocusPolicy(Qt::NoFocus);
  setTabOrder(edSound, btRef);
  setTabOrder(btRef, btTest);
  setTabOrder(btTest, Edit1);
  setTabOrder(Edit1, btnFont);
  setTabOrder(btnFont, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);

  connect(btRef, &QPushButton::clicked, this, &TfrmOiwaiCfg::btRefClick);
  connect(btTest, &QPushButton::clicked, this, &TfrmOiwaiCfg::btTestClick);
  connect(btnFont, &QPushButton::clicked, this, &TfrmOiwaiCfg::btnFontClick);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  showPendingFont();
}

void TfrmOiwaiCfg::setValues(const QString& fanfare, const QString& message, const QFont& font,
                             const QColor& fontColor) {
  edSound->setText(NativePath::toNative(fanfare));
  Edit1->setText(message);
  pendingFont_ = font;
  pendingColor_ = fontColor;
  showPendingFont();
}

QString TfrmOiwaiCfg::fanfare() const { return NativePath::fromNative(edSound->text()); }

QString TfrmOiwaiCfg::message() const { return Edit1->text(); }

// Label2 and Label3 name the pending font; Edit1 shows the message in its
// name, style and colour at the dialog's own size, on red.
void TfrmOiwaiCfg::showPendingFont() {
  Label2->setText(pendingFont_.family());
  Label2->adjustSize();
  Label3->setText(QString::number(pendingFont_.pointSize()) + u"point"_s);
  Label3->adjustSize();

  QFont shown = pendingFont_;
  shown.setPixelSize(DialogPixelSize);
  Edit1->setFont(shown);
  QPalette palette = Edit1->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, Qt::red);
    palette.setColor(group, QPalette::Window, Qt::red);
    palette.setColor(group, QPalette::Text, pendingColor_);
  }
  Edit1->setPalette(palette);
}

void TfrmOiwaiCfg::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    showPendingFont();
    centreOnScreen();
  }
  QDialog::showEvent(event);
}

void TfrmOiwaiCfg::centreOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame(QPoint(0, 0), frameGeometry().size());  // the frame, once the window has one
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

bool TfrmOiwaiCfg::soundFileExists() const { return QFileInfo(fanfare()).isFile(); }

// The font and its colour in one dialog, every installed family offered. A
// Windows name such as "ＭＳ ゴシック" is offered as the font that stands for it
// here, and OK without a change keeps the name, so that the settings file
// keeps it too. Not Qt's QFontDialog: see widgets/FontDialog.h.
void TfrmOiwaiCfg::btnFontClick() {
  if (!FontDialog1) FontDialog1 = new FontDialog(this, FontDialog::Families::All);
  FontDialog1->setCurrent(pendingFont_, pendingColor_);
  if (FontDialog1->exec() != QDialog::Accepted) return;
  pendingFont_ = FontDialog1->selectedFont();
  pendingColor_ = FontDialog1->selectedColor();
  showPendingFont();
}

void TfrmOiwaiCfg::btRefClick() {
  if (!OpenDialog1) {
    OpenDialog1 = new QFileDialog(this, u"サウンドの選択"_s);
    OpenDialog1->setObjectName(u"OpenDialog1"_s);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilters(
        {u"Midi ファイル (*.mid *.rmi)"_s, u"Wave ファイル (*.wav)"_s, u"すべてのファイル (*)"_s});
  }
  if (soundFileExists()) {
    const QFileInfo current(fanfare());
    OpenDialog1->setDirectory(current.absolutePath());
    OpenDialog1->selectFile(current.absoluteFilePath());
  }
  if (OpenDialog1->exec() != QDialog::Accepted) return;
  const QStringList chosen = OpenDialog1->selectedFiles();
  if (!chosen.isEmpty()) edSound->setText(NativePath::toNative(QFileInfo(chosen.first()).absoluteFilePath()));
}

void TfrmOiwaiCfg::btTestClick() {
  if (!soundFileExists()) {
    report({u"ファイルが見つかりません。"_s, false});
    return;
  }
  // open() closes what an earlier test left open.
  if (!MediaPlayer1.open(fanfare()) || !MediaPlayer1.play()) report({MediaPlayer1.errorText(), true});
}

void TfrmOiwaiCfg::done(int result) {
  if (soundFileExists()) MediaPlayer1.close();
  QDialog::done(result);
}

void TfrmOiwaiCfg::report(const CelebrationReport& report) {
  if (reporter_) {
    reporter_(this, report);
  } else if (report.error) {
    QMessageBox::critical(this, windowTitle(), report.text);
  } else {
    QMessageBox::information(this, windowTitle(), report.text);
  }
}

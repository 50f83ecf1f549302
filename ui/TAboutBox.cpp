#include "ui/TAboutBox.h"
#include "widgets/FixedDialog.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/Pictures.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 305;
constexpr int ClientHeight = 240;

QFont fontOf(const QString& family, int pixelSize) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

QLabel* makeText(QWidget* panel, const QString& name, const QString& text, const QFont& font, QPoint at) {
  auto* label = new QLabel(text, panel);
  label->setObjectName(name);
  label->setFont(font);
  label->move(at);
  label->adjustSize();
  return label;
}

QFrame* makePanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(u"Panel1"_s);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);
  panel->setGeometry(5, 6, 292, 187);
  return panel;
}

QLabel* makeIcon(QWidget* panel) {
  auto* icon = new QLabel(panel);
  icon->setObjectName(u"ProgramIcon"_s);
  icon->setGeometry(14, 14, 83, 75);
  icon->setScaledContents(true);  // stretched to the box
  icon->setPixmap(Pictures::programIcon(256));
  return icon;
}

QLabel* makeComments(QWidget* panel) {
  auto* comments = new QLabel(
      u"このプログラムはフリーソフトウェアです。ご質問やご要望はメールかフォーラムへお気軽にどうぞ。"_s, panel);
  comments->setObjectName(u"Comments"_s);
  comments->setFont(fontOf(u"ＭＳ Ｐゴシック"_s, 12));
  comments->setWordWrap(true);
  comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  comments->setGeometry(35, 120, 221, 52);
  return comments;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  FixedDialog::prepare(this);
  setObjectName(u"AboutBox"_s);
  setWindowTitle(u"バージョン情報"_s);
  setFixedSize(ClientWidth, ClientHeight);

  QFrame* panel = makePanel(this);
  makeIcon(panel);
  makeText(panel, u"ProductName"_s, u"ＴＡＰＰＥＲの足跡32"_s, fontOf(u"ＭＳ ゴシック"_s, 16), {117, 19});
  makeText(panel, u"Version"_s, u"Version 2.0"_s, fontOf(u"ＭＳ 明朝"_s, 15), {181, 52});
  makeText(panel, u"Copyright"_s, u"Copyright (C) hoko32 の開発者一同"_s, fontOf(u"ＭＳ Ｐゴシック"_s, 12), {43, 95});
  makeComments(panel);

  OKButton = new QPushButton(u"OK"_s, this);
  OKButton->setObjectName(u"OKButton"_s);
  OKButton->setFont(fontOf(font().family(), 16));
  OKButton->setGeometry(114, 205, 77, 28);
  OKButton->setDefault(true);
  OKButton->setFocus();  // has the focus when the box opens
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

#include "ui/TfrmRecent.h"
#include "ui/BoundedSpinBox.h"
#include "widgets/FixedDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmRecent::TfrmRecent(QWidget* parent, Derived) : QDialog(parent) {
  FixedDialog::prepare(this);
  Label1 = new QLabel(this);
  Label1->setObjectName(u"Label1"_s);
  Label1->setWordWrap(true);

  SpinEdit1 = new BoundedSpinBox(this);
  SpinEdit1->setObjectName(u"SpinEdit1"_s);
  SpinEdit1->setRange(0, 255);
  SpinEdit1->setSingleStep(1);
  Label1->setBuddy(SpinEdit1);

  const FixedDialog::Buttons buttons = FixedDialog::okAndCancel(this);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;
}

TfrmRecent::TfrmRecent(QWidget* parent) : TfrmRecent(parent, Derived{}) {
  setObjectName(u"frmRecent"_s);
  setWindowTitle(u"表示回数の制限"_s);
  Label1->setText(u"画面に表示させる回数を指定してください。( 0 ～ 255 の範囲で指定。 0 なら全部表示になります。)"_s);
  Label1->setFixedWidth(240);
  SpinEdit1->setMinimumWidth(80);

  auto* spinRow = new QHBoxLayout;
  spinRow->addStretch();
  spinRow->addWidget(SpinEdit1);
  spinRow->addStretch();

  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog
  column->setContentsMargins(16, 16, 16, 12);
  column->addWidget(Label1);
  column->addSpacing(8);
  column->addLayout(spinRow);
  column->addSpacing(12);
  column->addLayout(makeButtonRow());
  column->activate();  // fixes the size before the window exists
}

QBoxLayout* TfrmRecent::makeButtonRow() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  buttons->addStretch();
  return buttons;
}

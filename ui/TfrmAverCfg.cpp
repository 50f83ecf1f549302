#include "ui/TfrmAverCfg.h"
#include "ui/BoundedSpinBox.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 268;
constexpr int ClientHeight = 215;

QLabel* makeRowLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  return label;
}

QSpinBox* makeRowSpin(const QString& name, int maximum, int step, QWidget* parent) {
  auto* spin = new BoundedSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(0, maximum);
  spin->setSingleStep(step);
  spin->setFixedWidth(64);
  return spin;
}

}  // namespace

TfrmAverCfg::TfrmAverCfg(QWidget* parent) : TfrmRecent(parent, Derived{}) {
  setObjectName(u"frmAverCfg"_s);
  setWindowTitle(u"平均値の表示設定"_s);

  Label1->setText(u"ミスが次の入力値以下の場合の平均値を計算します。（最大値255）"_s);
  Label2 = makeRowLabel(u"Label2"_s, u"総打数が次の入力値以上の場合の平均値を計算します。（最大値999）"_s, this);
  Label3 = makeRowLabel(u"Label3"_s, u"「回」のボタンが押されているときに次の回数ごとの平均値を計算します。"_s, this);
  SpinEdit1->setFixedWidth(64);
  SpinEdit2 = makeRowSpin(u"SpinEdit2"_s, 999, 1, this);
  SpinEdit3 = makeRowSpin(u"SpinEdit3"_s, 999, 10, this);
  Label2->setBuddy(SpinEdit2);
  Label3->setBuddy(SpinEdit3);

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(10);
  rows->setVerticalSpacing(10);
  rows->setColumnStretch(0, 1);
  const QList<QPair<QLabel*, QSpinBox*>> pairs{{Label1, SpinEdit1}, {Label2, SpinEdit2}, {Label3, SpinEdit3}};
  for (int row = 0; row < pairs.size(); ++row) {
    rows->addWidget(pairs[row].first, row, 0);
    rows->addWidget(pairs[row].second, row, 1, Qt::AlignVCenter);
  }

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(10, 10, 10, 10);
  column->addLayout(rows);
  column->addStretch();
  column->addLayout(makeButtonRow());
  setFixedSize(ClientWidth, ClientHeight);
  // The three fields first, then OK and Cancel.
  setTabOrder(SpinEdit1, SpinEdit2);
  setTabOrder(SpinEdit2, SpinEdit3);
  setTabOrder(SpinEdit3, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);
}

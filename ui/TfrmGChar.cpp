#include "ui/TfrmGChar.h"
#include "widgets/FixedDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The charts draw one byte per mark, so a mark is one printable ASCII
// character or one half-width katakana; empty is allowed while typing.
QValidator* singleByteMarkValidator(QObject* parent) {
  static const QRegularExpression singleByteMark(u"[\\x{20}-\\x{7E}\\x{FF61}-\\x{FF9F}]?"_s);
  return new QRegularExpressionValidator(singleByteMark, parent);
}

QLineEdit* makeMarkField(const QString& name, const QString& designText, QWidget* parent) {
  auto* field = new QLineEdit(designText, parent);
  field->setObjectName(name);
  field->setMaxLength(1);
  field->setValidator(singleByteMarkValidator(field));
  field->setAlignment(Qt::AlignCenter);
  field->setFixedWidth(40);
  return field;
}

QLabel* makeFieldLabel(const QString& text, QLineEdit* field, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(field);
  return label;
}

}  // namespace

TfrmGChar::TfrmGChar(QWidget* parent) : QDialog(parent) {
  FixedDialog::prepare(this);
  setObjectName(u"frmGChar"_s);
  setWindowTitle(u"グラフ表示の方法"_s);

  edtHit = makeMarkField(u"edtHit"_s, u"o"_s, this);
  edtMiss = makeMarkField(u"edtMiss"_s, u"x"_s, this);
  const FixedDialog::Buttons buttons = FixedDialog::okAndCancel(this);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(12);
  fields->addWidget(makeFieldLabel(u"Hit に使用するキャラクタ"_s, edtHit, this), 0, 0);
  fields->addWidget(edtHit, 0, 1);
  fields->addWidget(makeFieldLabel(u"Miss に使用するキャラクタ"_s, edtMiss, this), 1, 0);
  fields->addWidget(edtMiss, 1, 1);

  FixedDialog::layOut(this, fields, buttons);
}

void TfrmGChar::setMarks(const QString& hit, const QString& miss) {
  edtHit->setText(hit);
  edtMiss->setText(miss);
}

QString TfrmGChar::hitText() const { return edtHit->text(); }

QString TfrmGChar::missText() const { return edtMiss->text(); }

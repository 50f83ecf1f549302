#include "era/EraDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/OptionField.h"
#include "widgets/FixedDialog.h"

using namespace Qt::StringLiterals;

namespace {

QDateEdit* makeDateEdit(const QString& name, QCheckBox* check, QWidget* parent) {
  auto* edit = new QDateEdit(parent);
  edit->setObjectName(name);
  edit->setDisplayFormat(u"yyyy/MM/dd"_s);
  edit->setCalendarPopup(true);
  edit->setDateRange(SettingsDays::first(), SettingsDays::last());
  edit->setMinimumWidth(120);
  edit->setEnabled(false);
  QObject::connect(check, &QCheckBox::toggled, edit, &QWidget::setEnabled);
  return edit;
}

}  // namespace

EraDialog::EraDialog(QWidget* parent) : QDialog(parent) {
  FixedDialog::prepare(this);
  setObjectName(u"EraDialog"_s);
  setWindowTitle(u"集計の開始日"_s);
  FromCheck = new QCheckBox(u"開始日から集計する"_s, this);
  FromCheck->setObjectName(u"FromCheck"_s);
  FromDate = makeDateEdit(u"FromDate"_s, FromCheck, this);
  ToCheck = new QCheckBox(u"終了日まで"_s, this);
  ToCheck->setObjectName(u"ToCheck"_s);
  ToDate = makeDateEdit(u"ToDate"_s, ToCheck, this);
  const FixedDialog::Buttons buttons = FixedDialog::okAndCancel(this);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;

  auto* days = new QGridLayout;
  days->setHorizontalSpacing(12);
  days->addWidget(FromCheck, 0, 0);
  days->addWidget(FromDate, 0, 1);
  days->addWidget(ToCheck, 1, 0);
  days->addWidget(ToDate, 1, 1);
  lblEraError = new QLabel(u"終了日が開始日より前です。"_s, this);
  lblEraError->setObjectName(u"lblEraError"_s);
  lblEraError->setStyleSheet(u"color: red"_s);
  // Its room is kept while it is hidden, so that the dialog's size stays fixed.
  QSizePolicy kept = lblEraError->sizePolicy();
  kept.setRetainSizeWhenHidden(true);
  lblEraError->setSizePolicy(kept);
  lblEraError->hide();
  days->addWidget(lblEraError, 2, 0, 1, 2);
  FixedDialog::layOut(this, days, buttons);
  for (QCheckBox* check : {FromCheck, ToCheck}) connect(check, &QCheckBox::toggled, this, &EraDialog::check);
  for (QDateEdit* edit : {FromDate, ToDate}) connect(edit, &QDateEdit::dateChanged, this, &EraDialog::check);
}

bool EraDialog::acceptable() const {
  const QDate first = from(), last = to();
  return !first.isValid() || !last.isValid() || last >= first;
}

void EraDialog::accept() {
  if (acceptable()) QDialog::accept();
}

void EraDialog::check() {
  const bool good = acceptable();
  BitBtn1->setEnabled(good);
  lblEraError->setVisible(!good);
}

void EraDialog::setEra(const QDate& from, const QDate& to, const QDate& today) {
  FromCheck->setChecked(from.isValid());
  FromDate->setDate(from.isValid() ? from : today);
  ToCheck->setChecked(to.isValid());
  ToDate->setDate(to.isValid() ? to : today);
  check();
}

QDate EraDialog::from() const { return FromCheck->isChecked() ? FromDate->date() : QDate(); }

QDate EraDialog::to() const { return ToCheck->isChecked() ? ToDate->date() : QDate(); }

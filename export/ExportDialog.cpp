#include "export/ExportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/FixedDialog.h"

using namespace Qt::StringLiterals;

ExportDialog::ExportDialog(const QString& viewCaption, QWidget* parent) : QDialog(parent) {
  setObjectName(u"frmExport"_s);
  setProperty("helpContext", HelpContext);
  setWindowTitle(u"エクスポート"_s);
  auto* layout = new QVBoxLayout(this);
  auto* what = new QGroupBox(u"保存する内容"_s, this);
  auto* whatLayout = new QVBoxLayout(what);
  rbView_ = new QRadioButton(u"表示中の画面のデータ（%1）"_s.arg(viewCaption), what);
  rbView_->setObjectName(u"rbView"_s);
  rbView_->setChecked(true);
  rbRuns_ = new QRadioButton(u"記録ファイルのすべての練習"_s, what);
  rbRuns_->setObjectName(u"rbRuns"_s);
  rbCalendar_ = new QRadioButton(u"練習カレンダーの日ごとのデータ"_s, what);
  rbCalendar_->setObjectName(u"rbCalendar"_s);
  whatLayout->addWidget(rbView_);
  whatLayout->addWidget(rbRuns_);
  whatLayout->addWidget(rbCalendar_);
  layout->addWidget(what);
  cbShiftJis_ = new QCheckBox(u"CSV ファイルを Shift-JIS で保存する"_s, this);
  cbShiftJis_->setObjectName(u"cbShiftJis"_s);
  cbShiftJis_->setToolTip(u"日本語版の表計算ソフトでそのまま開けます。チェックしないときは UTF-8 で保存します"_s);
  layout->addWidget(cbShiftJis_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(u"次へ..."_s);
  buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  FixedDialog::prepare(this);
}

ExportDialog::Content ExportDialog::content() const {
  if (rbRuns_->isChecked()) return Content::EveryRun;
  if (rbCalendar_->isChecked()) return Content::Calendar;
  return Content::View;
}

bool ExportDialog::shiftJis() const { return cbShiftJis_->isChecked(); }

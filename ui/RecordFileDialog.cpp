#include "ui/RecordFileDialog.h"

#include <QFileSystemModel>

using namespace Qt::StringLiterals;

RecordFileDialog::RecordFileDialog(QWidget* parent) : QFileDialog(parent, u"フォルダの変更と記録ファイルの選択"_s) {
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setNameFilter(filterCaption());
  connect(this, &QFileDialog::filterSelected, this, &RecordFileDialog::listRecordFiles);
  listRecordFiles();
}

QString RecordFileDialog::filterCaption() { return u"ｷﾛｸ ファイル(*.ｷﾛｸ)"_s; }

QString RecordFileDialog::pattern() { return u"*.ｷﾛｸ"_s; }

void RecordFileDialog::showEvent(QShowEvent* event) {
  listRecordFiles();
  QFileDialog::showEvent(event);
}

void RecordFileDialog::listRecordFiles() {
  if (auto* model = findChild<QFileSystemModel*>()) model->setNameFilters({pattern()});
}

#pragma once

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

// "集計の開始日": the era every view counts, a first day and, when its box is
// checked, a last day. OK gives the days (a box left unchecked gives a null
// day); the window then sets them on the session. An era that would end
// before it starts is not taken: OK is greyed and the reason stands below the
// dates.
class EraDialog : public QDialog {
  Q_OBJECT
 public:
  explicit EraDialog(QWidget* parent = nullptr);

  // Shows the era as set; a side not set is unchecked and offers `today`.
  void setEra(const QDate& from, const QDate& to, const QDate& today);
  QDate from() const;  // null when its box is unchecked
  QDate to() const;
  // Whether the days make an era: false while the last day is before the first.
  bool acceptable() const;

  QCheckBox* FromCheck = nullptr;  // 開始日から集計する
  QDateEdit* FromDate = nullptr;
  QCheckBox* ToCheck = nullptr;  // 終了日まで
  QDateEdit* ToDate = nullptr;
  QLabel* lblEraError = nullptr;   // why OK is greyed: "終了日が開始日より前です。"
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // キャンセル

 public:
  void accept() override;  // not while the days make no era (Enter included)

 private:
  void check();  // OK and the reason as the days stand
};

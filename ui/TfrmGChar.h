#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "グラフ表示の方法": the hit and miss characters of the text charts. Each field
// holds at most one single-byte character. Created once and kept.
class TfrmGChar : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmGChar(QWidget* parent = nullptr);

  void setMarks(const QString& hit, const QString& miss);
  QString hitText() const;  // the field's text, possibly empty
  QString missText() const;

  QLineEdit* edtHit = nullptr;
  QLineEdit* edtMiss = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
};

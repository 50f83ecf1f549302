#pragma once

#include <QSpinBox>

// A spin box that takes any number typed and brings one out of its range to
// the nearer bound when the typing ends (300 in a box of 0 to 255 becomes
// 255). Qt's own box refuses the key that would leave the range, so typing
// 300 there shows 30.
class BoundedSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  explicit BoundedSpinBox(QWidget* parent = nullptr);

 protected:
  QValidator::State validate(QString& text, int& position) const override;
  void fixup(QString& text) const override;
};

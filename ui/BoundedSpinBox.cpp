#include "ui/BoundedSpinBox.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Optional sign and up to nine digits: a number, in range or not.
bool isNumber(const QString& text, qint64* value) {
  static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d{1,9}\\s*$"));
  if (!number.match(text).hasMatch()) return false;
  *value = text.trimmed().toLongLong();
  return true;
}

}  // namespace

BoundedSpinBox::BoundedSpinBox(QWidget* parent) : QSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State BoundedSpinBox::validate(QString& text, int& position) const {
  const QValidator::State state = QSpinBox::validate(text, position);
  if (state != QValidator::Invalid) return state;
  qint64 value = 0;
  const QString trimmed = text.trimmed();
  const bool signOnly = trimmed == u'-' || trimmed == u'+';
  return signOnly || isNumber(text, &value) ? QValidator::Intermediate : QValidator::Invalid;
}

void BoundedSpinBox::fixup(QString& text) const {
  qint64 value = 0;
  if (isNumber(text, &value)) {
    text = textFromValue(static_cast<int>(std::clamp<qint64>(value, minimum(), maximum())));
    return;
  }
  QSpinBox::fixup(text);
}

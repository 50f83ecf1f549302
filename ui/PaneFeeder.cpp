#include "ui/PaneFeeder.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

PaneFeeder::PaneFeeder(QPlainTextEdit* pane) : QObject(pane), pane_(pane) {}

void PaneFeeder::fill(const QStringList& lines) {
  ++generation_;
  rest_.clear();
  pane_->setUpdatesEnabled(false);
  if (lines.size() <= 2 * PieceLines) {
    pane_->setPlainText(lines.join(u'\n'));
  } else {
    pane_->setPlainText(lines.mid(0, PieceLines).join(u'\n'));
    rest_ = lines.mid(PieceLines);
    next_ = 0;
    scheduleNextPiece();
  }
  pane_->setUpdatesEnabled(true);
}

void PaneFeeder::clear() {
  ++generation_;
  rest_.clear();
  pane_->clear();
}

void PaneFeeder::complete() {
  while (appendNextPiece()) {
  }
}

QString PaneFeeder::text() {
  complete();
  return pane_->toPlainText();
}

void PaneFeeder::scheduleNextPiece() {
  const int generation = generation_;
  QTimer::singleShot(0, this, [this, generation] {
    if (generation_ == generation && appendNextPiece()) scheduleNextPiece();
  });
}

bool PaneFeeder::appendNextPiece() {
  if (next_ >= rest_.size()) return false;
  const qsizetype count = std::min<qsizetype>(PieceLines, rest_.size() - next_);
  QTextCursor end(pane_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(u'\n' + rest_.mid(next_, count).join(u'\n'));
  next_ += count;
  if (next_ < rest_.size()) return true;
  rest_.clear();
  next_ = 0;
  return false;
}

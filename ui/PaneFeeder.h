#pragma once

#include <QObject>
#include <QStringList>

class QPlainTextEdit;

// Puts a view's lines into its text pane. The pane is hidden from painting
// while its text is replaced. A long text (the averages of single runs can
// have a line per run) shows its first lines at once and receives the rest in
// pieces between events, so the window never freezes for long; anything that
// reads the whole pane completes it first. A new fill or a clear drops what
// was left to append.
class PaneFeeder : public QObject {
 public:
  explicit PaneFeeder(QPlainTextEdit* pane);

  void fill(const QStringList& lines);
  void clear();
  void complete();  // appends at once whatever is left
  QString text();   // the whole text, completed first

  static constexpr qsizetype PieceLines = 40000;

 private:
  void scheduleNextPiece();
  bool appendNextPiece();  // true while more remains

  QPlainTextEdit* pane_;
  QStringList rest_;
  qsizetype next_ = 0;
  int generation_ = 0;
};

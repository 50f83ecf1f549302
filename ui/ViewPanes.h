#pragma once

#include <QPoint>
#include <QStringList>

#include <array>
#include <optional>

#include "analysis/View.h"

class PaneFeeder;
class QPlainTextEdit;

// The tab views' text panes as the passes fill them: each fed in pieces
// (PaneFeeder), and scrolled back to where the user left it when a live
// reload fills it again.
class ViewPanes {
 public:
  explicit ViewPanes(const std::array<QPlainTextEdit*, ViewCount>& panes);

  void fill(View view, const QStringList& lines);  // back where it was kept, if it was
  void clear();                                    // every pane
  bool isEmpty(View view) const;
  void complete(View view);  // appends at once whatever is left to append
  QString text(View view);   // the whole text, completed first

  void keepScrolls();    // of every pane with text that keeps none yet: a live reload fills them again
  void forgetScrolls();  // the next fills show their panes from the top

 private:
  std::array<QPlainTextEdit*, ViewCount> panes_;
  std::array<PaneFeeder*, ViewCount> feeders_{};
  std::array<std::optional<QPoint>, ViewCount> kept_{};
};

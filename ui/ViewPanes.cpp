#include "ui/ViewPanes.h"

#include <QPlainTextEdit>
#include <QScrollBar>

#include "ui/PaneFeeder.h"

ViewPanes::ViewPanes(const std::array<QPlainTextEdit*, ViewCount>& panes) : panes_(panes) {
  for (std::size_t view = 0; view < panes_.size(); ++view) feeders_[view] = new PaneFeeder(panes_[view]);
}

void ViewPanes::fill(View view, const QStringList& lines) {
  feeders_[view]->fill(lines);
  if (const std::optional<QPoint> kept = std::exchange(kept_[view], std::nullopt)) {
    panes_[view]->horizontalScrollBar()->setValue(kept->x());
    panes_[view]->verticalScrollBar()->setValue(kept->y());
  }
}

void ViewPanes::clear() {
  for (PaneFeeder* feeder : feeders_) feeder->clear();
}

bool ViewPanes::isEmpty(View view) const { return panes_[view]->document()->isEmpty(); }

void ViewPanes::complete(View view) { feeders_[view]->complete(); }

QString ViewPanes::text(View view) { return feeders_[view]->text(); }

void ViewPanes::keepScrolls() {
  for (std::size_t view = 0; view < panes_.size(); ++view) {
    const QPlainTextEdit* pane = panes_[view];
    if (!pane->document()->isEmpty() && !kept_[view])
      kept_[view] = QPoint(pane->horizontalScrollBar()->value(), pane->verticalScrollBar()->value());
  }
}

void ViewPanes::forgetScrolls() { kept_ = {}; }

#pragma once

#include <QDate>
#include <QWidget>

#include "calendar/CalendarColors.h"
#include "calendar/CalendarLayout.h"

class PracticeCalendar;

// The heat map as a widget, for a scroll area: its size is the layout's, it
// paints what is exposed, shows a day's figures as its hint and says which
// day was clicked.
class CalendarMapView : public QWidget {
  Q_OBJECT
 public:
  explicit CalendarMapView(QWidget* parent = nullptr);

  // The calendar to show (kept by the caller while shown), with the years from
  // its first day (or today) to today.
  void setCalendar(const PracticeCalendar* calendar);
  const CalendarLayout& layout() const { return layout_; }
  // The widest the map may be: smaller squares where the font's would not fit
  // (CalendarLayout::Metrics); 0 for no limit.
  void setWidthLimit(int width);
  QSize sizeHint() const override { return layout_.size(); }

 Q_SIGNALS:
  void dayClicked(QDate date);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void relayout();

  const PracticeCalendar* calendar_ = nullptr;
  CalendarLayout layout_;
  CalendarColors colors_;
  int widthLimit_ = 0;
};

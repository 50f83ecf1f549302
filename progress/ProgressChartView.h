#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "analysis/ProgressSeries.h"
#include "progress/ProgressColumns.h"

// The progress chart: every run of the range as a point (hits over time) with
// the trailing mean and the best so far over them, and below, on the same time
// axis, the miss rate with its own trailing mean. Times are day counts
// (ProgressRun::when). Each pixel column draws a few points at most, however
// many runs fall into it. The wheel zooms around the cursor, a left drag pans,
// a right drag (or Ctrl with the left button) zooms into the dragged stretch,
// a double-click or Home shows the whole range again; the hint names the run
// nearest the cursor.
class ProgressChartView : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressChartView(QWidget* parent = nullptr);

  struct TimeRange {
    double from = 0, to = 1;
    bool operator==(const TimeRange&) const = default;
  };

  // The points to draw (in series order) and the runs their means go over;
  // shows their whole range: `span` (the days of a chosen range) or, without
  // one, the runs' own time with a little room on either side.
  void setPoints(std::vector<ProgressPoint> points, int window, std::optional<TimeRange> span = std::nullopt);
  // The same with the points that `fill` writes into the memory of the last
  // ones: opened again on a million runs, no 40 MB is given back and taken anew.
  void setPoints(const std::function<void(std::vector<ProgressPoint>&)>& fill, int window,
                 std::optional<TimeRange> span = std::nullopt);
  const std::vector<ProgressPoint>& points() const { return points_; }
  TimeRange wholeRange() const { return whole_; }
  TimeRange visibleRange() const { return visible_; }
  // Held within the whole range and at least a minute wide.
  void setVisibleRange(TimeRange range);
  void showWholeRange();
  // Narrows (factor < 1) or widens the visible range, keeping time `at` where it is on the screen.
  void zoom(double factor, double at);

  // Paints the chart into `area` of any painter (the widget, a picture, a benchmark).
  void paintChart(QPainter& painter, const QRect& area) const;
  // The chart as shown, at the widget's size.
  QImage picture() const;
  // The hint for the run nearest `position` (none when no run is near).
  std::optional<QString> hintAt(QPoint position) const;
  // `like` in a Japanese font, for texts that mix Japanese with digits and
  // signs: a font without Japanese would draw them in another font than the
  // words around them. The hints and the window's change line use it.
  static QFont japaneseFont(const QFont& like);

  QSize sizeHint() const override { return {720, 440}; }
  QSize minimumSizeHint() const override { return {240, 180}; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Where the two plots lie and what their axes span.
  struct Scales {
    QRect hits, miss;
    double hitsLow = 0, hitsHigh = 1, missLow = 0, missHigh = 1;  // the miss rate in percent
  };
  Scales paintInto(QPainter& painter, const QRect& area) const;
  double timeAtPixel(int x) const;  // on the plots of the last paint
  void pointsChanged(int window, std::optional<TimeRange> span);

  std::vector<ProgressPoint> points_;
  std::vector<double> times_;  // each point's when(), for the walks
  bool sorted_ = true;         // times_ never goes back: the visible runs are one stretch
  int window_ = 1;
  TimeRange whole_, visible_;
  mutable ProgressColumns columns_;  // the visible runs per pixel column, kept while the range stays
  std::optional<Scales> shown_;      // the scales of the last paint of the widget, for the hint

  enum class Drag { None, Pan, Zoom };
  Drag drag_ = Drag::None;
  QPoint pressed_, dragged_;
  TimeRange pressedRange_;
};

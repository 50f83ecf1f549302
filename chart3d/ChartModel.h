#pragma once

#include "chart3d/ChartTypes.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace chart3d {

// What the chart shows besides the bars; the renderer reads it as is.
struct ChartAppearance {
  QStringList titleLines;
  // The title lines' font and colour; an empty family or a size of 0 takes
  // the chart's own font (the size a fifth larger).
  QString titleFontFamily;
  int titlePixelSize = 0;
  bool titleBold = true;
  Rgb titleColour = DarkGrey;
  bool legendVisible = true;  // one entry per series: its title and colour
  bool view3D = true;
  int depthPercent = 20;
  Rgb bottomWall = White;
  Rgb leftWall = LightYellow;
  bool gradientBackground = true;
  QString hint;  // the tooltip
};

// The chart component without a window: series and their points, the two
// axes, paging and zoom. The widget draws what this holds (through
// ChartGeometry), turns mouse gestures into zoom()/undoZoom() and repaints
// after every change it makes.
//
// Bottom axis: automatic (all positions, or the current page's positions when
// paging) until a range is set or it is scrolled; from then on manual, and the
// page number no longer moves it. Left axis: 0 to the largest stacked total of
// all points, whatever is visible; manual only while zoomed.
class ChartModel {
 public:
  using Handler = std::function<void()>;

  static constexpr int LeftAxisIncrement = 50;
  static constexpr int BottomAxisIncrement = 1;
  static constexpr int ZoomSteps = 12;

  ChartAppearance& appearance() { return appearance_; }
  const ChartAppearance& appearance() const { return appearance_; }
  void setTitleLine(int line, const QString& text);

  // Series. Returns the new series' index.
  int addSeries(BarSeries series);
  int seriesCount() const { return static_cast<int>(series_.size()); }
  const BarSeries& series(int index) const { return series_.at(index); }
  // Appends a point at position = the series' point count before the call.
  void add(int series, double value, const QString& label);
  void clear(int series);
  void setBarStyle(int series, BarStyle style);
  void setMarksVisible(int series, bool visible);

  // Stacking: where a series' bar at a position starts and ends in axis units
  // (a series without a point there has an empty bar at its base).
  double stackedBase(int series, int position) const;
  double stackedTop(int series, int position) const;
  int pointCount() const;  // the longest series' point count

  // Bottom axis.
  AxisRange bottomAxisRange() const;
  bool bottomAxisIsManual() const { return manualBottom_.has_value(); }
  void setBottomAxisRange(AxisRange range);
  void setBottomAxisMinimum(double minimum);
  void setBottomAxisMaximum(double maximum);
  void scrollBottomAxis(double offset);         // moves both ends, no limit checks
  QString bottomAxisLabel(int position) const;  // the first series' point label

  // Left axis.
  AxisRange leftAxisRange() const;
  double largestStackedTotal() const;

  // Paging. setMaxPointsPerPage throws std::invalid_argument below 0.
  int maxPointsPerPage() const { return maxPointsPerPage_; }
  void setMaxPointsPerPage(int pointsPerPage);
  int pageCount() const;
  int page() const { return page_; }
  void setPage(int page);  // kept within 1..pageCount()
  void previousPage() { setPage(page_ - 1); }
  void nextPage() { setPage(page_ + 1); }

  // Zoom. zoom() returns the ZoomSteps axis rectangles the widget plays in
  // order (the last is `target`) and leaves the axes at `target`; it saves the
  // axes only when not zoomed. undoZoom() restores them once and raises the
  // undo-zoom handler on every call.
  std::vector<AxisRect> zoom(const AxisRect& target);
  void undoZoom();
  bool isZoomed() const { return savedAxes_.has_value(); }

  void setPageChangeHandler(Handler handler) { onPageChange_ = std::move(handler); }
  void setZoomHandler(Handler handler) { onZoom_ = std::move(handler); }
  void setUndoZoomHandler(Handler handler) { onUndoZoom_ = std::move(handler); }

 private:
  struct SavedAxes {
    std::optional<AxisRange> manualBottom;
    std::optional<AxisRange> manualLeft;
  };

  BarSeries& seriesAt(int index) { return series_.at(index); }
  double valueAt(int series, int position) const;
  AxisRange automaticBottomRange() const;
  void keepPageInRange();
  static void raise(const Handler& handler);

  ChartAppearance appearance_;
  std::vector<BarSeries> series_;
  std::optional<AxisRange> manualBottom_;
  std::optional<AxisRange> manualLeft_;  // only while zoomed
  std::optional<SavedAxes> savedAxes_;   // present while zoomed
  int maxPointsPerPage_ = 0;
  int page_ = 1;
  Handler onPageChange_;
  Handler onZoom_;
  Handler onUndoZoom_;
};

}  // namespace chart3d

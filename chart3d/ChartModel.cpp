#include "chart3d/ChartModel.h"

#include <algorithm>
#include <stdexcept>

namespace chart3d {

namespace {

double between(double from, double to, double fraction) { return from + (to - from) * fraction; }

AxisRange between(const AxisRange& from, const AxisRange& to, double fraction) {
  return {between(from.minimum, to.minimum, fraction), between(from.maximum, to.maximum, fraction)};
}

AxisRect between(const AxisRect& from, const AxisRect& to, double fraction) {
  return {between(from.bottom, to.bottom, fraction), between(from.left, to.left, fraction)};
}

}  // namespace

void ChartModel::setTitleLine(int line, const QString& text) {
  while (appearance_.titleLines.size() <= line) appearance_.titleLines.append(QString());
  appearance_.titleLines[line] = text;
}

int ChartModel::addSeries(BarSeries series) {
  series_.push_back(std::move(series));
  return seriesCount() - 1;
}

void ChartModel::add(int series, double value, const QString& label) {
  seriesAt(series).points.push_back({value, label});
}

void ChartModel::clear(int series) {
  seriesAt(series).points.clear();
  keepPageInRange();
}

void ChartModel::setBarStyle(int series, BarStyle style) { seriesAt(series).style = style; }

void ChartModel::setMarksVisible(int series, bool visible) { seriesAt(series).marksVisible = visible; }

double ChartModel::valueAt(int series, int position) const {
  const std::vector<BarPoint>& points = series_.at(series).points;
  if (position < 0 || position >= static_cast<int>(points.size())) return 0;
  return points[position].value;
}

double ChartModel::stackedBase(int series, int position) const {
  if (!series_.at(series).stacked) return 0;
  double base = 0;
  for (int earlier = 0; earlier < series; ++earlier)
    if (series_[earlier].stacked) base += valueAt(earlier, position);
  return base;
}

double ChartModel::stackedTop(int series, int position) const {
  return stackedBase(series, position) + valueAt(series, position);
}

int ChartModel::pointCount() const {
  std::size_t longest = 0;
  for (const BarSeries& s : series_) longest = std::max(longest, s.points.size());
  return static_cast<int>(longest);
}

AxisRange ChartModel::automaticBottomRange() const {
  const int count = pointCount();
  if (maxPointsPerPage_ > 0) {
    const int first = (page_ - 1) * maxPointsPerPage_;
    return {double(first), double(first + maxPointsPerPage_ - 1)};
  }
  return {0, double(std::max(count - 1, 0))};
}

AxisRange ChartModel::bottomAxisRange() const { return manualBottom_.value_or(automaticBottomRange()); }

void ChartModel::setBottomAxisRange(AxisRange range) { manualBottom_ = range; }

void ChartModel::setBottomAxisMinimum(double minimum) {
  AxisRange range = bottomAxisRange();
  range.minimum = minimum;
  manualBottom_ = range;
}

void ChartModel::setBottomAxisMaximum(double maximum) {
  AxisRange range = bottomAxisRange();
  range.maximum = maximum;
  manualBottom_ = range;
}

void ChartModel::scrollBottomAxis(double offset) {
  const AxisRange range = bottomAxisRange();
  manualBottom_ = AxisRange{range.minimum + offset, range.maximum + offset};
}

QString ChartModel::bottomAxisLabel(int position) const {
  if (series_.empty()) return {};
  const std::vector<BarPoint>& points = series_.front().points;
  if (position < 0 || position >= static_cast<int>(points.size())) return {};
  return points[position].label;
}

double ChartModel::largestStackedTotal() const {
  double largest = 0;
  const int count = pointCount();
  for (int s = 0; s < seriesCount(); ++s)
    for (int position = 0; position < count; ++position) largest = std::max(largest, stackedTop(s, position));
  return largest;
}

AxisRange ChartModel::leftAxisRange() const { return manualLeft_.value_or(AxisRange{0, largestStackedTotal()}); }

void ChartModel::setMaxPointsPerPage(int pointsPerPage) {
  if (pointsPerPage < 0) throw std::invalid_argument("MaxPointsPerPage は 0 以上でなければなりません");
  maxPointsPerPage_ = pointsPerPage;
  keepPageInRange();
}

int ChartModel::pageCount() const {
  if (maxPointsPerPage_ == 0) return 1;
  const int count = pointCount();
  const int fullPages = count / maxPointsPerPage_;
  const int pages = count % maxPointsPerPage_ == 0 ? fullPages : fullPages + 1;
  return std::max(pages, 1);
}

void ChartModel::setPage(int page) {
  const int kept = std::clamp(page, 1, pageCount());
  if (kept == page_) return;
  page_ = kept;
  raise(onPageChange_);
}

void ChartModel::keepPageInRange() { setPage(page_); }

std::vector<AxisRect> ChartModel::zoom(const AxisRect& target) {
  const AxisRect from{bottomAxisRange(), leftAxisRange()};
  if (!savedAxes_) savedAxes_ = SavedAxes{manualBottom_, manualLeft_};
  std::vector<AxisRect> steps;
  steps.reserve(ZoomSteps);
  for (int step = 1; step < ZoomSteps; ++step) steps.push_back(between(from, target, double(step) / ZoomSteps));
  steps.push_back(target);
  manualBottom_ = target.bottom;
  manualLeft_ = target.left;
  raise(onZoom_);
  return steps;
}

void ChartModel::undoZoom() {
  if (savedAxes_) {
    manualBottom_ = savedAxes_->manualBottom;
    manualLeft_ = savedAxes_->manualLeft;
    savedAxes_.reset();
  }
  raise(onUndoZoom_);
}

void ChartModel::raise(const Handler& handler) {
  if (handler) handler();
}

}  // namespace chart3d

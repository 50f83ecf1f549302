#pragma once

#include <QString>

#include "analysis/ChartInput.h"
#include "settings/ChartOptions.h"
#include "widgets/SideWindow.h"

class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class QSlider;
class QSpinBox;
class QToolBar;
class QToolButton;
class Chart3DView;
class SettingsFile;

// The 3D chart window: the points behind the main window's active tab as
// stacked bars (hits blue, misses red), a page of N points at a time. The
// track bar and the four page buttons move the visible window over the
// points, the spin box sets N, a dragged rectangle zooms and the undo button
// (or the chart's own gesture) undoes it. Position, size and the display
// options are given as ChartOptions and handed back when the window closes
// (the shell SideWindow places it, keeps them and reports errors, also of an
// option that cannot be applied).
// Modal and short-lived: made, exec()ed and destroyed on each opening.
class Tfrm3DGraph : public SideWindowOf<ChartOptions> {
  Q_OBJECT
 public:
  static constexpr int HelpContext = 10002;  // F1 opens its help page

  // What the window shows: the points of the main window's active tab and
  // their title; no points on the tabs that have none.
  using Input = ChartInput;

  // Opens at `options`; `saver` (if any) is handed the options as they are on closing.
  Tfrm3DGraph(ChartOptions options, Input input, OptionsSaver saver, QWidget* parent = nullptr,
              ErrorReporter reporter = {});
  // The same with the options of `settings` (the defaults for the screen without one), saved back to it.
  Tfrm3DGraph(SettingsFile* settings, Input input, QWidget* parent = nullptr, ErrorReporter reporter = {});

  // Handlers, under their design names.
  void FormResize();
  void RecordAdd();
  void BarStyleSet();
  void coBarStyleChange();
  void cbLegendClick();
  void cb3DClick();
  void cbMarkerClick();
  void TrackBar1Change();
  void btFirstClick();
  void btPrevClick();
  void btNextClick();
  void btLastClick();
  void SpinEdit1Change();
  void MinChartPageChange();
  void MinChartZoom();
  void MinChartUndoZoom();
  void btUndoZoomClick();
  void btCloseClick();

  // The design title of the chart, kept on the tabs without points.
  static QString designTitle();
  static constexpr int ToolBarHeight = 22;
  static constexpr int TrackBarHeight = 25;
  static constexpr int BarStyleCount = 7;

  // Components, under their design names.
  QToolBar* ToolBar1 = nullptr;
  QComboBox* coBarStyle = nullptr;
  QToolButton* ToolButton4 = nullptr;
  QToolButton* btFirst = nullptr;
  QToolButton* btPrev = nullptr;
  QToolButton* btNext = nullptr;
  QToolButton* btLast = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QToolButton* btClose = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* cbLegend = nullptr;
  QAction* cb3D = nullptr;
  QAction* cbMarker = nullptr;
  Chart3DView* MinChart = nullptr;
  int HitSeries = 0;  // series index in MinChart's model
  int MissSeries = 1;
  QSlider* TrackBar1 = nullptr;
  QPushButton* btUndoZoom = nullptr;

  // Window state: the main window's point count field (points + 1; 0 on the
  // tabs without points) and the track-bar position last scrolled to.
  int PointCount = 0;
  int LastPosition = 0;

  // N < P: more points than fit on a page.
  bool pagingLayout() const;

 protected:
  ChartOptions ownOptions() const override;  // the display options
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

 private:
  void buildToolBar();
  void buildChart();
  void FormCreate(const ChartOptions& options);
  void FormClose();
  void setTrackPosition(int position);  // from code: raises no change event
  void setSpinValue(int value);         // from code: raises SpinEdit1Change when the text changes
  void setChartHeight(int height);
  void applyPagingLayout();
  void setPageButtonsEnabled(bool enabled);
  void applyLegend(bool visible);
  void apply3D(bool on);
  void setMarksVisible(bool visible);
  void refreshChart();

  Input input_;
  QAction* spinEditAction_ = nullptr;
  bool settingsWritten_ = false;
};

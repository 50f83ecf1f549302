#pragma once

#include <QDate>
#include <QImage>
#include <QString>

#include <span>
#include <vector>

#include "analysis/ProgressSeries.h"
#include "settings/ProgressOptions.h"
#include "widgets/SideWindow.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class ProgressChartView;
class SettingsFile;

// The progress chart window: every run of the mode in the chosen range as a
// point with its trailing mean and the best so far, the miss rate below, and
// beside them the range's figures and the change against the range before.
// Non-modal; it is given the runs, the main window's mode, the no-miss option
// and today, and its place, range and mean's runs as ProgressOptions, which it
// hands back whenever it is hidden. It knows no other window; it opens beside
// its parent (the shell SideWindow places it and keeps its options).
class ProgressWindow : public SideWindowOf<ProgressOptions> {
  Q_OBJECT
 public:
  static constexpr int HelpContext = 17000;  // F1 opens its help page

  ProgressWindow(ProgressOptions options, OptionsSaver saver, QWidget* parent = nullptr, ErrorReporter reporter = {});
  // The same with the options of `settings` (none: the first place and size), saved back to it.
  explicit ProgressWindow(SettingsFile* settings, QWidget* parent = nullptr, ErrorReporter reporter = {});

  // The runs shown until the next call (the caller keeps them), the mode of
  // the main window (one past the modes: every mode), the no-miss option,
  // today and the era the runs are of (the range before must lie inside it).
  void setRuns(std::span<const PracticeRecord* const> runs, PracticeMode mode, bool noMiss, QDate today,
               const EraDays& era = {});

  // What the runs are: the record file's name and the era the main window
  // counts ("2025/04/01 以降"; empty without one). The title names the era;
  // a saved or copied picture is headed by the mode, the range, the era and the file.
  void setSource(const QString& recordFileName, const QString& era);
  QString pictureTitle() const;

  ProgressRange range() const;
  int meanWindow() const { return window_; }
  const RangeFigures& figures() const { return figures_; }
  ProgressChartView* chart() const { return chart_; }

  QImage picture() const;                       // the chart under its title (pictureTitle)
  bool savePicture(const QString& path) const;  // the picture as a PNG file, the title also as its text
  void copyPicture() const;                     // the picture on the clipboard

 protected:
  // 960 by 600, or nine tenths of the screen where that is less.
  QSize firstSize(const WindowPlacement::Surroundings& around) override;
  ProgressOptions ownOptions() const override;  // the range and the mean's runs

 private:
  void rebuild();                   // the mode's runs anew, then the range
  void reselect(bool keepVisible);  // the range's runs, means, figures and chart
  void chooseSaveFile();
  void showRangeControls();

  std::span<const PracticeRecord* const> runs_;
  PracticeMode mode_ = ModeRomaji;
  bool noMiss_ = false;
  QString recordFileName_;
  QString eraText_;                // "2025/04/01 以降", as the title and the picture name it
  QCheckBox* allModes_ = nullptr;  // every mode's runs rather than the main window's mode
  QDate today_ = QDate::currentDate();
  EraDays era_;
  std::vector<ProgressRun> modeRuns_;
  int window_ = 10;
  RangeFigures figures_;

  QComboBox* ranges_ = nullptr;
  QSpinBox* lastRuns_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QLabel* until_ = nullptr;
  QComboBox* windows_ = nullptr;
  ProgressChartView* chart_ = nullptr;
  QLabel* shown_ = nullptr;  // the mode and option the runs are of
  QLabel* runCount_ = nullptr;
  QLabel* practiceDays_ = nullptr;
  QLabel* meanHits_ = nullptr;
  QLabel* bestHits_ = nullptr;
  QLabel* meanMissRate_ = nullptr;
  QLabel* change_ = nullptr;
};

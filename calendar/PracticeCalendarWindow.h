#pragma once

#include <QDate>
#include <QString>

#include <span>

#include "analysis/PracticeCalendar.h"
#include "settings/CalendarOptions.h"
#include "widgets/SideWindow.h"

class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;
class CalendarMapView;
class SettingsFile;

// The practice calendar: on which days the typist practised and how much, as
// a heat map per year, with the streaks and totals above it and the runs of a
// clicked day below. Non-modal; it is given the runs, the main window's mode
// and today, and its place and mode choice as CalendarOptions, which it hands
// back whenever it is hidden. It knows no other window; it opens beside its
// parent (the shell SideWindow places it and keeps its options), and lists a
// day's runs in the font it is given (the history pane's).
class PracticeCalendarWindow : public SideWindowOf<CalendarOptions> {
  Q_OBJECT
 public:
  static constexpr int HelpContext = 16000;  // F1 opens its help page

  PracticeCalendarWindow(CalendarOptions options, OptionsSaver saver, QWidget* parent = nullptr,
                         ErrorReporter reporter = {});
  // The same with the options of `settings` (none: the first place and size), saved back to it.
  explicit PracticeCalendarWindow(SettingsFile* settings, QWidget* parent = nullptr, ErrorReporter reporter = {});

  // The runs shown until the next call (the caller keeps them), the mode of
  // the main window and today.
  void setRuns(std::span<const PracticeRecord* const> runs, PracticeMode mode, QDate today);
  // The era the main window counts ("2025/04/01 以降"; empty without one), named in the title.
  void setEra(const QString& era);

  const PracticeCalendar& calendar() const { return calendar_; }
  bool allModes() const;
  int calendarWidth() const;  // the window's width that shows a whole year without scrolling sideways
  int yearHeight() const;     // the window's height that shows a whole year's block without scrolling
  // The font of the list of a day's runs, whose columns line up in a fixed-pitch font.
  void setRunsFont(const QFont& font);

 protected:
  // One that shows a whole year, at most nine tenths of the screen wide.
  QSize firstSize(const WindowPlacement::Surroundings& around) override;
  CalendarOptions ownOptions() const override;  // the mode choice

 private:
  void rebuild();
  void showDay(QDate date);
  void copyDayRuns();

  std::span<const PracticeRecord* const> runs_;
  PracticeMode mode_ = ModeRomaji;
  QDate today_;
  PracticeCalendar calendar_;
  QDate shownDay_;

  QLabel* figures_ = nullptr;
  QComboBox* modes_ = nullptr;
  QLabel* legend_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  CalendarMapView* map_ = nullptr;
  QLabel* dayTitle_ = nullptr;
  QListWidget* dayRuns_ = nullptr;
};

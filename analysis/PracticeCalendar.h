#pragma once

#include <QDate>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "records/PracticeRecord.h"

// One day with practice.
struct PracticeDay {
  QDate date;
  int runs = 0;
  int bestHits = 0;
  double averageHits = 0;
  double averageMisses = 0;
  bool personalBest = false;  // a run of the day beat its mode's best so far (in file order)
};

// Consecutive days with practice; no days: both dates invalid.
struct PracticeStreak {
  int days = 0;
  QDate first;
  QDate last;
};

// The practice days of a record file, for one mode or for all modes: which
// days had runs, how many and how good, the streaks of consecutive days and
// the busiest day. Built in one pass over the runs (in any date order); today
// is given, never read from the clock. A calendar refers to nothing after it
// is built, except `runsOn`, which reads the runs it is given.
class PracticeCalendar {
 public:
  // `mode`: the runs of that mode; std::nullopt: every run. Runs with a date
  // that is no valid day are left out.
  static PracticeCalendar build(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                QDate today);

  std::optional<PracticeMode> mode() const { return mode_; }
  QDate today() const { return today_; }

  const std::vector<PracticeDay>& days() const { return days_; }  // oldest first
  const PracticeDay* day(QDate date) const;                       // nullptr: no practice that day

  // The runs of a day that this calendar counts (its mode, or all), in file order.
  static std::vector<const PracticeRecord*> runsOn(std::span<const PracticeRecord* const> runs,
                                                   std::optional<PracticeMode> mode, QDate date);

  // Up to today, or up to yesterday while today has no run yet; else none.
  // Days after today (a clock set back) do not count towards it.
  PracticeStreak currentStreak() const { return current_; }
  // The longest; among equal ones the latest.
  PracticeStreak longestStreak() const { return longest_; }
  int practiceDaysIn(int year) const;
  int practiceDays() const { return static_cast<int>(days_.size()); }
  std::int64_t totalRuns() const { return totalRuns_; }
  // Most runs; among equal days the earliest. nullptr without any practice.
  const PracticeDay* busiestDay() const;

  // The colour step of a day's square: 0 no practice; 1 to 4 by its number of
  // runs against the practice days' quartiles (1: up to the lower quartile, 4:
  // above the upper).
  //
  // The quartiles are nearest-rank values of the practice days' run counts in
  // ascending order: with n days the lower quartile is the count at rank
  // ceil(n / 4), the median at ceil(n / 2), the upper quartile at ceil(3n / 4)
  // (ranks from 1). A count up to the lower quartile is step 1, up to the
  // median 2, up to the upper quartile 3, above it 4. When every practice day
  // has the same count (one day alone included), or there is no day to compare
  // with, the quartiles tell nothing: any positive count is step 4, so that a
  // steady typist's days show in the full colour.
  int level(int runs) const;
  static constexpr int Levels = 5;

 private:
  void summarize();  // the totals, the quartiles and the streaks of days_

  std::optional<PracticeMode> mode_;
  QDate today_;
  std::vector<PracticeDay> days_;
  PracticeStreak current_;
  PracticeStreak longest_;
  std::int64_t totalRuns_ = 0;
  int busiest_ = -1;                // index into days_
  std::array<int, 3> quartiles_{};  // runs at the lower quartile, the median, the upper quartile
  bool evenDays_ = true;            // every practice day has the same number of runs
};

#include "analysis/PracticeCalendar.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "records/DayCount.h"

namespace {

// Practice days up to this many days apart are tallied in one array indexed by
// the day (at most about 360 years, 4 MB); a wider range, such as a year
// mistyped as 9999, goes to a hash map instead.
constexpr std::int64_t DenseDayLimit = std::int64_t{1} << 17;

constexpr std::int64_t NoDay = INT64_MIN;

// A run's day as days since 1970-01-01, NoDay when its parts make no valid
// date. Runs of one day follow one another in most files, so the day of the
// last parts asked for is kept.
class DayKeys {
 public:
  std::int64_t of(const PracticeRecord& r) {
    const std::uint32_t parts = std::uint32_t{r.Year} << 16 | std::uint32_t{r.Month} << 8 | r.Day;
    if (parts != lastParts_) {
      lastParts_ = parts;
      lastKey_ = dayOf(r.Year, r.Month, r.Day);
    }
    return lastKey_;
  }

 private:
  static std::int64_t dayOf(int year, int month, int day) {
    // QDate's calendar: proleptic Gregorian without a year 0.
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DayCount::daysInMonth(year, month)) return NoDay;
    return DayCount::daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  }

  std::uint32_t lastParts_ = 0;  // year 0, month 0, day 0: no date
  std::int64_t lastKey_ = NoDay;
};

struct Tally {
  std::int64_t hits = 0;
  std::int64_t misses = 0;
  int runs = 0;
  int bestHits = 0;
  bool personalBest = false;
};

// The runs a calendar counts: one mode's, or every run (`only` < 0).
int onlyMode(std::optional<PracticeMode> mode) { return mode ? int{*mode} : -1; }

// The tallies by day: an array from the earliest day seen to the latest,
// widened as days outside it come (by at least its own length, so that a file
// in date order widens it a few times only), or a hash map once the days lie
// too far apart for an array.
class DayTallies {
 public:
  Tally& operator[](std::int64_t key) {
    if (sparse_) return (*sparse_)[key];
    if (key < first_ || key - first_ >= std::ssize(dense_)) widen(key);
    return sparse_ ? (*sparse_)[key] : dense_[static_cast<std::size_t>(key - first_)];
  }

  // The days with runs, oldest first.
  std::vector<std::pair<std::int64_t, Tally>> days() const {
    std::vector<std::pair<std::int64_t, Tally>> days;
    if (sparse_) {
      days.assign(sparse_->begin(), sparse_->end());
      std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    } else {
      for (std::size_t i = 0; i < dense_.size(); ++i)
        if (dense_[i].runs > 0) days.emplace_back(first_ + static_cast<std::int64_t>(i), dense_[i]);
    }
    return days;
  }

 private:
  void widen(std::int64_t key) {
    const std::int64_t size = std::ssize(dense_);
    if (size == 0) {
      first_ = key;
      dense_.resize(1);
      return;
    }
    const std::int64_t low = std::min(first_, key);
    const std::int64_t high = std::max(first_ + size - 1, key);
    if (high - low >= DenseDayLimit) {
      sparse_.emplace();
      for (std::size_t i = 0; i < dense_.size(); ++i)
        if (dense_[i].runs > 0) sparse_->emplace(first_ + static_cast<std::int64_t>(i), dense_[i]);
      dense_ = {};
      return;
    }
    const std::int64_t from = key < first_ ? std::max(high - DenseDayLimit + 1, std::min(low, first_ - size)) : low;
    const std::int64_t to =
        key < first_ ? high : std::min(low + DenseDayLimit - 1, std::max(high, first_ + 2 * size - 1));
    std::vector<Tally> wider(static_cast<std::size_t>(to - from + 1));
    std::copy(dense_.begin(), dense_.end(), wider.begin() + (first_ - from));
    dense_ = std::move(wider);
    first_ = from;
  }

  std::int64_t first_ = 0;
  std::vector<Tally> dense_;
  std::optional<std::unordered_map<std::int64_t, Tally>> sparse_;
};

PracticeDay dayOf(std::int64_t key, const Tally& t) {
  PracticeDay day;
  day.date = QDate::fromJulianDay(key + DayCount::JulianDayOf1970);
  day.runs = t.runs;
  day.bestHits = t.bestHits;
  day.averageHits = static_cast<double>(t.hits) / t.runs;
  day.averageMisses = static_cast<double>(t.misses) / t.runs;
  day.personalBest = t.personalBest;
  return day;
}

bool follows(const PracticeDay& day, const PracticeDay& before) {
  return day.date.toJulianDay() == before.date.toJulianDay() + 1;
}

}  // namespace

PracticeCalendar PracticeCalendar::build(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                         QDate today) {
  PracticeCalendar calendar;
  calendar.mode_ = mode;
  calendar.today_ = today;
  const int only = onlyMode(mode);

  // One walk over the runs in file order, whatever the order of their dates:
  // no run is sorted. A run is a personal best when its hits beat every
  // earlier run of its mode, the first run of a mode included; a run without a
  // valid date still sets the best the later runs are measured against, as in
  // the record history.
  std::array<int, 256> best{};  // by mode code
  DayKeys keys;
  DayTallies tallies;
  for (const PracticeRecord* r : runs) {
    if (only >= 0 && r->Mode != only) continue;
    const bool record = r->Hits > best[r->Mode];
    if (record) best[r->Mode] = r->Hits;
    const std::int64_t key = keys.of(*r);
    if (key == NoDay) continue;
    Tally& t = tallies[key];
    ++t.runs;
    t.hits += r->Hits;
    t.misses += r->Misses;
    t.bestHits = std::max(t.bestHits, int{r->Hits});
    t.personalBest = t.personalBest || record;
  }

  const auto days = tallies.days();
  if (days.empty()) return calendar;
  calendar.days_.reserve(days.size());
  for (const auto& [key, tally] : days) calendar.days_.push_back(dayOf(key, tally));
  calendar.summarize();
  return calendar;
}

void PracticeCalendar::summarize() {
  std::vector<int> counts;
  counts.reserve(days_.size());
  for (std::size_t i = 0; i < days_.size(); ++i) {
    const PracticeDay& d = days_[i];
    totalRuns_ += d.runs;
    counts.push_back(d.runs);
    if (busiest_ < 0 || d.runs > days_[static_cast<std::size_t>(busiest_)].runs) busiest_ = static_cast<int>(i);
  }

  // Nearest rank: the quartile k (1 to 3) of n counts is the one at rank ceil(k n / 4).
  std::sort(counts.begin(), counts.end());
  const std::size_t n = counts.size();
  for (std::size_t k = 1; k <= 3; ++k) quartiles_[k - 1] = counts[(k * n + 3) / 4 - 1];
  evenDays_ = counts.front() == counts.back();

  // The longest streak; a later one of equal length replaces the earlier.
  std::size_t start = 0;
  for (std::size_t i = 0; i < days_.size(); ++i) {
    if (i > 0 && !follows(days_[i], days_[i - 1])) start = i;
    const int length = static_cast<int>(i - start + 1);
    if (length >= longest_.days) longest_ = {length, days_[start].date, days_[i].date};
  }

  // The current streak ends today, or yesterday while today has no run.
  if (!today_.isValid()) return;
  auto end = std::lower_bound(days_.begin(), days_.end(), today_,
                              [](const PracticeDay& d, QDate date) { return d.date < date; });
  if (end == days_.end() || end->date != today_) {
    if (end == days_.begin() || std::prev(end)->date != today_.addDays(-1)) return;
    --end;
  }
  auto begin = end;
  while (begin != days_.begin() && follows(*begin, *std::prev(begin))) --begin;
  current_ = {static_cast<int>(end - begin) + 1, begin->date, end->date};
}

const PracticeDay* PracticeCalendar::day(QDate date) const {
  const auto found = std::lower_bound(days_.begin(), days_.end(), date,
                                      [](const PracticeDay& d, QDate wanted) { return d.date < wanted; });
  return found != days_.end() && found->date == date ? &*found : nullptr;
}

std::vector<const PracticeRecord*> PracticeCalendar::runsOn(std::span<const PracticeRecord* const> runs,
                                                            std::optional<PracticeMode> mode, QDate date) {
  std::vector<const PracticeRecord*> found;
  if (!date.isValid() || date.year() < 1 || date.year() > 0xFFFF) return found;
  const int only = onlyMode(mode);
  const auto year = static_cast<std::uint16_t>(date.year());
  const auto month = static_cast<std::uint8_t>(date.month());
  const auto dayOfMonth = static_cast<std::uint8_t>(date.day());
  for (const PracticeRecord* r : runs)
    if ((only < 0 || r->Mode == only) && r->Year == year && r->Month == month && r->Day == dayOfMonth)
      found.push_back(r);
  return found;
}

int PracticeCalendar::practiceDaysIn(int year) const {
  const auto from =
      std::partition_point(days_.begin(), days_.end(), [year](const PracticeDay& d) { return d.date.year() < year; });
  const auto to =
      std::partition_point(from, days_.end(), [year](const PracticeDay& d) { return d.date.year() == year; });
  return static_cast<int>(to - from);
}

const PracticeDay* PracticeCalendar::busiestDay() const {
  return busiest_ < 0 ? nullptr : &days_[static_cast<std::size_t>(busiest_)];
}

int PracticeCalendar::level(int runs) const {
  if (runs <= 0) return 0;
  if (evenDays_) return Levels - 1;
  if (runs <= quartiles_[0]) return 1;
  if (runs <= quartiles_[1]) return 2;
  if (runs <= quartiles_[2]) return 3;
  return 4;
}

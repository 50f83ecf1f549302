#include "tools/RecordFileGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// splitmix64: small, fast and the same on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  int between(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }
  // Sum of uniforms: close enough to a normal distribution and portable.
  double normal() {
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += uniform();
    return sum - 6.0;
  }

 private:
  std::uint64_t state_;
};

struct Skill {
  double startHits;
  double ceilingHits;
  double hitsPace;  // runs until two thirds of the way
  double startMisses;
  double finalMisses;
  double missPace;
};

constexpr std::array<Skill, PracticeModeCount> Skills = {{
    {90, 330, 600, 28, 6, 700},   // alphabet
    {70, 260, 500, 30, 8, 600},   // kana
    {110, 380, 800, 25, 5, 900},  // romaji
    {40, 170, 400, 35, 10, 500},  // symbols
}};

PracticeMode pickMode(Random& random, const std::array<double, PracticeModeCount>& shares) {
  double roll = random.uniform();
  for (int mode = 0; mode < PracticeModeCount; ++mode) {
    roll -= shares[static_cast<std::size_t>(mode)];
    if (roll < 0) return static_cast<PracticeMode>(mode);
  }
  return ModeRomaji;
}

GeneratedRun practise(Random& random, PracticeMode mode, int practised) {
  const Skill& s = Skills[mode];
  const double hitsNow = s.startHits + (s.ceilingHits - s.startHits) * (1 - std::exp(-practised / s.hitsPace));
  const double missesNow = s.finalMisses + (s.startMisses - s.finalMisses) * std::exp(-practised / s.missPace);
  GeneratedRun run;
  run.mode = mode;
  run.hits = std::clamp(static_cast<int>(std::lround(hitsNow + random.normal() * hitsNow * 0.08)), 1, 999);
  run.misses = std::clamp(static_cast<int>(std::lround(missesNow + random.normal() * missesNow * 0.35)), 0, 999);
  return run;
}

double dayCountOf(const DayCount::CivilDate& date) {
  return DayCount::encodeDate(date.year, date.month, date.day).value_or(0);
}

int secondsOf(const DayCount::ClockTime& time) { return time.hour * 3600 + time.min * 60 + time.sec; }

DayCount::ClockTime clockOf(int seconds) { return {seconds / 3600, seconds / 60 % 60, seconds % 60}; }

// Moves the practice days so that the first run's falls on `from` and the last
// run's on `to` (runs of a single day all fall on `to`), the days between spread evenly (or squeezed) and whole days
// kept; the runs stay in time order: a run that a squeeze puts on one day
// with runs of a later session than its own is given a time a minute after
// the run before it (at most 23:59:59).
void spreadDays(std::vector<GeneratedRun>& runs, double from, double to) {
  const double first = dayCountOf(runs.front().date);
  const double last = dayCountOf(runs.back().date);
  const double scale = last > first ? (to - from) / (last - first) : 0;
  double previousDay = -1;
  int previousSeconds = -1;
  for (GeneratedRun& run : runs) {
    // Runs of one day only go to `to`, the newest day.
    const double day = last > first ? from + std::round((dayCountOf(run.date) - first) * scale) : to;
    run.date = DayCount::decodeDate(day);
    int seconds = secondsOf(run.time);
    if (day == previousDay && seconds <= previousSeconds) seconds = std::min(previousSeconds + 60, 86399);
    run.time = clockOf(seconds);
    previousDay = day;
    previousSeconds = seconds;
  }
}

}  // namespace

std::string formatRecordLine(const GeneratedRun& run) {
  static constexpr std::array<char, PracticeModeCount> Letters = {'A', static_cast<char>(0xB1), 'R', '!'};
  char line[64];
  const int length = std::snprintf(line, sizeof line, "%c %04d/%02d/%02d  %02d:%02d:%02d  HIT = %3d  MISS= %3d\r\n",
                                   Letters[run.mode % PracticeModeCount], run.date.year, run.date.month, run.date.day,
                                   run.time.hour, run.time.min, run.time.sec, run.hits, run.misses);
  return std::string(line, static_cast<std::size_t>(std::max(length, 0)));
}

std::vector<GeneratedRun> generateRuns(const GeneratorOptions& options) {
  Random random(options.seed);
  std::vector<GeneratedRun> runs;
  runs.reserve(static_cast<std::size_t>(std::max(options.runs, 0)));
  std::array<int, PracticeModeCount> practised{};
  double day = dayCountOf(options.start);

  while (static_cast<int>(runs.size()) < options.runs) {
    // Most days bring a session; now and then a break of a few days.
    if (random.uniform() < 0.08) day += random.between(2, 9);
    const int sessionRuns =
        random.between(options.fewestRunsADay, std::max(options.fewestRunsADay, options.mostRunsADay));
    int seconds = random.between(6 * 3600, 21 * 3600);
    const DayCount::CivilDate date = DayCount::decodeDate(day);
    for (int i = 0; i < sessionRuns && static_cast<int>(runs.size()) < options.runs; ++i) {
      const PracticeMode mode = pickMode(random, options.modeShares);
      GeneratedRun run = practise(random, mode, practised[mode]++);
      run.date = date;
      run.time = {seconds / 3600, seconds / 60 % 60, seconds % 60};
      runs.push_back(run);
      seconds = std::min(seconds + random.between(sessionRuns > 20 ? 10 : 70, sessionRuns > 20 ? 60 : 400), 86399);
    }
    day += 1;
  }

  if (options.finalRecord && !runs.empty()) {
    GeneratedRun record = runs.back();
    record.mode = ModeRomaji;  // the viewer's first mode
    int best = 0;
    for (const GeneratedRun& run : runs)
      if (run.mode == record.mode) best = std::max(best, run.hits);
    record.hits = std::min(best + 3, 999);
    record.misses = std::min(record.misses, 3);
    const int seconds = std::min(record.time.hour * 3600 + record.time.min * 60 + record.time.sec + 150, 86399);
    record.time = {seconds / 3600, seconds / 60 % 60, seconds % 60};
    runs.push_back(record);
  }

  if (runs.empty()) return runs;
  // The days the runs take, inside the years the data file holds.
  const double earliest = dayCountOf(EarliestDay);
  const double latest = dayCountOf(LatestDay);
  double first = std::clamp(dayCountOf(runs.front().date), earliest, latest);
  double last = dayCountOf(runs.back().date);
  if (options.newestDay) {
    const double newest = std::clamp(dayCountOf(*options.newestDay), earliest, latest);
    if (!options.keepStart || newest < first) first = std::max(first + newest - last, earliest);  // moved whole
    last = newest;
  }
  last = std::clamp(last, first, latest);
  if (first != dayCountOf(runs.front().date) || last != dayCountOf(runs.back().date)) spreadDays(runs, first, last);
  return runs;
}

std::string recordFileBytes(const std::vector<GeneratedRun>& runs) {
  std::string bytes;
  bytes.reserve(runs.size() * 46);
  for (const GeneratedRun& run : runs) bytes += formatRecordLine(run);
  return bytes;
}

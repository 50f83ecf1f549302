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

  if (options.newestDay && !runs.empty()) {
    const double newest = dayCountOf(*options.newestDay);
    const double first = dayCountOf(runs.front().date);
    const double last = dayCountOf(runs.back().date);
    if (options.keepStart && newest >= first && last > first) {
      const double scale = (newest - first) / (last - first);
      for (GeneratedRun& run : runs)
        run.date = DayCount::decodeDate(first + std::round((dayCountOf(run.date) - first) * scale));
    } else {
      const double shift = newest - last;
      for (GeneratedRun& run : runs) run.date = DayCount::decodeDate(dayCountOf(run.date) + shift);
    }
  }
  return runs;
}

std::string recordFileBytes(const std::vector<GeneratedRun>& runs) {
  std::string bytes;
  bytes.reserve(runs.size() * 46);
  for (const GeneratedRun& run : runs) bytes += formatRecordLine(run);
  return bytes;
}

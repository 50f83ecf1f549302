// Writes a record file of a made-up typist in TAPPER's layout.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QCoreApplication>
#include <QFile>

#include "tools/RecordFileGenerator.h"

namespace {

constexpr const char* Usage =
    "usage: hoko32-sample [--seed N] [--runs N] [--start YYYY-MM-DD] [--newest YYYY-MM-DD] [--final-record] OUTPUT\n"
    "\n"
    "Writes a record file of a made-up typist in TAPPER's layout (46-byte lines,\n"
    "Shift-JIS): several runs on most days, breaks of days, hits rising and misses\n"
    "falling with practice. The same seed always gives the same file. The runs are\n"
    "in time order and fall in the years 1900 to 2155, which the viewer's data file\n"
    "holds: runs that would reach beyond are squeezed into fewer days.\n"
    "\n"
    "  --seed N              the random seed (default 1)\n"
    "  --runs N              how many runs (default 3000)\n"
    "  --start YYYY-MM-DD    the day of the first run (default 2021-04-01)\n"
    "  --newest YYYY-MM-DD   the day of the newest run; with --start, the practice\n"
    "                        days are spread from the one day to the other\n"
    "  --final-record        end with a romaji run that beats that mode's best\n"
    "  -h, --help            this text\n"
    "\n"
    "Exit status: 0 written; 1 the file cannot be written; 2 usage error.\n";

int usageError(const char* why) {
  std::fprintf(stderr, "hoko32-sample: %s\n%s", why, Usage);
  return 2;
}

// A date of the years the data file holds.
bool parseDate(const char* text, DayCount::CivilDate& date) {
  char rest = 0;
  return std::sscanf(text, "%d-%d-%d%c", &date.year, &date.month, &date.day, &rest) == 3 &&
         date.year >= EarliestDay.year && date.year <= LatestDay.year &&
         DayCount::encodeDate(date.year, date.month, date.day).has_value();
}

// A whole number from 0 up, and nothing else.
bool parseCount(const char* text, unsigned long long& value) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  const char* output = nullptr;
  int outputIndex = 0;
  bool startGiven = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    const bool hasValue = i + 1 < argc;
    unsigned long long number = 0;
    if (!std::strcmp(argument, "-h") || !std::strcmp(argument, "--help")) {
      std::fputs(Usage, stdout);
      return 0;
    } else if (!std::strcmp(argument, "--seed") && hasValue) {
      if (!parseCount(argv[++i], number)) return usageError("--seed needs a whole number");
      options.seed = number;
    } else if (!std::strcmp(argument, "--runs") && hasValue) {
      if (!parseCount(argv[++i], number) || number > 100'000'000)
        return usageError("--runs needs a whole number up to 100000000");
      options.runs = static_cast<int>(number);
    } else if (!std::strcmp(argument, "--start") && hasValue) {
      if (!parseDate(argv[++i], options.start)) return usageError("--start needs a date YYYY-MM-DD from 1900 to 2155");
      startGiven = true;
    } else if (!std::strcmp(argument, "--newest") && hasValue) {
      DayCount::CivilDate newest{};
      if (!parseDate(argv[++i], newest)) return usageError("--newest needs a date YYYY-MM-DD from 1900 to 2155");
      options.newestDay = newest;
    } else if (!std::strcmp(argument, "--final-record")) {
      options.finalRecord = true;
    } else if (argument[0] != '-' && !output) {
      output = argument;
      outputIndex = i;
    } else {
      return usageError(argument[0] == '-' ? "unknown option or missing value" : "only one output file");
    }
  }
  if (!output) return usageError("no output file given");
  if (startGiven && options.newestDay) {
    const auto& s = options.start;
    const auto& n = *options.newestDay;
    if (*DayCount::encodeDate(n.year, n.month, n.day) < *DayCount::encodeDate(s.year, s.month, s.day))
      return usageError("--newest is before --start");
    options.keepStart = true;
  }

  const std::string bytes = recordFileBytes(generateRuns(options));
  // The output's name as typed: argv holds it in the system's code page, which
  // on Windows cannot spell every name (a "*.ｷﾛｸ" on a Western system).
  const QCoreApplication application(argc, argv);
  QFile file(QCoreApplication::arguments().at(outputIndex));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
      !file.flush()) {
    std::fprintf(stderr, "hoko32-sample: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

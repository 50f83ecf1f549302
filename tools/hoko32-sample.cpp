// Writes a record file of a made-up typist in TAPPER's layout.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/RecordFileGenerator.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: hoko32-sample [--seed N] [--runs N] [--start YYYY-MM-DD] [--newest YYYY-MM-DD] [--final-record] OUTPUT\n");
  return 2;
}

bool parseDate(const char* text, DayCount::CivilDate& date) {
  return std::sscanf(text, "%d-%d-%d", &date.year, &date.month, &date.day) == 3 &&
         DayCount::encodeDate(date.year, date.month, date.day).has_value();
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (!std::strcmp(argv[i], "--seed") && hasValue) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (!std::strcmp(argv[i], "--runs") && hasValue) {
      options.runs = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--start") && hasValue) {
      if (!parseDate(argv[++i], options.start)) return usage();
    } else if (!std::strcmp(argv[i], "--newest") && hasValue) {
      DayCount::CivilDate newest{};
      if (!parseDate(argv[++i], newest)) return usage();
      options.newestDay = newest;
    } else if (!std::strcmp(argv[i], "--final-record")) {
      options.finalRecord = true;
    } else if (argv[i][0] != '-' && !output) {
      output = argv[i];
    } else {
      return usage();
    }
  }
  if (!output || options.runs < 0) return usage();

  const std::string bytes = recordFileBytes(generateRuns(options));
  std::FILE* file = std::fopen(output, "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
    std::fprintf(stderr, "hoko32-sample: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

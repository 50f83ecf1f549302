#include "MillionRuns.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "records/RecordLoader.h"
#include "settings/SettingsFile.h"
#include "tools/RecordFileGenerator.h"

namespace {

void writeFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace

MillionRuns& MillionRuns::instance() {
  static MillionRuns runs;
  return runs;
}

MillionRuns::MillionRuns() {
  GeneratorOptions options;
  options.seed = 42;
  options.runs = Runs + AppendedRuns;
  options.start = {1995, 1, 1};
  options.fewestRunsADay = 60;  // thirty years of very keen practice
  options.mostRunsADay = 120;
  options.modeShares = {0.25, 0.25, 0.25, 0.25};
  const std::string all = recordFileBytes(generateRuns(options));
  writeFile(recordPath(), all.substr(0, static_cast<std::size_t>(Runs) * 46));
  writeFile(appendedPath(), all);

  SilentFeedback quiet;
  SettingsFile settings(settingsPath());
  RecordLoader loader(settings, quiet);
  loader.load(recordPath(), loaded_);  // writes the data file
  QFile::copy(RecordLoader::dataFilePathFor(recordPath()), RecordLoader::dataFilePathFor(appendedPath()));
  dataBytes_ = QFile(RecordLoader::dataFilePathFor(recordPath())).size();
}

std::int64_t countLinesWithMemchr(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  static char buffer[64 * 1024];
  std::int64_t lines = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
    const char* p = buffer;
    const char* end = buffer + got;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
      ++lines;
      ++p;
    }
  }
  ::close(fd);
  return lines;
}

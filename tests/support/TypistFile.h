#pragma once

#include <QString>

#include "records/DayCount.h"
#include "support/TempDir.h"
#include "tools/RecordFileGenerator.h"

// Writes "typist.ｷﾛｸ", a generated typist's record file whose newest run is on
// 2024-06-30 (never the day a test runs), and returns its path.
inline QString writeTypistFile(const TempDir& dir, int runs) {
  GeneratorOptions options;
  options.runs = runs;
  options.newestDay = DayCount::CivilDate{2024, 6, 30};
  return dir.write(QStringLiteral("typist.ｷﾛｸ"), QByteArray::fromStdString(recordFileBytes(generateRuns(options))));
}

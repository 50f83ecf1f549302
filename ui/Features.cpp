#include "ui/Features.h"

#include "calendar/CalendarFeature.h"
#include "celebration/CelebrationFeature.h"
#include "chart3d/Chart3DFeature.h"
#include "era/EraFeature.h"
#include "export/ExportFeature.h"
#include "progress/ProgressFeature.h"

MainFeatures makeFeatures(const QString& programFolder, const QString& workingFolder) {
  MainFeatures features;
  auto celebration = std::make_unique<CelebrationFeature>(programFolder, workingFolder);
  features.celebration = celebration.get();
  features.all.push_back(std::move(celebration));  // first of the options menu's
  features.all.push_back(std::make_unique<ExportFeature>());
  features.all.push_back(std::make_unique<Chart3DFeature>());
  features.all.push_back(std::make_unique<CalendarFeature>());
  features.all.push_back(std::make_unique<ProgressFeature>());
  features.all.push_back(std::make_unique<EraFeature>());
  return features;
}

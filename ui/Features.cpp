#include "ui/Features.h"

#include "calendar/CalendarFeature.h"
#include "chart3d/Chart3DFeature.h"
#include "era/EraFeature.h"
#include "export/ExportFeature.h"
#include "progress/ProgressFeature.h"

std::vector<std::unique_ptr<Feature>> makeFeatures() {
  std::vector<std::unique_ptr<Feature>> features;
  features.push_back(std::make_unique<ExportFeature>());
  features.push_back(std::make_unique<Chart3DFeature>());
  features.push_back(std::make_unique<CalendarFeature>());
  features.push_back(std::make_unique<ProgressFeature>());
  features.push_back(std::make_unique<EraFeature>());
  return features;
}

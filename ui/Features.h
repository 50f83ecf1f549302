#pragma once

#include <memory>
#include <vector>

#include "feature/Feature.h"

class CelebrationFeature;

// The features beside the tab views, in the order of their menu items and buttons.
struct MainFeatures {
  std::vector<std::unique_ptr<Feature>> all;
  CelebrationFeature* celebration = nullptr;  // one of them: the banner of a new best record
};

// The fanfare's default is in the program's folder, the banner pictures in the working folder.
MainFeatures makeFeatures(const QString& programFolder, const QString& workingFolder);

#pragma once

#include <memory>
#include <vector>

#include "feature/Feature.h"

// The features beside the tab views, in the order of their menu items and tool bar buttons.
std::vector<std::unique_ptr<Feature>> makeFeatures();

#pragma once

#include "feature/Feature.h"

// The era as a feature: ｵﾌﾟｼｮﾝ → 集計の開始日... asks for the era's first and
// last day (EraDialog) and sets it on the session, which tells the main
// window and the open side windows; the views then count only its runs.
class EraFeature : public Feature {
 public:
  EraFeature();
  void open(const FeatureHost& host) override;  // Era1Click
};

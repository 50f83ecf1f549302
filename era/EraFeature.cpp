#include "era/EraFeature.h"

#include "era/EraDialog.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {FeatureItem(FeatureMenu::Option, u"Era1"_s, u"集計の開始日...(&E)"_s)};
  return d;
}

}  // namespace

EraFeature::EraFeature() : Feature(declared()) {}

void EraFeature::open(const FeatureHost& host) {
  EraDialog dialog(host.window);
  const ViewSettings& s = host.session->settings();
  dialog.setEra(s.eraFrom, s.eraTo, host.session->today());
  if (dialog.exec() != QDialog::Accepted) return;
  host.session->setEra(dialog.from(), dialog.to());
  host.saveSettings();
}

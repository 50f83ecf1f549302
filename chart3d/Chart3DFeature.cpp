#include "chart3d/Chart3DFeature.h"

#include "chart3d/Tfrm3DGraph.h"
#include "settings/OptionTable.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {
      FeatureItem(FeatureMenu::Show, u"Graph2"_s, u"３Ｄグラフ...(&3)"_s, u"Ctrl+G"_s, FeatureItem::Kind::Command,
                  true),
      FeatureItem(FeatureMenu::Show, u"Show3DGraph"_s, u"起動時に3Dグラフ表示"_s, {}, FeatureItem::Kind::StartOption)};
  d.button = FeatureButton(u"GraphButton"_s, u"3Dｸﾞﾗﾌ"_s, 12, 13);
  d.settingsSections = {SettingsKeys::ChartForm, SettingsKeys::ChartOption};
  d.helpTopic = Tfrm3DGraph::HelpContext;
  return d;
}

}  // namespace

Chart3DFeature::Chart3DFeature() : Feature(declared()) {}

void Chart3DFeature::open(const FeatureHost& host) {
  const int view = host.activeView();
  const ChartInput input = view >= 0 && view < ViewCount ? host.session->chartInput(View(view)) : ChartInput{};
  Tfrm3DGraph chart(host.settings, input, host.window, host.reportError);
  chart.exec();
}

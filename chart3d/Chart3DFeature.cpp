#include "chart3d/Chart3DFeature.h"

#include "chart3d/Tfrm3DGraph.h"
#include "settings/OptionTable.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

Chart3DFeature::Chart3DFeature()
    : Feature(
          {.items = {{.menu = FeatureMenu::Show,
                      .name = u"Graph2"_s,
                      .caption = u"３Ｄグラフ...(&3)"_s,
                      .shortcut = u"Ctrl+G"_s,
                      .chartedViewsOnly = true},
                     {.menu = FeatureMenu::Show,
                      .name = u"Show3DGraph"_s,
                      .caption = u"起動時に3Dグラフ表示"_s,
                      .kind = FeatureItem::Kind::StartOption}},
           .button = FeatureButton{.name = u"GraphButton"_s, .hint = u"3Dｸﾞﾗﾌ"_s, .picture = 12, .disabledPicture = 13},
           .settingsSections = {SettingsKeys::ChartForm, SettingsKeys::ChartOption},
           .helpTopic = 10002}) {}

void Chart3DFeature::open(const FeatureHost& host) {
  const int view = host.activeView();
  const ChartInput input = view >= 0 && view < ViewCount ? host.session->chartInput(View(view)) : ChartInput{};
  Tfrm3DGraph chart(host.settings, input, host.window, host.reportError);
  chart.exec();
}

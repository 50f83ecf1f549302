#include "progress/ProgressFeature.h"

#include "progress/ProgressWindow.h"
#include "settings/OptionTable.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {FeatureItem(FeatureMenu::Show, u"Progress1"_s, u"進歩グラフ(&P)"_s, u"Ctrl+P"_s)};
  d.settingsSections = {SettingsKeys::Progress};
  d.helpTopic = ProgressWindow::HelpContext;
  d.follows = {ViewerSession::Change::Load, ViewerSession::Change::Reload, ViewerSession::Change::Mode,
               ViewerSession::Change::NoMiss, ViewerSession::Change::Era};
  return d;
}

}  // namespace

ProgressFeature::ProgressFeature() : Feature(declared()) {}

void ProgressFeature::open(const FeatureHost& host) {
  if (!window_) {
    window_ = new ProgressWindow(host.settings, host.window, host.reportError);
    follow(host, window_, [this, host] { update(host); });
  }
  window_->show();  // placed before its first chart is painted
  update(host);
  window_->raise();
  window_->activateWindow();
}

void ProgressFeature::update(const FeatureHost& host) {
  const ViewerSession& session = *host.session;
  window_->setSource(session.recordName(), session.eraText());
  window_->setRuns(session.calendarRuns(), session.calendarMode(), session.noMiss(), session.today(),
                   session.eraDays());
}

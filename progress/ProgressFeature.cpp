#include "progress/ProgressFeature.h"

#include "progress/ProgressWindow.h"
#include "settings/OptionTable.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

ProgressFeature::ProgressFeature()
    : Feature({.items = {{.menu = FeatureMenu::Show,
                          .name = u"Progress1"_s,
                          .caption = u"進歩グラフ(&P)"_s,
                          .shortcut = u"Ctrl+P"_s}},
               .settingsSections = {SettingsKeys::Progress},
               .helpTopic = 17000,
               .follows = {ViewerSession::Change::Load, ViewerSession::Change::Reload, ViewerSession::Change::Mode,
                           ViewerSession::Change::NoMiss, ViewerSession::Change::Era}}) {}

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

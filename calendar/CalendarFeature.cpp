#include "calendar/CalendarFeature.h"

#include <QComboBox>

#include "calendar/PracticeCalendarWindow.h"
#include "settings/OptionTable.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {FeatureItem(FeatureMenu::Show, u"Calendar1"_s, u"練習カレンダー(&K)"_s, u"Ctrl+Y"_s)};
  d.button = FeatureButton(u"CalendarButton"_s, u"練習カレンダー"_s, 14);
  d.settingsSections = {SettingsKeys::Calendar};
  d.helpTopic = PracticeCalendarWindow::HelpContext;
  d.follows = {ViewerSession::Change::Load, ViewerSession::Change::Reload, ViewerSession::Change::Mode,
               ViewerSession::Change::Era};
  return d;
}

}  // namespace

CalendarFeature::CalendarFeature() : Feature(declared()) {}

void CalendarFeature::open(const FeatureHost& host) {
  if (!window_) {
    window_ = new PracticeCalendarWindow(host.settings, host.window, host.reportError);
    follow(host, window_, [this, host] { update(host); });
    // An export of the calendar counts the modes as the window shows them.
    host.session->setCalendarAllModes(window_->allModes());
    QObject::connect(window_->findChild<QComboBox*>(u"cbModes"_s), &QComboBox::currentIndexChanged, window_,
                     [this, session = host.session] { session->setCalendarAllModes(window_->allModes()); });
  }
  window_->setRunsFont(host.runsFont());
  window_->show();  // placed before its first calendar is laid out
  update(host);
  window_->raise();
  window_->activateWindow();
}

void CalendarFeature::update(const FeatureHost& host) {
  const ViewerSession& session = *host.session;
  window_->setEra(session.eraText());
  window_->setRuns(session.calendarRuns(), session.calendarMode(), session.today());
}

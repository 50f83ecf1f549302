#include "celebration/CelebrationFeature.h"

#include <QFileInfo>

#include "celebration/BannerAnimation.h"
#include "celebration/TfrmOiwai.h"
#include "celebration/TfrmOiwaiCfg.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

Feature::Declaration declared() {
  Feature::Declaration d;
  d.items = {FeatureItem(FeatureMenu::Option, u"KM1"_s, u"お祝いの設定...(&O)"_s, u"Ctrl+O"_s)};
  d.settingsKeys = {u"Fanfare"_s,       u"OiwaiMessage"_s,   u"OiwaiFontName"_s,
                    u"OiwaiFontSize"_s, u"OiwaiFontColor"_s, u"OiwaiBmpPattern"_s};
  d.helpTopic = 10009;
  return d;
}

// The celebration windows' reports, in the program's message boxes.
CelebrationReporter reporterOf(const FeatureHost& host) {
  return [host](QWidget* parent, const CelebrationReport& report) {
    (report.error ? host.reportError : host.showMessage)(parent, report.text);
  };
}

}  // namespace

CelebrationFeature::CelebrationFeature(QString programFolder, QString workingFolder)
    : Feature(declared()),
      programFolder_(std::move(programFolder)),
      pictureMax_(ViewerSession::bannerPictureCount(workingFolder)) {}

void CelebrationFeature::open(const FeatureHost& host) {
  if (!dialog_) {
    dialog_ = new TfrmOiwaiCfg(host.window);
    dialog_->setReporter(reporterOf(host));
  }
  dialog_->setValues(fanfare_, message_, font_, fontColor_);
  if (dialog_->exec() != QDialog::Accepted) return;
  fanfare_ = dialog_->fanfare();
  message_ = dialog_->message();
  font_ = dialog_->pendingFont();
  fontColor_ = dialog_->pendingFontColor();
  host.saveSettings();
}

void CelebrationFeature::celebrate(const FeatureHost& host, const QString& modeName, int best) {
  TfrmOiwai banner(programFolder_, *host.settings, host.window);
  banner.RecordLine = celebration::BannerAnimation::recordLineText(modeName, static_cast<quint16>(best));
  banner.MessageLine = message_;
  banner.bannerFont = font_;
  banner.bannerFontColor = fontColor_;
  banner.setPictureMax(pictureMax_);
  banner.setSoundFile(QFileInfo(fanfare_).isFile() ? fanfare_ : QString());
  host.loadingWindow->hide();
  banner.exec();
  const CelebrationReporter report = reporterOf(host);
  for (const CelebrationReport& each : banner.reports()) report(host.window, each);
}

void CelebrationFeature::applyOptions(const MainOptions& o, const std::function<QColor(SettingsColor)>& resolve) {
  fanfare_ = o.fanfare;
  message_ = o.oiwaiMessage;
  font_.setFamily(o.oiwaiFontName);
  font_.setPointSize(std::max(o.oiwaiFontSize, 1));
  fontColor_ = resolve(o.oiwaiFontColor);
}

void CelebrationFeature::storeOptions(MainOptions& o, const std::function<SettingsColor(const QColor&)>& encode) const {
  o.fanfare = fanfare_;
  o.oiwaiMessage = message_;
  o.oiwaiFontName = font_.family();
  o.oiwaiFontSize = font_.pointSize();
  o.oiwaiFontColor = encode(fontColor_);
}

#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

#include "feature/Feature.h"
#include "settings/Options.h"

class TfrmOiwaiCfg;

// The celebration as a feature: ｵﾌﾟｼｮﾝ → お祝いの設定... edits the fanfare,
// the message and the banner's font (TfrmOiwaiCfg); a new best record shows
// the banner (TfrmOiwai) with them and the next of the banner pictures.
class CelebrationFeature : public Feature {
 public:
  // The fanfare's default is in the program's folder; the banner pictures
  // "Oiwai<N>.bmp" are counted in the working folder.
  CelebrationFeature(QString programFolder, QString workingFolder);

  void open(const FeatureHost& host) override;  // KM1Click

  // The banner for a new best record, modal: the pass waits until it has closed.
  void celebrate(const FeatureHost& host, const QString& modeName, int best);

  // Its values of the main options, colours as this desktop shows them.
  void applyOptions(const MainOptions& options, const std::function<QColor(SettingsColor)>& resolve);
  void storeOptions(MainOptions& options, const std::function<SettingsColor(const QColor&)>& encode) const;

 private:
  QString programFolder_;
  int pictureMax_ = 0;  // how many banner pictures there are
  QString fanfare_;
  QString message_;
  QFont font_;
  QColor fontColor_;
  TfrmOiwaiCfg* dialog_ = nullptr;  // made on first use, kept with its last folder and font
};

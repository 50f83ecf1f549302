#pragma once

#include <QString>

#include "feature/Feature.h"
#include "viewer/ViewerSession.h"

// The export as a feature: ﾌｧｲﾙ → エクスポート... saves every run, the
// practice calendar's days or the active view's data for the current mode and
// options as a CSV or JSON file, through the same code as the report tool.
// The file is replaced only once the save dialog has asked, and then as a
// whole; the record file, its data file and the settings file are never
// replaced. One export runs at a time.
class ExportFeature : public Feature {
 public:
  ExportFeature();
  void open(const FeatureHost& host) override;  // ExportClick

 private:
  // Says in a message box why the target is refused when it is the record
  // file, its data file or the settings file, under any name or link.
  static bool refusesExportTarget(const FeatureHost& host, const QString& path);
  static void writeExport(const FeatureHost& host, const QString& path, ViewerSession::ExportRequest request);
};

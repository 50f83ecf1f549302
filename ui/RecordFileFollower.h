#pragma once

#include <QObject>

#include <functional>

#include "viewer/ViewerCore.h"

class LoadingFeedback;
class LoadScheduler;
class QAction;
class RecordFileWatcher;
class ViewerSession;
class ViewPanes;

// Follows the loaded record file while the option 自動再読み込み is on: watches
// it and, when it has grown or been replaced, loads it again in the load
// scheduler's turn (quietly when runs were only added). Mode, tab and where
// each pane was scrolled stay as the user left them; the active view is
// computed again, the other panes when their tab is shown, as after any load.
class RecordFileFollower : public QObject {
 public:
  struct Parts {
    ViewerSession* session = nullptr;
    LoadScheduler* loads = nullptr;
    LoadingFeedback* feedback = nullptr;
    ViewPanes* panes = nullptr;
    const QAction* option = nullptr;  // AutoReload1
    std::function<void()> recompute;  // the active tab's pass
    std::function<bool()> closing;    // the window is closing: no more reloads
  };
  RecordFileFollower(QObject* parent, Parts parts);

  void follow();                         // after a load, and when the option changes: watches the file or stops
  void reload(ViewerCore::Reload kind);  // also one that waited for its turn

 private:
  Parts parts_;
  RecordFileWatcher* watcher_;
};

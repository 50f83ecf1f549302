#pragma once

#include <QObject>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

#include "analysis/View.h"
#include "feature/Feature.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's menu bar, its pop-up menu and the features' tool bar
// buttons: the fixed items from one table, the features' items and buttons
// from their declarations, each item under its design name. Which items a tab
// shows is said here too; a hidden item keeps its shortcut through a
// companion key. The window connects the fixed items to its handlers; a
// feature's item or button opens the feature.
class MainMenus : public QObject {
 public:
  MainMenus(QMainWindow* window, const std::vector<std::unique_ptr<Feature>>& features, const FeatureHost& host);

  // The design names of the 実行 menu's mode items (A, K, R, !) and average items (日 ... 年).
  static const std::array<QString, PracticeModeCount> ModeItems;
  static const std::array<QString, 4> AverageItems;

  void build();                                                      // the menu bar and the pop-up menu
  void addFeatureButtons(QToolBar* toolBar);                         // after the mode buttons
  QAction* item(const QString& name) const;                          // a menu bar or pop-up item, by its design name
  QMenu* popup() const { return popup_; }                            // PopupMenu1
  void showTab(const ViewInfo& view);                                // the items and feature buttons that tab shows
  const QStringList& shortcutKeys() const { return shortcutKeys_; }  // the menus' keys, as text

 private:
  QAction* add(QMenu* menu, const QString& name, const QString& caption, const QString& shortcut);
  void addFeatureItems(QMenu* menu, FeatureMenu place);
  void addHiddenItemKeys();
  void setItemVisible(const QString& name, bool visible);

  QMainWindow* window_;
  const std::vector<std::unique_ptr<Feature>>& features_;
  const FeatureHost& host_;
  QMenu* popup_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QStringList shortcutKeys_;
};

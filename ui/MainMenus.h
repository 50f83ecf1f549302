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
class QToolButton;

// The main window's menu bar, its pop-up menu and its tool bar: the fixed
// items and buttons from tables, the features' from their declarations, each
// under its design name. Which items a tab
// shows is said here too; a hidden item keeps its shortcut through a
// companion key. The window connects the fixed items to its handlers; a
// feature's item or button opens the feature.
class MainMenus : public QObject {
 public:
  MainMenus(QMainWindow* window, const std::vector<std::unique_ptr<Feature>>& features, const FeatureHost& host);

  // The design names of the 実行 menu's mode items (A, K, R, !) and average items (日 ... 年).
  static const std::array<QString, PracticeModeCount> ModeItems;
  static const std::array<QString, 4> AverageItems;
  static const std::array<QString, PracticeModeCount> ModeButtons;  // ButtonA, ButtonK, ButtonR, ButtonE

  void build();  // the menu bar and the pop-up menu
  // ToolBar1: the record-file panel, the mode buttons, the features' buttons, the fixed buttons.
  QToolBar* buildToolBar(QWidget* recordFilePanel);
  QToolButton* button(const QString& name) const;                    // a tool bar button, by its design name
  QAction* item(const QString& name) const;                          // a menu bar or pop-up item, by its design name
  QMenu* popup() const { return popup_; }                            // PopupMenu1
  void showTab(const ViewInfo& view);                                // the items and feature buttons that tab shows
  const QStringList& shortcutKeys() const { return shortcutKeys_; }  // the menus' keys, as text

 private:
  QAction* add(QMenu* menu, const QString& name, const QString& caption, const QString& shortcut);
  void addFeatureItems(QMenu* menu, FeatureMenu place);
  void addHiddenItemKeys();
  QToolButton* addButton(const QString& name, const QString& hint, int picture);
  void setItemVisible(const QString& name, bool visible);

  QMainWindow* window_;
  const std::vector<std::unique_ptr<Feature>>& features_;
  const FeatureHost& host_;
  QMenu* popup_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QStringList shortcutKeys_;
};

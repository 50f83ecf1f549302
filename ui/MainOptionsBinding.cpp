#include "ui/MainOptionsBinding.h"

#include <QAction>
#include <QCheckBox>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "celebration/CelebrationFeature.h"
#include "ui/FontNames.h"
#include "ui/MainMenus.h"
#include "ui/RecordFilePanel.h"
#include "ui/SettingsColors.h"
#include "widgets/WindowPlacement.h"

using namespace Qt::StringLiterals;

void MainOptionsBinding::apply(const MainOptions& o) const {
  const QMargins frame = WindowPlacement::frameMarginsOf(c_.window);
  c_.window->setGeometry(WindowPlacement::fittedOnScreen(QRect(o.left, o.top, o.width, o.height).marginsAdded(frame))
                             .marginsRemoved(frame));
  if (o.windowState == 1) c_.window->setWindowState(Qt::WindowMinimized);
  if (o.windowState == 2) c_.window->setWindowState(Qt::WindowMaximized);
  c_.menus->item(u"Hint1"_s)->setChecked(o.hint);
  c_.celebration->applyOptions(o, SettingsColors::resolve);
  c_.rankCount->setValue(o.view.rankCount);
  c_.menus->item(u"Show3DGraph"_s)->setChecked(o.show3DGraph);
  c_.menus->item(u"AutoReload1"_s)->setChecked(o.autoReload);
  c_.moreMissesAbove->setChecked(o.view.moreMissesAbove);
  c_.recordFile->setText(o.recFile);
  for (std::size_t view = 0; view < c_.panes.size(); ++view) {
    const PaneFont& f = o.fonts[view];
    QPlainTextEdit* pane = c_.panes[view];
    pane->setFont(FontNames::paneFont(f.name, f.size));
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Text, SettingsColors::resolve(f.color));
    palette.setColor(QPalette::Base, SettingsColors::resolve(f.backColor));
    pane->setPalette(palette);
    if (c_.headers[view]) c_.headers[view]->setFont(pane->font());
  }
}

MainOptions MainOptionsBinding::current() const {
  MainOptions o;
  const QMainWindow* window = c_.window;
  const QRect bounds = window->isMaximized() || window->isMinimized() ? window->normalGeometry() : window->geometry();
  o.windowState = window->isMinimized() ? 1 : window->isMaximized() ? 2 : 0;
  o.width = bounds.width();
  o.height = bounds.height();
  o.left = bounds.x();
  o.top = bounds.y();
  o.hint = c_.menus->item(u"Hint1"_s)->isChecked();
  c_.celebration->storeOptions(o, SettingsColors::of);
  o.show3DGraph = c_.menus->item(u"Show3DGraph"_s)->isChecked();
  o.autoReload = c_.menus->item(u"AutoReload1"_s)->isChecked();
  for (std::size_t view = 0; view < c_.panes.size(); ++view) {
    const QPlainTextEdit* pane = c_.panes[view];
    PaneFont& f = o.fonts[view];
    f.name = pane->font().family();
    f.size = pane->font().pointSize();
    f.color = SettingsColors::of(pane->palette().color(QPalette::Text));
    f.backColor = SettingsColors::of(pane->palette().color(QPalette::Base));
  }
  return o;
}

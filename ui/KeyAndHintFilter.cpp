#include "ui/KeyAndHintFilter.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QWidget>

#include "ui/HelpSystem.h"
#include "ui/HintText.h"

KeyAndHintFilter::KeyAndHintFilter(QWidget* mainWindow, const QAction* hintOption, QStringList menuKeys,
                                   HelpSystem* help)
    : QObject(mainWindow),
      mainWindow_(mainWindow),
      hintOption_(hintOption),
      menuKeys_(std::move(menuKeys)),
      help_(help) {
  qApp->installEventFilter(this);
}

KeyAndHintFilter::~KeyAndHintFilter() { qApp->removeEventFilter(this); }

bool KeyAndHintFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip: {
      if (!hintOption_->isChecked()) return true;  // hints off
      if (!widget || widget->toolTip().isEmpty()) break;
      const auto* help = static_cast<QHelpEvent*>(event);
      QToolTip::showText(help->globalPos(),
                         wrappedHint(widget->toolTip(), QFontMetrics(QToolTip::font()), MaxHintWidth), widget);
      return true;
    }
    case QEvent::ShortcutOverride: {
      // The window sees keys first: Ctrl+C copies as the menu says, Ctrl+A picks a mode, also from a spin box.
      const auto* key = static_cast<QKeyEvent*>(event);
      if (widget && widget->window() == mainWindow_ &&
          menuKeys_.contains(QKeySequence(key->keyCombination()).toString())) {
        event->ignore();
        return true;
      }
      break;
    }
    case QEvent::KeyPress: {
      // In the main window itself F1 opens the contents (its keyPressEvent).
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget || widget->window() == mainWindow_)
        break;
      const QVariant topic = widget->window()->property("helpContext");
      if (!topic.isValid()) break;
      help_->showTopic(topic.toInt());
      return true;
    }
    default: break;
  }
  return false;
}

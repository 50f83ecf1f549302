#include "feature/Feature.h"

#include <QWidget>

#include <algorithm>

bool Feature::follows(ViewerSession::Change change) const {
  return std::ranges::find(declaration_.follows, change) != declaration_.follows.end();
}

void Feature::follow(const FeatureHost& host, QWidget* window, std::function<void()> update) const {
  QObject::connect(host.session, &ViewerSession::changed, window,
                   [this, window, update = std::move(update)](ViewerSession::Change change) {
                     if (follows(change) && window->isVisible()) update();
                   });
}

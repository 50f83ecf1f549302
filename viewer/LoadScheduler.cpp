#include "viewer/LoadScheduler.h"

#include <QTimer>

#include <algorithm>
#include <utility>

LoadScheduler::LoadScheduler(std::function<void(Request)> run, std::function<bool()> dialogOpen, QObject* parent)
    : QObject(parent), run_(std::move(run)), dialogOpen_(std::move(dialogOpen)) {}

namespace {

bool isLiveReload(LoadScheduler::Request request) {
  return request >= LoadScheduler::Request::Appended && request <= LoadScheduler::Request::Replaced;
}

}  // namespace

bool LoadScheduler::mayRunNow(Request request) {
  if (request == Request::None) return false;
  if (busy()) {
    wait(request, std::chrono::milliseconds(0));  // the end of the turn brings it on
    return false;
  }
  if (isLiveReload(request) && dialogOpen_()) {
    wait(request, DialogRetry);
    return false;
  }
  return true;
}

void LoadScheduler::forgetLiveReloads() {
  if (isLiveReload(waiting_)) waiting_ = Request::None;
}

void LoadScheduler::wait(Request request, std::chrono::milliseconds delay) {
  waiting_ = std::max(waiting_, request);
  if (busy() || catchUpScheduled_) return;
  catchUpScheduled_ = true;
  QTimer::singleShot(delay, this, [this] {
    catchUpScheduled_ = false;
    catchUp();
  });
}

void LoadScheduler::catchUp() {
  if (busy() || waiting_ == Request::None) return;  // a turn's end looks again
  run_(std::exchange(waiting_, Request::None));
}

LoadScheduler::Turn::Turn(LoadScheduler& scheduler) : scheduler_(scheduler) { ++scheduler_.turns_; }

LoadScheduler::Turn::~Turn() {
  if (--scheduler_.turns_ > 0 || scheduler_.waiting_ == Request::None || scheduler_.catchUpScheduled_) return;
  scheduler_.catchUpScheduled_ = true;
  QTimer::singleShot(0, &scheduler_, [&scheduler = scheduler_] {
    scheduler.catchUpScheduled_ = false;
    scheduler.catchUp();
  });
}

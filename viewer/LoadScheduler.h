#pragma once

#include <QObject>

#include <chrono>
#include <functional>

// Decides when the viewer's loads run: never inside one another, and a live
// reload never under an open dialog or the banner.
//
// A load shows its loading window, and the events that paint it (or that keep
// the window alive while the load waits for another program to let go of the
// data file) also deliver the watcher's signals and timers. A load asked for
// then (a live reload, a reload command, a rebuild, closing the window) is not
// run but remembered; once the load going on has ended, the strongest of those
// asked for runs, once. A live reload asked for while a dialog is open is
// looked at again until the dialog has closed.
class LoadScheduler : public QObject {
 public:
  // Weakest first: a stronger request does all a weaker one would.
  enum class Request { None, Appended, AppendedAsItIs, Replaced, Load, Rebuild, Close };

  // `run` carries out a request that waited; `dialogOpen` tells whether a
  // dialog or the banner is open.
  LoadScheduler(std::function<void(Request)> run, std::function<bool()> dialogOpen, QObject* parent = nullptr);

  // True when the request may run now (inside a Turn); false when it waits.
  bool mayRunNow(Request request);

  // A load (or anything that reads the loaded runs over events, as an export
  // does) going on: requests wait until it has ended.
  class Turn {
   public:
    explicit Turn(LoadScheduler& scheduler);
    ~Turn();
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

   private:
    LoadScheduler& scheduler_;
  };

  bool busy() const { return turns_ > 0; }
  Request waiting() const { return waiting_; }
  // A load that runs now makes the live reloads asked for before it needless.
  void forgetLiveReloads();

  // How long a live reload waits before it looks again for a closed dialog.
  static constexpr std::chrono::milliseconds DialogRetry{500};

 private:
  void wait(Request request, std::chrono::milliseconds delay);
  void catchUp();

  std::function<void(Request)> run_;
  std::function<bool()> dialogOpen_;
  int turns_ = 0;
  Request waiting_ = Request::None;
  bool catchUpScheduled_ = false;
};

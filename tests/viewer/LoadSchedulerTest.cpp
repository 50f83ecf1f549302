// Loads never run inside one another: what is asked for during a load runs
// once after it, the strongest request winning; a live reload waits for a
// dialog to close, a reload command does not.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <vector>

#include "viewer/LoadScheduler.h"

namespace {

using Request = LoadScheduler::Request;

class LoadSchedulerTest : public ::testing::Test {
 protected:
  // Runs events until `done`, however long a busy machine takes to fire the
  // scheduler's timers (a hang ends at the test program's CTest timeout).
  template <class Done>
  static void runEventsUntil(Done done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  // Runs events for `ms` milliseconds: what must not happen has had its chance.
  static void runEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication app_{argc_, argv_};
  bool dialogOpen_ = false;
  std::vector<Request> ran_;
  LoadScheduler scheduler_{[this](Request request) { ran_.push_back(request); }, [this] { return dialogOpen_; }};
};

TEST_F(LoadSchedulerTest, RequestsDuringATurnRunOnceAfterItTheStrongestWinning) {
  const struct {
    std::vector<Request> asked;
    Request runs;
  } cases[] = {
      {{Request::Appended, Request::Appended, Request::Appended}, Request::Appended},
      {{Request::Appended, Request::Replaced, Request::AppendedAsItIs}, Request::Replaced},
      {{Request::Replaced, Request::Load}, Request::Load},
      {{Request::Rebuild, Request::Appended}, Request::Rebuild},
      {{Request::Appended, Request::Close, Request::Load}, Request::Close},
  };
  for (const auto& c : cases) {
    ran_.clear();
    {
      const LoadScheduler::Turn turn(scheduler_);
      for (const Request request : c.asked) EXPECT_FALSE(scheduler_.mayRunNow(request));
      QCoreApplication::processEvents();
      EXPECT_TRUE(ran_.empty()) << "ran inside the turn";
    }
    runEventsUntil([this] { return !ran_.empty(); });
    QCoreApplication::processEvents();
    EXPECT_EQ(ran_, std::vector<Request>{c.runs});
    EXPECT_EQ(scheduler_.waiting(), Request::None);
  }
}

TEST_F(LoadSchedulerTest, NestedTurnsHoldRequestsUntilTheOuterEnds) {
  {
    const LoadScheduler::Turn outer(scheduler_);
    {
      const LoadScheduler::Turn inner(scheduler_);
      EXPECT_FALSE(scheduler_.mayRunNow(Request::Appended));
    }
    runEventsFor(300);  // events, and nothing may run
    EXPECT_TRUE(ran_.empty());
  }
  runEventsUntil([this] { return !ran_.empty(); });
  EXPECT_EQ(ran_, std::vector<Request>{Request::Appended});
}

TEST_F(LoadSchedulerTest, ALiveReloadWaitsForAnOpenDialogAReloadCommandDoesNot) {
  dialogOpen_ = true;
  EXPECT_TRUE(scheduler_.mayRunNow(Request::Load));
  EXPECT_TRUE(scheduler_.mayRunNow(Request::Rebuild));
  EXPECT_FALSE(scheduler_.mayRunNow(Request::Appended));
  EXPECT_FALSE(scheduler_.mayRunNow(Request::Replaced));
  runEventsUntil([this] { return !ran_.empty(); });  // looked at again, still open: the runner asks again
  ASSERT_FALSE(ran_.empty());
  EXPECT_EQ(ran_.front(), Request::Replaced);
  dialogOpen_ = false;
  EXPECT_TRUE(scheduler_.mayRunNow(ran_.front()));
}

TEST_F(LoadSchedulerTest, ALoadThatRunsMakesTheLiveReloadsAskedBeforeNeedless) {
  dialogOpen_ = true;
  EXPECT_FALSE(scheduler_.mayRunNow(Request::Replaced));
  scheduler_.forgetLiveReloads();
  EXPECT_EQ(scheduler_.waiting(), Request::None);
  {
    const LoadScheduler::Turn turn(scheduler_);
    EXPECT_FALSE(scheduler_.mayRunNow(Request::Rebuild));
    scheduler_.forgetLiveReloads();  // a rebuild is no live reload: it stays
  }
  runEventsUntil([this] { return !ran_.empty(); });
  QCoreApplication::processEvents(QEventLoop::AllEvents, 600);
  EXPECT_EQ(ran_, std::vector<Request>{Request::Rebuild});
}

}  // namespace

// Worker threads: the end flag, joining, detaching, and the priority of the calling thread.
#include "fw/WorkerThread.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <stdexcept>

#include "fw/Sync.h"

namespace {

TEST(WorkerThread, HasEndedOnlyAfterTheFunctionReturned) {
  fw::CEvent release(false, true);
  fw::WorkerThread worker([&] { release.Lock(); });
  EXPECT_FALSE(worker.HasEnded());
  release.SetEvent();
  worker.Join();
  EXPECT_TRUE(worker.HasEnded());
  worker.Join();  // a second join does nothing
}

TEST(WorkerThread, DestructorWaitsForTheEnd) {
  fw::CEvent release(false, true);
  std::atomic<bool> finished{false};
  {
    fw::WorkerThread worker([&] {
      release.Lock();
      finished = true;
    });
    release.SetEvent();
  }
  EXPECT_TRUE(finished.load());
}

TEST(WorkerThread, EndsWhenTheFunctionThrows) {
  fw::WorkerThread worker([] { throw std::runtime_error("drawing unreadable"); });
  worker.Join();
  EXPECT_TRUE(worker.HasEnded());
}

TEST(WorkerThread, DetachedThreadOutlivesItsObject) {
  fw::CEvent start(false, true);
  fw::CEvent done(false, true);
  {
    fw::WorkerThread worker([&] {
      start.Lock();
      done.SetEvent();
    });
    worker.Detach();
  }
  start.SetEvent();
  EXPECT_TRUE(done.Lock(60000));
}

// The worker is the calling thread, so the test process keeps its own priority.
TEST(SetCurrentThreadPriority, LowestUsesTheIdleClassOrTheHighestNiceValue) {
  bool lowered = false;
  int policy = -1;
  int nice = 0;
  bool restored = false;
  int restoredPolicy = -1;
  int restoredNice = -1;
  fw::WorkerThread worker([&] {
    sched_param parameters{};
    lowered = fw::SetCurrentThreadPriority(fw::ThreadPriority::kLowest);
    pthread_getschedparam(pthread_self(), &policy, &parameters);
    nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    // Unprivileged users may not raise the priority again; only a success is checked.
    restored = fw::SetCurrentThreadPriority(fw::ThreadPriority::kNormal);
    pthread_getschedparam(pthread_self(), &restoredPolicy, &parameters);
    restoredNice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  });
  worker.Join();
  ASSERT_TRUE(lowered);
  EXPECT_TRUE(policy == SCHED_IDLE || nice == 19) << "policy " << policy << ", nice " << nice;
  if (restored) {
    EXPECT_EQ(restoredPolicy, SCHED_OTHER);
    EXPECT_EQ(restoredNice, 0);
  }
}

}  // namespace

// Events and critical sections across threads. No test asserts how long anything took.
#include "fw/Sync.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// Waits until `counter` reaches `value`, sleeping on the event the counting threads signal.
void WaitForCount(std::atomic<int>& counter, int value, fw::CEvent& counted) {
  while (counter.load() < value) counted.Lock(100);
}

TEST(CEvent, ManualResetReleasesEveryWaiterAndStaysSignalled) {
  fw::CEvent event(false, true);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      if (event.Lock()) ++released;
    });
  }
  event.SetEvent();
  for (std::thread& waiter : waiters) waiter.join();
  EXPECT_EQ(released.load(), 3);
  EXPECT_TRUE(event.Lock(0));
  event.ResetEvent();
  EXPECT_FALSE(event.Lock(0));
}

TEST(CEvent, AutoResetReleasesOneWaiterPerSignal) {
  fw::CEvent event;
  fw::CEvent counted;
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i) {
    waiters.emplace_back([&] {
      if (event.Lock()) ++released;
      counted.SetEvent();
    });
  }
  event.SetEvent();
  WaitForCount(released, 1, counted);
  // The released waiter reset the event, so the other one still waits.
  EXPECT_FALSE(event.Lock(0));
  EXPECT_EQ(released.load(), 1);
  event.SetEvent();
  for (std::thread& waiter : waiters) waiter.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_FALSE(event.Lock(0));
}

TEST(CEvent, AutoResetIsResetByTheWaitThatSawIt) {
  fw::CEvent event(true, false);
  EXPECT_FALSE(event.IsManualReset());
  EXPECT_TRUE(event.Lock(0));
  EXPECT_FALSE(event.Lock(0));
}

TEST(CEvent, TimedWaitTimesOutWhenNothingSignals) {
  fw::CEvent event(false, true);
  EXPECT_FALSE(event.Lock(20));
  EXPECT_FALSE(event.Lock(0));
}

TEST(CEvent, TimedWaitSeesASignalFromAnotherThread) {
  fw::CEvent event;
  std::thread signaller([&] { event.SetEvent(); });
  EXPECT_TRUE(event.Lock(60000));
  signaller.join();
}

// A thread that signals "done" must not touch the event once the waiter, its owner, may have
// destroyed it; the address sanitizer sees any use after the delete.
TEST(CEvent, WaiterMayDestroyTheEventAsSoonAsItIsReleased) {
  for (int round = 0; round < 200; ++round) {
    auto* done = new fw::CEvent(false, round % 2 == 0);
    std::thread signaller([done] { done->SetEvent(); });
    ASSERT_TRUE(done->Lock());
    delete done;
    signaller.join();
  }
}

TEST(CriticalSection, LetsTheOwnerLockAgainAndExcludesOthers) {
  fw::CriticalSection section;
  long total = 0;
  section.Lock();
  section.Lock();
  std::thread other([&] {
    std::lock_guard<fw::CriticalSection> lock(section);
    total += 1;
  });
  total += 10;
  section.Unlock();
  section.Unlock();
  other.join();
  EXPECT_EQ(total, 11);
}

TEST(Interlocked, CountsEveryIncrementFromManyThreads) {
  std::atomic<long> counter{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      for (int k = 0; k < 10000; ++k) fw::InterlockedIncrement(counter);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(counter.load(), 40000);
  EXPECT_EQ(fw::InterlockedDecrement(counter), 39999);
}

}  // namespace

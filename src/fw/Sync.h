// Synchronisation as the framework offers it: critical sections, events with timed waits and
// interlocked counters. Every member is safe to call from any thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace fw {

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

// A lock the owning thread may take again (recursive, as the platform's critical section is).
// Also usable with std::lock_guard.
class CriticalSection {
 public:
  void Lock() { mutex_.lock(); }
  void Unlock() { mutex_.unlock(); }
  void lock() { Lock(); }
  void unlock() { Unlock(); }

 private:
  std::recursive_mutex mutex_;
};

// An event: signalled or not. A manual-reset event stays signalled until ResetEvent and
// releases every waiter; an auto-reset event releases one waiter and resets itself.
class CEvent {
 public:
  explicit CEvent(bool initiallySignalled = false, bool manualReset = false);
  CEvent(const CEvent&) = delete;
  CEvent& operator=(const CEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // Waits until signalled or until `timeoutMs` milliseconds have passed (kInfinite: no limit).
  // True when signalled (and, for an auto-reset event, reset again by this wait).
  bool Lock(std::uint32_t timeoutMs = kInfinite);
  bool IsManualReset() const { return manualReset_; }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_;
  const bool manualReset_;
};

// Atomic counters; each returns the new value.
inline long InterlockedIncrement(std::atomic<long>& value) { return ++value; }
inline long InterlockedDecrement(std::atomic<long>& value) { return --value; }

}  // namespace fw

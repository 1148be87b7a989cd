// Events on a mutex and a condition variable. Timed waits measure on the steady clock, so a
// change of the wall clock neither cuts a wait short nor stretches it.
#include "fw/Sync.h"

#include <chrono>

namespace fw {

CEvent::CEvent(bool initiallySignalled, bool manualReset)
    : signalled_(initiallySignalled), manualReset_(manualReset) {}

// Notifies while holding the lock: a released waiter may destroy the event as soon as it
// returns (a thread signalling "done" to the thread that owns the event), and it cannot return
// before the lock is free, by which time the condition variable is no longer touched here. An
// auto-reset event lets one waiter through; waking the rest would only send them back.
void CEvent::SetEvent() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = true;
  if (manualReset_) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
}

void CEvent::ResetEvent() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = false;
}

bool CEvent::Lock(std::uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto isSignalled = [this] { return signalled_; };
  if (timeoutMs == kInfinite) {
    changed_.wait(lock, isSignalled);
  } else if (!changed_.wait_until(lock,
                                  std::chrono::steady_clock::now() +
                                      std::chrono::milliseconds(timeoutMs),
                                  isSignalled)) {
    return false;
  }
  if (!manualReset_) signalled_ = false;
  return true;
}

}  // namespace fw

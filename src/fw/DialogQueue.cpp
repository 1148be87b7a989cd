// The posted-message queue of a dialog and its coalesced change notes.
#include "fw/DialogQueue.h"

#include <utility>

namespace fw {

std::uint64_t DialogQueue::Open() {
  std::lock_guard guard(lock_);
  session_ = ++lastSession_;
  thread_ = std::this_thread::get_id();
  messages_.clear();
  pendingFlags_.clear();
  dirtyControls_.clear();
  woken_ = false;
  return session_;
}

void DialogQueue::Close() {
  std::lock_guard guard(lock_);
  session_ = 0;
  thread_ = std::thread::id();
  messages_.clear();
  pendingFlags_.clear();
  dirtyControls_.clear();
}

bool DialogQueue::IsOpen() const {
  std::lock_guard guard(lock_);
  return session_ != 0;
}

std::uint64_t DialogQueue::Session() const {
  std::lock_guard guard(lock_);
  return session_;
}

bool DialogQueue::OnDialogThread() const {
  std::lock_guard guard(lock_);
  return session_ != 0 && thread_ == std::this_thread::get_id();
}

bool DialogQueue::Post(std::uint64_t session, Message message) {
  std::unique_lock guard(lock_);
  if (session == 0 || session != session_) return false;
  messages_.push_back(std::move(message));
  Signal(guard);
  return true;
}

std::optional<DialogQueue::Message> DialogQueue::TakeNext() {
  std::lock_guard guard(lock_);
  if (messages_.empty()) return std::nullopt;
  Message message = std::move(messages_.front());
  messages_.pop_front();
  return message;
}

bool DialogQueue::HasMessages() const {
  std::lock_guard guard(lock_);
  return !messages_.empty();
}

bool DialogQueue::WaitUntil(Clock::time_point deadline) {
  std::unique_lock guard(lock_);
  bool ready =
      signalled_.wait_until(guard, deadline, [this] { return woken_ || !messages_.empty(); });
  woken_ = false;
  return ready;
}

void DialogQueue::Wake() {
  {
    std::lock_guard guard(lock_);
    woken_ = true;
  }
  signalled_.notify_all();
}

void DialogQueue::NoteChange(int controlIndex, unsigned flags) {
  std::unique_lock guard(lock_);
  if (session_ == 0 || controlIndex < kDialogChangeIndex || flags == 0) return;
  auto index = static_cast<std::size_t>(controlIndex + 1);
  if (pendingFlags_.size() <= index) pendingFlags_.resize(index + 1, 0);
  bool first = dirtyControls_.empty();
  if (pendingFlags_[index] == 0) dirtyControls_.push_back(controlIndex);
  pendingFlags_[index] |= flags;
  if (first) Signal(guard);
}

std::vector<ControlChange> DialogQueue::TakeChanges() {
  std::lock_guard guard(lock_);
  std::vector<ControlChange> changes;
  changes.reserve(dirtyControls_.size());
  for (int index : dirtyControls_) {
    auto& flags = pendingFlags_[static_cast<std::size_t>(index + 1)];
    changes.push_back(ControlChange{index, flags});
    flags = 0;
  }
  dirtyControls_.clear();
  return changes;
}

void DialogQueue::SetWaker(std::function<void()> waker) {
  std::lock_guard guard(lock_);
  waker_ = std::move(waker);
}

// Wakes the dialog thread's wait and the presenter; the waker runs after the lock is released,
// so a presenter that takes the lock again from it cannot deadlock.
void DialogQueue::Signal(std::unique_lock<std::mutex>& guard) {
  std::function<void()> waker = waker_;
  guard.unlock();
  signalled_.notify_all();
  if (waker) waker();
}

}  // namespace fw

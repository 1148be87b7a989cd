// The loader's shared state: the kick, the progress the delete workers wait for, and the pause
// check between steps.
#include "library/LoaderControl.h"

#include <algorithm>
#include <utility>

namespace library {

LoaderControl& LoaderControl::Instance() {
  // Destroyed when the module unloads. Every showing of the dialog joins the loader and its
  // workers before it returns, and unloading stops and joins them again, so no thread is left to
  // use it then; a control allocated and never freed would leak at every unload.
  static LoaderControl control;
  return control;
}

void LoaderControl::RemoveFromQueue(const Directory& d) {
  auto found = std::find(queue.begin(), queue.end(), &d);
  if (found != queue.end()) queue.erase(found);
}

void LoaderControl::QueueAtHead(Directory& d) {
  RemoveFromQueue(d);
  queue.push_front(&d);
  if (loading == &d) loadingQueuedAgain = true;
}

void LoaderControl::Kick() {
  {
    std::lock_guard guard(kickLock_);
    kicked_ = true;
  }
  kickChanged_.notify_all();
}

void LoaderControl::WaitForKick(std::stop_token stop, std::chrono::milliseconds limit) {
  std::unique_lock lock(kickLock_);
  waitingForWork.store(true);
  kickChanged_.wait_for(lock, stop, limit, [this] { return kicked_; });
  // An auto-reset event: one wait takes the kick.
  kicked_ = false;
  waitingForWork.store(false);
}

void LoaderControl::NotifyProgress() {
  {
    std::lock_guard guard(progressLock_);
    ++progress_;
  }
  progressChanged_.notify_all();
}

void LoaderControl::WaitForProgress(std::chrono::milliseconds limit) {
  std::unique_lock lock(progressLock_);
  std::uint64_t seen = progress_;
  progressChanged_.wait_for(lock, limit, [&] { return progress_ != seen; });
}

void LoaderControl::CheckPause(std::stop_token stop) const {
  if (stop.stop_requested()) throw LoadInterrupted{LoadInterrupted::kStop};
  if (pause.load() <= 0) return;
  throw LoadInterrupted{stopFlag.load() ? LoadInterrupted::kStop : LoadInterrupted::kRestart};
}

LoaderHooks LoaderControl::Hooks() const {
  std::lock_guard guard(hooksLock_);
  return hooks_;
}

void LoaderControl::SetHooks(LoaderHooks hooks) {
  std::lock_guard guard(hooksLock_);
  hooks_ = std::move(hooks);
}

}  // namespace library

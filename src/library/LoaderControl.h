// The loader's shared state inside the library: the work queue, the pause counter, the stop
// request, the kick, and the view it shows its work in. Loader.cpp steers it, DirectoryLoad reads
// it between steps. Not part of the library's interface.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "fw/Sync.h"
#include "library/Loader.h"

namespace library {

// The internal interruption of a directory load: kRestart leaves the directory in the queue to
// be resumed, kStop ends the loader. Thrown by CheckPause, caught only by the loader's loop.
struct LoadInterrupted {
  enum Code { kRestart = 1, kStop = 2 };
  Code code;
};

class LoaderControl {
 public:
  static LoaderControl& Instance();

  // --- Under the library lock -----------------------------------------------------------------
  std::deque<Directory*> queue;  // the head is loaded first; a directory is in it at most once
  Directory* loading = nullptr;  // the directory LoadDir works on, or nullptr
  // `loading` was queued again while it loaded: it stays queued when its load ends.
  bool loadingQueuedAgain = false;
  void RemoveFromQueue(const Directory& d);
  // Puts d at the head of the queue (taking it from where it was), noting a directory that is
  // being loaded.
  void QueueAtHead(Directory& d);

  // --- Interlocked --------------------------------------------------------------------------------
  std::atomic<long> pause{0};
  std::atomic<bool> stopFlag{false};
  std::atomic<bool> running{false};
  std::atomic<bool> waitingForWork{false};
  std::atomic<int> pendingWorkers{0};

  fw::CEvent validated{false, true};
  fw::CEvent stopped{false, false};

  // The kick: an auto-reset event the loader waits on in slices of at most `limit`, which a stop
  // request also ends.
  void Kick();
  void WaitForKick(std::stop_token stop, std::chrono::milliseconds limit);

  // Something the delete workers wait for changed (the pause counter fell, the loader left a
  // directory or ended). Waits at most `limit` for the next change.
  void NotifyProgress();
  void WaitForProgress(std::chrono::milliseconds limit);

  // Loader thread: between steps, interrupts the load when the pause counter is above 0 (with
  // kStop when the stop flag is set or the thread was asked to stop).
  void CheckPause(std::stop_token stop) const;

  LoaderView* View() const { return view_.load(); }
  void SetView(LoaderView* view) { view_.store(view); }
  LoaderHooks Hooks() const;
  void SetHooks(LoaderHooks hooks);

  // The loader thread and the workers; guarded by threadLock.
  std::mutex threadLock;
  std::jthread thread;
  std::vector<std::jthread> workers;

 private:
  std::atomic<LoaderView*> view_{nullptr};
  mutable std::mutex hooksLock_;
  LoaderHooks hooks_;

  std::mutex kickLock_;
  std::condition_variable_any kickChanged_;
  bool kicked_ = false;

  std::mutex progressLock_;
  std::condition_variable progressChanged_;
  std::uint64_t progress_ = 0;
};

// Loader thread: the work on one directory (the loop ignores its result). Throws
// LoadInterrupted at a pause check.
void LoadDir(Directory& d, std::stop_token stop);

// A block definition of the current drawing as the internal directory lists it.
struct InternalBlock {
  std::wstring name;
  std::wstring comments;
};
// Loader thread: the block definitions of the current drawing that the internal directory
// lists, in the block table's order.
std::vector<InternalBlock> ReadInternalBlocks();

}  // namespace library

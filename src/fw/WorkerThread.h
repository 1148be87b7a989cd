// Worker threads and thread priority.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace fw {

// A thread that runs one function and ends. The object may be destroyed while the thread runs
// only after Detach(); otherwise the destructor waits for the end.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> work);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // True once the function has returned.
  bool HasEnded() const { return ended_->load(); }
  void Join();
  void Detach();

 private:
  std::shared_ptr<std::atomic<bool>> ended_;
  std::thread thread_;
};

enum class ThreadPriority { kLowest, kNormal };

// Sets the scheduling priority of the calling thread: kLowest puts it in the idle class (or at
// the highest nice value), kNormal restores the ordinary class. False when the system refused.
bool SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace fw

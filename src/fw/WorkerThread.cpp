// Worker threads on std::thread, and thread priority through the Linux scheduler.
#include "fw/WorkerThread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace fw {

// The end flag is shared with the thread, so a detached thread may outlive this object and still
// set it safely. An exception escaping the work is dropped here: letting it leave the thread
// would terminate the whole host process.
WorkerThread::WorkerThread(std::function<void()> work)
    : ended_(std::make_shared<std::atomic<bool>>(false)),
      thread_([ended = ended_, work = std::move(work)] {
        try {
          if (work) work();
        } catch (...) {
        }
        ended->store(true);
      }) {}

// A thread that destroys its own WorkerThread cannot wait for itself; it is detached instead.
WorkerThread::~WorkerThread() {
  if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
    return;
  }
  Join();
}

// Waits for the end; does nothing after Detach, after an earlier Join, or on the worker itself.
void WorkerThread::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void WorkerThread::Detach() {
  if (thread_.joinable()) thread_.detach();
}

// kLowest prefers the idle class, which any user may enter; where that is refused the thread
// takes the highest nice value instead. kNormal returns to the ordinary class at nice 0. Linux
// lets an unprivileged thread lower its priority but not raise it again (leaving the idle class
// or lowering the nice value needs CAP_SYS_NICE or a RLIMIT_NICE allowance), so kNormal after
// kLowest returns false for most users; the thread then simply stays slow.
bool SetCurrentThreadPriority(ThreadPriority priority) {
  pid_t thread = gettid();
  sched_param parameters{};
  parameters.sched_priority = 0;
  switch (priority) {
    case ThreadPriority::kLowest:
      if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameters) == 0) return true;
      return setpriority(PRIO_PROCESS, static_cast<id_t>(thread), 19) == 0;
    case ThreadPriority::kNormal: {
      int policy = SCHED_OTHER;
      sched_param current{};
      if (pthread_getschedparam(pthread_self(), &policy, &current) != 0) return false;
      if (policy != SCHED_OTHER &&
          pthread_setschedparam(pthread_self(), SCHED_OTHER, &parameters) != 0) {
        return false;
      }
      errno = 0;
      int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
      if (nice == -1 && errno != 0) return false;
      return nice == 0 || setpriority(PRIO_PROCESS, static_cast<id_t>(thread), 0) == 0;
    }
  }
  return false;
}

}  // namespace fw

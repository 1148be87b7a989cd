// The loader thread's life: started with its body, stopped by its stop token, joined at
// shutdown.
#include "library/Loader.h"

#include <mutex>
#include <thread>
#include <utility>

namespace library {
namespace {

std::mutex& ThreadLock() {
  static std::mutex lock;
  return lock;
}

std::jthread& LoaderThread() {
  static std::jthread thread;
  return thread;
}

}  // namespace

void StartLoader(std::function<void(std::stop_token)> body) {
  JoinLoader();
  std::lock_guard<std::mutex> lock(ThreadLock());
  LoaderThread() = std::jthread([body = std::move(body)](std::stop_token stop) {
    body(stop);
    LoaderStoppedEvent().SetEvent();
  });
}

// FIXME: the pause counter, the kick event and the dialog's closing worker come with the
// directory loader; until then a stop request reaches the thread through its stop token only.
void StopLoader() {
  std::lock_guard<std::mutex> lock(ThreadLock());
  if (LoaderThread().joinable()) LoaderThread().request_stop();
}

void JoinLoader() {
  std::jthread finished;
  {
    std::lock_guard<std::mutex> lock(ThreadLock());
    finished = std::move(LoaderThread());
  }
  if (finished.joinable()) finished.join();
}

// FIXME: requeueing comes with the directory loader's work queue.
void RequeueCurrent() {}

fw::CEvent& LoaderStoppedEvent() {
  static fw::CEvent stopped(false, false);
  return stopped;
}

}  // namespace library

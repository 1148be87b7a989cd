// The loader thread's life at shutdown: joining it never takes the stopped event from the
// dialog's closing worker, which waits on it too.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "library/Loader.h"

namespace {

TEST(Loader, ShutdownJoinsTheLoaderWhileTheClosingWorkerStillGetsTheStoppedEvent) {
  std::atomic<bool> bodyEnded{false};
  library::StartLoader([&](std::stop_token stop) {
    while (!stop.stop_requested()) std::this_thread::yield();
    bodyEnded = true;
  });
  std::atomic<bool> workerWoke{false};
  std::thread closingWorker([&] {
    library::LoaderStoppedEvent().Lock(fw::kInfinite);
    workerWoke = true;
  });

  library::StopLoader();
  library::JoinLoader();
  EXPECT_TRUE(bodyEnded);
  closingWorker.join();
  EXPECT_TRUE(workerWoke);

  // With no loader left, shutdown waits for nothing.
  library::StopLoader();
  library::JoinLoader();
}

}  // namespace

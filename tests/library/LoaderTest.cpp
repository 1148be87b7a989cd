// The loader thread's life at shutdown: joining it never takes the stopped event from the
// dialog's closing worker, which waits on it too.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "library/Loader.h"

namespace {

TEST(Loader, ShutdownJoinsTheLoaderWhileTheClosingWorkerStillGetsTheStoppedEvent) {
  library::StartLoader();
  std::atomic<bool> workerWoke{false};
  std::thread closingWorker([&] {
    library::LoaderStoppedEvent().Lock(fw::kInfinite);
    workerWoke = true;
  });

  library::StopLoader();
  library::JoinLoader();
  EXPECT_FALSE(library::IsLoaderRunning());
  closingWorker.join();
  EXPECT_TRUE(workerWoke);

  // With no loader left, shutdown waits for nothing.
  library::StopLoader();
  library::JoinLoader();
}

}  // namespace

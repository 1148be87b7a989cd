// The loader thread's life at shutdown: joining it never takes the stopped event from the
// dialog's closing worker, which waits on it too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "library/Directory.h"
#include "library/Library.h"
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

// What an earlier showing left queued is gone with its directories (the library emptied at quit,
// the module loaded again): the next loader waits for its own validation and loads only the
// directories of the library it has (the address sanitizer sees any touch of the old one).
TEST(Loader, ANewLoaderLoadsNothingTheLastOneLeftQueued) {
  library::Library& library = library::TheLibrary();
  auto untilIdle = [] {
    for (int wait = 0; wait < 6000 && !library::IsLoaderIdle(); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(library::IsLoaderIdle());
  };
  // An earlier showing validated once.
  library::StartLoader();
  library::ValidateDirs(false);
  untilIdle();
  library::StopLoader();
  library::JoinLoader();

  auto gone = std::make_unique<library::Directory>();
  gone->path = L"/nonexistent/gone";
  library::QueueDirectory(library.Append(std::move(gone)));
  library::EmptyLibrary();
  auto kept = std::make_unique<library::Directory>();
  kept->path = L"/nonexistent/kept";
  library.Append(std::move(kept));

  library::StartLoader();
  // Time in which a loader that did not wait for this validation would take up the old queue.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  library::ValidateDirs(false);
  untilIdle();
  library::StopLoader();
  library::JoinLoader();
  library::EmptyLibrary();
}

}  // namespace

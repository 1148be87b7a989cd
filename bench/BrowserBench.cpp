// The browser's figures, with the main dialog shown headless in this process on our host:
// - first paint: from selecting a cached directory of 5,000 drawings until its block list shows
//   every name and text (goal: under 100 ms), right after the dialog opened (the folder is
//   rescanned first) and once the directory was loaded (the list is only filled);
// - rescan: the loader's work on an unchanged folder of 10,000 drawings, and in the same run
//   listing that folder and reading each file's status (goal: at most 3 times the listing);
// - interruption: selecting another directory while the loader probes a folder of 2,000
//   drawings, until the loader starts on the one selected (goal: under 50 ms).
//   build/release/bin/browser_bench
// The drawings are hard links to one drawing with a 180 x 88 preview, so a library of
// thousands costs one file. The loader keeps its priority (on a machine shared with other work
// the idle class would measure the others).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "BrowserLibrary.h"
#include "DrawingBuilder.h"
#include "fw/Dialog.h"
#include "fw/FileName.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Module.h"
#include "fw/NativePath.h"
#include "fw/Resources.h"
#include "fw/UserInput.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "library/LoaderControl.h"
#include "library/LoaderView.h"
#include "minicad/Host.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/BlockDlgTemplate.h"
#include "ui/DialogLoaderView.h"

namespace {

using namespace browserbench;

void BM_FirstPaintRightAfterOpening(benchmark::State& state) {
  PrepareCachedLibrary();
  for (auto _ : state) {
    Bench::Get().Reload(true);
    Showing showing;
    library::Directory& symbols = Named(L"Symbols");
    Clock::time_point start = Clock::now();
    showing.Select(L"Symbols");
    showing.Until([&] { return showing.Painted(symbols); });
    state.SetIterationTime(Seconds(Clock::now() - start));
    showing.UntilIdle();
  }
}
BENCHMARK(BM_FirstPaintRightAfterOpening)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirstPaintOfALoadedDirectory(benchmark::State& state) {
  PrepareCachedLibrary();
  Bench::Get().Reload(true);
  Showing showing;
  library::Directory& symbols = Named(L"Symbols");
  showing.UntilIdle();
  for (auto _ : state) {
    showing.Select(L"Small");
    showing.UntilIdle();
    Clock::time_point start = Clock::now();
    showing.Select(L"Symbols");
    showing.Until([&] { return showing.Painted(symbols); });
    state.SetIterationTime(Seconds(Clock::now() - start));
    showing.UntilIdle();
  }
}
BENCHMARK(BM_FirstPaintOfALoadedDirectory)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the loader's view is told, and nothing shown: the rescan of a directory not on screen.
class UnseenView final : public library::LoaderView {
 public:
  void ShowCount(const library::Directory&) override {}
  void ShowStatus(const library::Directory&, std::wstring_view) override {}
  void ClearBlocks(library::Directory&) override {}
  void ShowImages(library::Directory&) override {}
  bool HasNoBlocks() const override { return false; }
  void ForgetBlocks(const library::Directory&) override {}
  void BeginFill(const library::Directory&) override {}
  std::vector<int> InsertPlaceholders(std::size_t) override { return {}; }
  void ShowBlock(int, const library::Block&) override {}
  void EndFill(const library::Directory&, bool) override {}
  void ShowBlockFacts(const library::Block&) override {}
  void RemoveDirectory(const library::Directory&) override {}
};

// A folder of 10,000 drawings read once, so every block is cached and unchanged.
struct RescanFixture {
  RescanFixture() {
    Bench& bench = Bench::Get();
    library::JoinLoader();
    library::EmptyLibrary();
    d.path = bench.MakeLibrary("rescan", kRescanDrawings);
    d.cacheFile = bench.Folder("support") + L"/path99_35.cache";
    library::SetLoaderView(&view);
    library::SetBlockDialogShown(true);
    library::LoaderHooks hooks;
    hooks.changePriority = false;
    hooks.probe = [](library::Directory&, library::Block&) {};
    library::SetLoaderHooks(hooks);
    // No loader runs: an interruption left by the last showing's stop is not ours.
    library::LoaderControl::Instance().pause = 0;
    library::LoadDir(d, stop.get_token());
  }
  ~RescanFixture() {
    library::SetBlockDialogShown(false);
    library::SetLoaderView(nullptr);
    Bench::Get().CountProbes(nullptr);
  }
  void Invalidate() {
    d.loaded = false;
    for (const auto& block : d.Blocks()) block->checked = false;
  }

  UnseenView view;
  std::stop_source stop;
  library::Directory d;
};

void BM_RescanOfAnUnchangedFolder(benchmark::State& state) {
  RescanFixture fixture;
  for (auto _ : state) {
    state.PauseTiming();
    fixture.Invalidate();
    state.ResumeTiming();
    library::LoadDir(fixture.d, fixture.stop.get_token());
  }
  if (fixture.d.BlockCount() != kRescanDrawings || !fixture.d.loaded) state.SkipWithError("lost");
}
BENCHMARK(BM_RescanOfAnUnchangedFolder)->Unit(benchmark::kMillisecond);

// The floor a rescan is held against: the folder listed and each entry's status read.
void BM_ListingTheFolderAndReadingEachStatus(benchmark::State& state) {
  std::string folder = fw::NativePath(Bench::Get().MakeLibrary("rescan", kRescanDrawings));
  for (auto _ : state) {
    DIR* listing = opendir(folder.c_str());
    int found = 0;
    while (const dirent* entry = readdir(listing)) {
      struct stat status {};
      if (fstatat(dirfd(listing), entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode)) ++found;
    }
    closedir(listing);
    if (found != kRescanDrawings) state.SkipWithError("the folder changed");
  }
}
BENCHMARK(BM_ListingTheFolderAndReadingEachStatus)->Unit(benchmark::kMillisecond);

// The user selects "Small" once the loader has probed `state.range(0)` of the 2,000 new
// drawings of the current directory; timed until the loader starts on "Small".
void BM_InterruptingTheProbeOfANewFolder(benchmark::State& state) {
  Bench& bench = Bench::Get();
  std::wstring fresh = bench.MakeLibrary("fresh", kProbedDrawings);
  std::wstring small = bench.MakeLibrary("small", 1);
  bench.WriteSettings({{"Fresh", fresh}, {"Small", small}});
  std::atomic<int> probed{0};
  bench.CountProbes([&probed] { ++probed; });
  const int before = static_cast<int>(state.range(0));
  for (auto _ : state) {
    bench.Reload(false);
    probed = 0;
    Showing showing;
    library::Directory& target = Named(L"Small");
    showing.Until([&] { return probed.load() >= before; });
    Clock::time_point start = Clock::now();
    showing.Select(L"Small");
    showing.Until([&] { return showing.Dialog().View().ShownDirectory() == &target; });
    state.SetIterationTime(Seconds(Clock::now() - start));
  }
  bench.CountProbes(nullptr);
}
BENCHMARK(BM_InterruptingTheProbeOfANewFolder)
    ->Arg(100)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The cache files at the size of a large library: the main cache of 100,000 blocks in 200
// directories written and read with and without compression, one directory's image cache of
// 2,000 thumbnails, and the memory the 100,000-block library takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arx/acutads.h"
#include "fw/Bitmap.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/HeadlessUiDriver.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"

namespace {

constexpr int kDirectories = 200;
constexpr int kBlocksPerDirectory = 500;
constexpr int kThumbnails = 2000;

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qrva-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~BenchFolder() { std::filesystem::remove_all(path_); }
  std::wstring operator/(const wchar_t* name) const {
    return fw::PathJoin(fw::FromNativePath(path_.string()), name);
  }

 private:
  std::filesystem::path path_;
};

// Names and descriptions of the lengths real symbol libraries have.
void FillDirectory(library::Directory& directory, int number) {
  directory.path = L"/srv/cad/library/Architectural/Section " + std::to_wstring(number);
  directory.description = L"Section " + std::to_wstring(number);
  directory.cacheFile = L"/home/user/Quorvane/path" + std::to_wstring(number) + L"_35.cache";
  directory.ReserveBlocks(kBlocksPerDirectory);
  for (int i = 0; i < kBlocksPerDirectory; ++i) {
    library::Block& block = directory.AppendBlock();
    block.name = L"DOOR-SGL-" + std::to_wstring(700 + i) + L"-LH";
    if (i % 2 == 1) block.description = L"Single door, left hand, " + std::to_wstring(i) + L" mm";
    block.valid = true;
    block.cachedStatus = {1600000000 + i, 1650000000 + i,
                          static_cast<std::uint64_t>(40000 + 17 * i), 0x20};
    block.created = block.cachedStatus.ctime;
    block.modified = block.cachedStatus.mtime;
    block.imageIndex = i + 1;
    block.version = 18;
  }
}

void BuildLibrary(library::Library& library) {
  for (int d = 1; d <= kDirectories; ++d) {
    FillDirectory(library.Append(std::make_unique<library::Directory>()), d);
  }
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kilobytes = 0;
      status >> kilobytes;
      return kilobytes;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

double FileBytes(const std::wstring& path) {
  fw::CFileStatus status;
  return fw::GetFileStatus(path, status) ? static_cast<double>(status.size) : 0;
}

void BM_WriteMainCache(benchmark::State& state) {
  library::SetUseCompression(state.range(0) != 0);
  BenchFolder folder;
  library::Library library;
  BuildLibrary(library);
  library::MainCacheSave save{folder / L"qv35.cache", folder / L"qv35.ini",
                              {140, 35, 150, 60, 105, 105}};
  for (auto _ : state) {
    if (!library::WriteMainCache(library, save)) state.SkipWithError("write failed");
  }
  state.counters["file_bytes"] = FileBytes(save.cachePath);
  state.counters["blocks"] = kDirectories * kBlocksPerDirectory;
}
BENCHMARK(BM_WriteMainCache)->ArgName("compressed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_ReadMainCache(benchmark::State& state) {
  library::SetUseCompression(state.range(0) != 0);
  BenchFolder folder;
  library::MainCacheSave save{folder / L"qv35.cache", folder / L"qv35.ini",
                              {140, 35, 150, 60, 105, 105}};
  {
    library::Library library;
    BuildLibrary(library);
    if (!library::WriteMainCache(library, save)) state.SkipWithError("write failed");
  }
  for (auto _ : state) {
    auto library = std::make_unique<library::Library>();
    library::MainCacheContent content = library::ReadMainCache(*library, {save.cachePath, true});
    if (!content.read || library->Size() != kDirectories) state.SkipWithError("read failed");
    state.PauseTiming();
    library.reset();
    state.ResumeTiming();
  }
  state.counters["file_bytes"] = FileBytes(save.cachePath);
}
BENCHMARK(BM_ReadMainCache)->ArgName("compressed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

std::unique_ptr<library::Directory> ThumbnailDirectory(const std::wstring& cacheFile) {
  auto directory = std::make_unique<library::Directory>();
  directory->cacheFile = cacheFile;
  using library::Directory;
  fw::Bitmap large(Directory::kLargeImageWidth, Directory::kLargeImageHeight);
  fw::Bitmap small(Directory::kSmallImageWidth, Directory::kSmallImageHeight);
  fw::CDC largeDc(large);
  fw::CDC smallDc(small);
  for (int i = 0; i < kThumbnails; ++i) {
    // A drawing-like preview: white with a few black lines that move from one to the next.
    largeDc.FillRect(0, 0, large.Width(), large.Height(), fw::RGB(255, 255, 255));
    smallDc.FillRect(0, 0, small.Width(), small.Height(), fw::RGB(255, 255, 255));
    largeDc.Rectangle(10 + i % 20, 10, 120, 86 - i % 30);
    largeDc.MoveTo(0, i % 96);
    largeDc.LineTo(129, 95 - i % 96);
    smallDc.Rectangle(5 + i % 10, 5, 60, 44 - i % 15);
    smallDc.MoveTo(0, i % 49);
    smallDc.LineTo(65, 48 - i % 49);
    directory->LargeImages().Add(large);
    directory->SmallImages().Add(small);
  }
  return directory;
}

void BM_WriteImageCache(benchmark::State& state) {
  library::SetUseCompression(state.range(0) != 0);
  BenchFolder folder;
  auto directory = ThumbnailDirectory(folder / L"path1_35.cache");
  for (auto _ : state) {
    if (!library::WriteImageCache(*directory)) state.SkipWithError("write failed");
  }
  state.counters["file_bytes"] = FileBytes(directory->cacheFile);
  state.counters["thumbnails"] = kThumbnails;
}
BENCHMARK(BM_WriteImageCache)->ArgName("compressed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_ReadImageCache(benchmark::State& state) {
  library::SetUseCompression(state.range(0) != 0);
  BenchFolder folder;
  auto written = ThumbnailDirectory(folder / L"path1_35.cache");
  if (!library::WriteImageCache(*written)) state.SkipWithError("write failed");
  library::Directory reader;
  reader.cacheFile = written->cacheFile;
  for (auto _ : state) {
    if (!library::ReadImageCache(reader)) state.SkipWithError("read failed");
  }
  state.counters["file_bytes"] = FileBytes(written->cacheFile);
}
BENCHMARK(BM_ReadImageCache)->ArgName("compressed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Memory of the library as a session has it, read from the main cache as the module writes it
// (compressed): the resident set and the heap in use before and after the read. Run it alone
// (--benchmark_filter=Memory) for a resident figure the earlier benchmarks' freed memory does
// not hide.
void BM_LibraryMemory(benchmark::State& state) {
  library::SetUseCompression(true);
  BenchFolder folder;
  const std::wstring cachePath = folder / L"qv35.cache";
  {
    library::Library built;
    BuildLibrary(built);
    library::WriteMainCache(built, {cachePath, folder / L"qv35.ini", {}});
  }
  malloc_trim(0);
  double residentBytes = 0;
  double heapBytes = 0;
  double imageListBytes = 0;
  for (auto _ : state) {
    long residentBefore = ResidentKilobytes();
    std::size_t heapBefore = mallinfo2().uordblks;
    auto library = std::make_unique<library::Library>();
    if (!library::ReadMainCache(*library, {cachePath, true}).read) state.SkipWithError("read");
    heapBytes = static_cast<double>(mallinfo2().uordblks - heapBefore);
    residentBytes = static_cast<double>(ResidentKilobytes() - residentBefore) * 1024;
    // What the directories' placeholder lists take, apart from the blocks.
    std::size_t heapBeforeDirectories = mallinfo2().uordblks;
    {
      std::vector<std::unique_ptr<library::Directory>> empty;
      for (int d = 0; d < kDirectories; ++d) empty.push_back(std::make_unique<library::Directory>());
      imageListBytes = static_cast<double>(mallinfo2().uordblks - heapBeforeDirectories);
    }
    state.PauseTiming();
    library.reset();
    state.ResumeTiming();
  }
  constexpr double kBlocks = kDirectories * kBlocksPerDirectory;
  state.counters["sizeof_block"] = sizeof(library::Block);
  state.counters["heap_bytes"] = heapBytes;
  state.counters["heap_per_block"] = heapBytes / kBlocks;
  state.counters["heap_per_block_without_directories"] = (heapBytes - imageListBytes) / kBlocks;
  state.counters["rss_bytes"] = residentBytes;
  state.counters["rss_per_block"] = residentBytes / kBlocks;
}
BENCHMARK(BM_LibraryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Message boxes of a failed write would otherwise pile up in the built-in headless driver.
class SilentUi : public fw::HeadlessUiDriver {
 public:
  int MessageBox(const std::wstring& text, const std::wstring&, unsigned) override {
    std::fprintf(stderr, "%s\n", fw::ToUtf8(text).c_str());
    return fw::IDOK;
  }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::optional<int> ChooseColor(int) override { return std::nullopt; }
};

}  // namespace

// The benchmark stands in for the host: the cache files print their failures on its command line.
int acutPrintf(const ACHAR* format, ...) {
  std::fprintf(stderr, "%s", fw::ToUtf8(format).c_str());
  return 0;
}

int main(int argc, char** argv) {
  SilentUi ui;
  fw::SetUiDriver(&ui);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fw::SetUiDriver(nullptr);
  return 0;
}

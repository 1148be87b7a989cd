// Drawing probe figures: (a) the floor a probe cannot go below (open, read the header, the image
// section and the preview bytes, decode a PNG preview to RGB, close) and (b) the full probe with
// both thumbnails stored in image lists, over the shared real drawings and a larger built set.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dwgprobe/DrawingFile.h"
#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/ImageSection.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Png.h"
#include "fw/Strings.h"
#include "library/Directory.h"

namespace {

constexpr int kBuiltDrawings = 200;

std::vector<std::wstring> SharedDrawings() {
  std::vector<std::wstring> paths;
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(fw::FromNativePath(QRVA_SHARED_DIR "/dwg"), L"*.dwg"));
  while (more) {
    more = finder.FindNextFile();
    paths.push_back(finder.GetFilePath());
  }
  return paths;
}

// Copies of the shared drawings with a preview, kBuiltDrawings in all, in a scratch folder.
std::vector<std::wstring> BuiltDrawings() {
  static std::vector<std::wstring> paths = [] {
    std::vector<std::wstring> out;
    const auto folder = std::filesystem::temp_directory_path() / "qrva-probe-bench";
    std::filesystem::create_directories(folder);
    std::vector<std::wstring> sources;
    for (const auto& path : SharedDrawings()) {
      if (dwgprobe::ProbeDrawing(path, {}).preview) sources.push_back(path);
    }
    for (int i = 0; i < kBuiltDrawings && !sources.empty(); ++i) {
      const auto target = folder / ("d" + std::to_string(i) + ".dwg");
      std::filesystem::copy_file(fw::NativePath(sources[static_cast<std::size_t>(i) % sources.size()]),
                                 target, std::filesystem::copy_options::overwrite_existing);
      out.push_back(fw::FromNativePath(target.string()));
    }
    return out;
  }();
  return paths;
}

// Reads only what a probe must read (header, image directory, preview bytes) and decodes a PNG
// preview; nothing else.
std::size_t Floor(const std::wstring& path) {
  auto file = dwgprobe::DrawingFile::Open(path);
  if (!file) return 0;
  auto& drawing = *file.Value();
  const auto seeker = dwgprobe::ReadImageSeeker(drawing.ReadUpTo(0, dwgprobe::kFileHeaderBytes));
  if (!seeker) return 0;
  const auto section = dwgprobe::ReadImageDirectory(
      drawing.ReadUpTo(seeker.Value(), dwgprobe::kMaxImageDirectoryBytes), seeker.Value());
  if (!section.image ||
      !dwgprobe::CheckRecord(*section.image, drawing.Size(), dwgprobe::kMaxPreviewBytes)) {
    return 0;
  }
  const auto bytes = drawing.ReadAt(section.image->start, section.image->size);
  if (!bytes || !section.png) return bytes ? bytes.Value().size() : 0;
  const auto image = fw::DecodePng(bytes.Value());
  return image ? image.Value().rgb.size() : 0;
}

void Run(benchmark::State& state, const std::vector<std::wstring>& paths, bool full) {
  if (paths.empty()) return state.SkipWithError("no drawings");
  for (auto _ : state) {
    library::Directory d;
    for (const auto& path : paths) {
      if (!full) {
        benchmark::DoNotOptimize(Floor(path));
        continue;
      }
      const auto outcome = dwgprobe::ProbeDrawing(path, {});
      if (outcome.preview) {
        benchmark::DoNotOptimize(dwgprobe::RenderThumbnails(
            &d.LargeImages(), d.SmallImages(), 0, *outcome.preview, outcome.version, outcome.points));
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}

void FloorShared(benchmark::State& s) { Run(s, SharedDrawings(), false); }
void FullShared(benchmark::State& s) { Run(s, SharedDrawings(), true); }
void FloorBuilt(benchmark::State& s) { Run(s, BuiltDrawings(), false); }
void FullBuilt(benchmark::State& s) { Run(s, BuiltDrawings(), true); }

BENCHMARK(FloorShared)->Unit(benchmark::kMillisecond);
BENCHMARK(FullShared)->Unit(benchmark::kMillisecond);
BENCHMARK(FloorBuilt)->Unit(benchmark::kMillisecond);
BENCHMARK(FullBuilt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

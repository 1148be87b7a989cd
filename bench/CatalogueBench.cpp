// Catalogue printing figures: a folder of 1,000 drawings printed in the list layout at 600 dpi
// into a PDF, (a) the printing alone, from a directory already read, and (b) qrva-catalogue as
// a user runs it, reading the folder too. Both report the PDF's size. Every drawing has a
// preview of its own (see Preview).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dwgprobe/DrawingBuilder.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/PdfPrinterDC.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "ui/Catalogue.h"

namespace {

constexpr int kDrawings = 1000;
const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "qrva-catalogue-bench";

// A preview of its own for drawing `index`: white with black lines from a point on the left
// edge to points on the right, so no two drawings share one (a PDF keeps a shared one once).
// Every other drawing has the size older drawings store (256 x 188), the rest the size newer
// ones do (672 x 448), which is larger than the printed frame and is shrunk into it.
std::vector<std::uint8_t> Preview(int index) {
  previewtest::DibSpec shape;
  shape.width = index % 2 == 0 ? 256 : 672;
  shape.height = index % 2 == 0 ? 188 : 448;
  shape.coloursUsed = 2;
  shape.palette = {fw::RGB(255, 255, 255), fw::RGB(0, 0, 0)};
  shape.pixels.assign(static_cast<std::size_t>(shape.width) * shape.height, 0);
  const int from = index % shape.height;
  for (int line = 0; line < 8; ++line) {
    const int to = (index * 7 + line * 23) % shape.height;
    for (int x = 0; x < shape.width; ++x) {
      const int y = from + (to - from) * x / (shape.width - 1);
      shape.pixels[static_cast<std::size_t>(y) * shape.width + x] = 1;
    }
  }
  return previewtest::BuildDib(shape);
}

// The folder, made once per run.
const std::filesystem::path& Folder() {
  static const bool made = [] {
    std::filesystem::remove_all(kFolder);
    std::filesystem::create_directories(kFolder);
    for (int i = 0; i < kDrawings; ++i) {
      const std::string drawing = probetest::AsText(probetest::BuildDrawing(
          "AC1015", {{1, probetest::HeaderData("")}, {2, Preview(i)}}));
      const auto target = kFolder / ("drawing " + std::to_string(1000 + i) + ".dwg");
      std::FILE* file = std::fopen(target.c_str(), "wb");
      std::fwrite(drawing.data(), 1, drawing.size(), file);
      std::fclose(file);
    }
    return true;
  }();
  (void)made;
  return kFolder;
}

class NoProgress final : public ui::CatalogueProgress {
 public:
  void Open(int) override {}
  void SetPos(int) override {}
  void Close() override {}
};

void PrintOnly(benchmark::State& state) {
  library::Directory d;
  d.path = fw::FromNativePath(Folder().string());
  fw::CFileFind finder;
  for (bool more = finder.FindFile(fw::PathJoin(d.path, L"*.dwg")); more;) {
    more = finder.FindNextFile();
    library::Block& b = d.AppendBlock();
    b.name = finder.GetFileTitle();
    b.currentStatus.size = finder.GetLength();
    library::Probe(d, b);
  }
  ui::Catalogue job;
  job.directory = &d;
  for (const auto& b : d.Blocks()) job.items.push_back({b.get(), b->imageIndex});
  job.versionText = L"3.9.10";
  const std::wstring pdf = fw::FromNativePath((kFolder / "print-only.pdf").string());
  NoProgress progress;
  for (auto _ : state) {
    fw::PdfPrinterDC printer(pdf, fw::PdfPrinterSetup{600, fw::Paper::kA4});
    if (!ui::PrintCatalogue(printer, job, progress)) state.SkipWithError("not printed");
  }
  state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(kFolder / "print-only.pdf")) / 1e6;
  state.SetItemsProcessed(state.iterations() * kDrawings);
}

void WholeProgram(benchmark::State& state) {
  const auto pdf = Folder().parent_path() / "qrva-catalogue-bench.pdf";
  const std::string command = std::string(QRVA_CATALOGUE_PROGRAM) + " --layout list --dpi 600 -o '" +
                              pdf.string() + "' '" + Folder().string() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("qrva-catalogue failed");
  }
  state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1e6;
  state.SetItemsProcessed(state.iterations() * kDrawings);
}

BENCHMARK(PrintOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WholeProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

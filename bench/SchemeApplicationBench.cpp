// The wait between the click on Insert and the host's insertion-point prompt when the directory
// has a scheme: PrepareMappedBlock on a library drawing of 10,000 objects on 200 layers (read
// apart, mapped, made a block of the receiving drawing), with a Layer scheme of 50 maps and with
// a Color scheme of 50 maps.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "arx/dbents.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "layermap/MapScheme.h"
#include "layermap/PrepareMappedBlock.h"

namespace {

constexpr int kLayers = 200;
constexpr int kObjects = 10000;
constexpr int kMaps = 50;

std::wstring LayerName(int i) { return fw::Format(L"L%03d", i); }

void AddLayers(AcDbDatabase& database) {
  AcDbLayerTable* table = nullptr;
  database.getLayerTable(table, AcDb::kForWrite);
  for (int i = 0; i < kLayers; ++i) {
    auto* layer = new AcDbLayerTableRecord();
    layer->setName(LayerName(i).c_str());
    AcCmColor colour;
    colour.setColorIndex(static_cast<Adesk::UInt16>(1 + i % 255));
    layer->setColor(colour);
    table->add(layer);
    layer->close();
  }
  table->close();
}

// Lines spread over the layers; every fourth has a colour of its own, the rest are ByLayer.
void AddObjects(AcDbDatabase& database) {
  AcDbBlockTable* table = nullptr;
  database.getBlockTable(table, AcDb::kForRead);
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
  table->close();
  AcDbLayerTable* layers = nullptr;
  database.getLayerTable(layers, AcDb::kForRead);
  for (int i = 0; i < kObjects; ++i) {
    auto* line =
        new AcDbLine(AcGePoint3d(i % 100, i / 100, 0), AcGePoint3d(i % 100 + 1, i / 100, 0));
    AcDbObjectId layer;
    layers->getAt(LayerName(i % kLayers).c_str(), layer);
    line->setLayer(layer);
    if (i % 4 == 0) line->setColorIndex(static_cast<Adesk::UInt16>(1 + i % 250));
    space->appendAcDbEntity(line);
    line->close();
  }
  layers->close();
  space->close();
}

// The library drawing, saved once.
const std::wstring& LibraryDrawing() {
  static const std::wstring path = [] {
    const auto folder = std::filesystem::temp_directory_path() / "qrva-scheme-bench";
    std::filesystem::create_directories(folder);
    const std::wstring file = fw::FromUtf8((folder / "library.dwg").string());
    AcDbDatabase database;
    AddLayers(database);
    AddObjects(database);
    database.saveAs(file.c_str(), false, AcDb::kDHL_1032);
    return file;
  }();
  return path;
}

// Layer: the first 50 layers each to a layer of its own. Color: colours 1 to 50 each to a layer.
layermap::MapScheme Scheme(layermap::SchemeKind kind) {
  layermap::MapScheme scheme;
  scheme.SetKind(kind);
  for (int i = 0; i < kMaps; ++i) {
    const std::wstring from =
        kind == layermap::SchemeKind::kLayer ? LayerName(i) : std::to_wstring(i + 1);
    scheme.SetMap(from, L"MAPPED-" + from);
  }
  return scheme;
}

void BM_PrepareMappedBlock(benchmark::State& state) {
  const auto kind = static_cast<layermap::SchemeKind>(state.range(0));
  layermap::MapScheme scheme = Scheme(kind);
  const std::wstring& library = LibraryDrawing();
  AcDbDatabase drawing;
  for (auto _ : state) {
    if (!layermap::PrepareMappedBlock(library, L"LIBRARY", scheme, drawing)) {
      state.SkipWithError("PrepareMappedBlock");
    }
  }
  state.SetLabel(fw::ToUtf8(layermap::ShownName(kind)) + ", 10,000 objects on 200 layers");
}
BENCHMARK(BM_PrepareMappedBlock)
    ->Arg(static_cast<int>(layermap::SchemeKind::kLayer))
    ->Arg(static_cast<int>(layermap::SchemeKind::kColor))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

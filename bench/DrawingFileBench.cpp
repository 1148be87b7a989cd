// Drawing-file figures of our host: writing a drawing of 10,000 objects (preview drawn and
// encoded, body written, file replaced) and reading it back, and reading a drawing of 1,000
// objects, which happens on every insertion that maps layers (a side database per insertion).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "arx/dbents.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"

namespace {

// Lines, circles, arcs and texts in turn, spread over a 1000 x 1000 field.
void Fill(AcDbDatabase& database, int objects) {
  AcDbBlockTable* table = nullptr;
  database.getBlockTable(table, AcDb::kForRead);
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
  table->close();
  for (int i = 0; i < objects; ++i) {
    const double x = (i * 37) % 1000;
    const double y = (i * 91) % 1000;
    AcDbEntity* entity = nullptr;
    switch (i % 4) {
      case 0:
        entity = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 10, y + 5, 0));
        break;
      case 1:
        entity = new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, 4);
        break;
      case 2:
        entity = new AcDbArc(AcGePoint3d(x, y, 0), 6, 0, 2);
        break;
      default:
        entity = new AcDbText(AcGePoint3d(x, y, 0), L"Label", AcDbObjectId::kNull, 2);
        break;
    }
    space->appendAcDbEntity(entity);
    entity->close();
  }
  space->close();
}

std::wstring ScratchDrawing(const char* name) {
  const auto folder = std::filesystem::temp_directory_path() / "qrva-drawing-bench";
  std::filesystem::create_directories(folder);
  return fw::FromUtf8((folder / name).string());
}

// A saved drawing of `objects` objects, made once.
std::wstring SavedDrawing(int objects) {
  const std::wstring path = ScratchDrawing(objects == 1000 ? "thousand.dwg" : "many.dwg");
  AcDbDatabase database;
  Fill(database, objects);
  database.saveAs(path.c_str(), false, AcDb::kDHL_1032);
  return path;
}

void BM_WriteDrawing(benchmark::State& state) {
  AcDbDatabase database;
  Fill(database, static_cast<int>(state.range(0)));
  const auto format = static_cast<AcDb::AcDbDwgVersion>(state.range(1));
  const std::wstring path = ScratchDrawing("written.dwg");
  for (auto _ : state) {
    if (database.saveAs(path.c_str(), false, format) != Acad::eOk) state.SkipWithError("saveAs");
  }
  state.SetLabel(format == AcDb::kDHL_1032 ? "2018, PNG preview" : "2000, BMP preview");
}
BENCHMARK(BM_WriteDrawing)
    ->Args({10000, AcDb::kDHL_1032})
    ->Args({10000, AcDb::kDHL_1015})
    ->Unit(benchmark::kMillisecond);

void BM_ReadDrawing(benchmark::State& state) {
  const std::wstring path = SavedDrawing(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    AcDbDatabase database(false);
    if (database.readDwgFile(path.c_str()) != Acad::eOk) state.SkipWithError("readDwgFile");
  }
}
BENCHMARK(BM_ReadDrawing)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

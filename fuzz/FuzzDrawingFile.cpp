// Fuzz target for the host's drawing reader: the input is a whole drawing file. Every input must
// end in a drawing read whole or a clear error, never a crash; a drawing that was read is listed,
// drawn into a small preview, and written and read back without a loss.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/DrawingDecoder.h"
#include "minicad/DrawingEncoder.h"
#include "minicad/DrawingFiles.h"
#include "minicad/PreviewRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  minicad::DrawingRead read = minicad::ReadDrawingBytes({data, size}, L"fuzz.dwg");
  if (read.status != Acad::eOk) {
    if (read.error.empty() || read.database != nullptr) std::abort();
    return 0;
  }
  const AcDbImpDatabase& drawing = AcDbImpDatabase::Of(*read.database);
  const auto lines = minicad::ListDrawing(drawing);
  (void)minicad::RenderModelSpace(drawing, 32, 24, 0);
  const std::vector<std::uint8_t> body = minicad::EncodeDrawing(drawing);
  AcDbDatabase again(false);
  if (!minicad::DecodeDrawing(body, AcDbImpDatabase::Of(again)) ||
      minicad::ListDrawing(AcDbImpDatabase::Of(again)) != lines) {
    std::abort();
  }
  return 0;
}

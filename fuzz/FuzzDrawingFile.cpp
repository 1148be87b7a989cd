// Fuzz target for the host's drawing reader: the input is a whole drawing file. Every input must
// end in a drawing read whole or a clear error, never a crash. The body is also read without
// its check sum, so that changed bytes reach the reader behind it; a drawing read that way is
// listed, drawn into a small preview, and written and read back without a loss.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/DrawingDecoder.h"
#include "minicad/DrawingEncoder.h"
#include "minicad/DrawingFiles.h"
#include "minicad/DwgContainer.h"
#include "minicad/PreviewRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  minicad::DrawingRead read = minicad::ReadDrawingBytes(file, L"fuzz.dwg");
  if (read.status != Acad::eOk && (read.error.empty() || read.database != nullptr)) std::abort();

  const minicad::ContainerContents contents = minicad::ReadContainer(file);
  if (!contents.Ok()) return 0;
  AcDbDatabase unchecked(false);
  AcDbImpDatabase& drawing = AcDbImpDatabase::Of(unchecked);
  if (!minicad::DecodeDrawing(contents.body, drawing, false)) return 0;
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

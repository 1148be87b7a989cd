// The drawing reader the library browser asks about drawings: the assembly "QuorvaHelper" of the
// managed bridge (see fw/ManagedBridge.h for the naming convention), type `Services`, operation
// `LoadDrawing`. It reads minicad's drawings with the host's own reader and answers their
// creation and update dates, their description (the summary information's comments) and the
// record of the one model-space viewport their preview shows; for any other file it fails.
#include <cstdint>
#include <string>

#include "fw/ManagedBridge.h"
#include "fw/NativePath.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DrawingFiles.h"

namespace {

// No state: each call reads its drawing afresh. Calls may come from any thread.
struct Services {};

fw_managed_value Value(std::int32_t kind) {
  fw_managed_value value{};
  value.kind = kind;
  return value;
}

void AddBool(const fw_managed_sink* results, bool flag) {
  fw_managed_value value = Value(fw_managed_bool);
  value.integer = flag ? 1 : 0;
  results->add(results->context, &value);
}

void AddInteger(const fw_managed_sink* results, std::int64_t number) {
  fw_managed_value value = Value(fw_managed_integer);
  value.integer = number;
  results->add(results->context, &value);
}

// The viewport of the saved model-space view: P is the drawing's insertion base, the viewport
// covers the whole preview, the view looks straight down at its centre without twist.
void AddViewport(const fw_managed_sink* results, const minicad::DrawingHeader& header) {
  const AcGePoint3d& base = header.insertionBase;
  const minicad::ModelView& view = header.view;
  const double record[18] = {
      base.x,      base.y, base.z,       0,           0, 1, 1, 0, 0, 0, 0, 0, 1, view.width,
      view.height, 0,      view.centreX, view.centreY};
  fw_managed_value value = Value(fw_managed_reals);
  value.reals = record;
  value.count = 18;
  results->add(results->context, &value);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* Services_Create() { return new Services; }

__attribute__((visibility("default"))) void Services_Destroy(void* instance) {
  delete static_cast<Services*>(instance);
}

// Arguments: text path, bool want points, integer bitmap width, integer bitmap height.
// Results: bool success, then on success reals viewport records, integer created, integer
// modified (seconds since 1970), text description.
__attribute__((visibility("default"))) std::int32_t Services_LoadDrawing(
    void*, const fw_managed_value* arguments, std::uint64_t count, const fw_managed_sink* results) {
  if (arguments == nullptr || results == nullptr || count < 1 ||
      arguments[0].kind != fw_managed_text || arguments[0].text == nullptr) {
    return 1;
  }
  const std::wstring path = fw::FromNativePath(arguments[0].text);
  minicad::DrawingRead read = minicad::ReadDrawingFile(path);
  if (read.status != Acad::eOk) {
    AddBool(results, false);
    return 0;
  }
  const minicad::DrawingHeader& header = AcDbImpDatabase::Of(*read.database).Header();
  AddBool(results, true);
  AddViewport(results, header);
  AddInteger(results, header.created);
  AddInteger(results, header.updated);
  const std::string description =
      fw::NativePath(header.summary[AcDbDatabaseSummaryInfo::kComments]);
  fw_managed_value text = Value(fw_managed_text);
  text.text = description.c_str();
  results->add(results->context, &text);
  return 0;
}
}

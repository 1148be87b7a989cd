// The bridge to the outside drawing reader.
#include "dwgprobe/DrawingReader.h"

#include "dwgprobe/ViewportPoint.h"
#include "fw/FileName.h"
#include "fw/ManagedBridge.h"
#include "fw/Module.h"
#include "fw/Trace.h"

namespace dwgprobe {

namespace {

constexpr const wchar_t* kReaderAssembly = L"QuorvaHelper";
constexpr const char* kReaderType = "Services";
constexpr const char* kReaderMethod = "LoadDrawing";

// The results of LoadDrawing in their fixed order.
enum ResultSlot : std::size_t { kSuccess, kRecords, kCreated, kModified, kDescription, kSlots };

template <typename T>
const T* Slot(const std::vector<fw::ManagedValue>& results, ResultSlot slot) {
  return results.size() > slot ? std::get_if<T>(&results[slot]) : nullptr;
}

std::mutex processReaderMutex;
std::unique_ptr<DrawingReader>& ProcessReader() {
  static std::unique_ptr<DrawingReader> reader;
  return reader;
}

}  // namespace

DrawingReader::DrawingReader(std::wstring folder) : folder_(std::move(folder)) {}
DrawingReader::~DrawingReader() = default;

fw::ManagedObject* DrawingReader::Services() {
  if (services_ || createFailed_) return services_.get();
  const std::wstring folder = folder_;
  fw::SetAssemblyResolver(
      [folder](const std::wstring& name) { return fw::HelperAssemblyPath(folder, name); });
  try {
    services_ = fw::ManagedAssembly::Load(kReaderAssembly)->CreateInstance(kReaderType);
  } catch (const fw::ManagedException& e) {
    createFailed_ = true;
    LogLine(L"drawing reader unavailable: %ls\n", e.Message().c_str());
  }
  return services_.get();
}

bool DrawingReader::LoadDrawing(const std::wstring& path, bool showPoints,
                                std::optional<PreviewSize> bitmap, std::vector<double>& points,
                                std::int64_t& created, std::int64_t& modified,
                                std::wstring& description) {
  std::lock_guard lock(mutex_);
  fw::ManagedObject* services = Services();
  if (services == nullptr) return false;
  const PreviewSize size = bitmap.value_or(PreviewSize{0, 0});
  std::vector<fw::ManagedValue> results;
  try {
    results = services->Invoke(kReaderMethod, {path, showPoints && bitmap.has_value(),
                                               std::int64_t{size.width}, std::int64_t{size.height}});
  } catch (const fw::ManagedException& e) {
    LogLine(L"drawing reader: %ls\n", e.Message().c_str());
    return false;
  }
  const bool* success = Slot<bool>(results, kSuccess);
  const auto* records = Slot<std::vector<double>>(results, kRecords);
  const auto* createdAt = Slot<std::int64_t>(results, kCreated);
  const auto* modifiedAt = Slot<std::int64_t>(results, kModified);
  const auto* text = Slot<std::wstring>(results, kDescription);
  if (!success || !*success || !records || !createdAt || !modifiedAt || !text) return false;
  created = *createdAt;
  modified = *modifiedAt;
  description = *text;
  // Points only when they were asked for: a reader that sends records anyway draws no markers.
  if (showPoints && bitmap) AppendInsertionPoints(*records, size.width, size.height, points);
  return true;
}

bool LoadDrawing(const std::wstring& path, bool showPoints, std::optional<PreviewSize> bitmap,
                 std::vector<double>& points, std::int64_t& created, std::int64_t& modified,
                 std::wstring& description) {
  DrawingReader* reader;
  {
    std::lock_guard lock(processReaderMutex);
    auto& slot = ProcessReader();
    if (!slot) {
      const auto module = fw::ModuleFromAddress(reinterpret_cast<const void*>(&UnloadDrawingReader));
      slot = std::make_unique<DrawingReader>(fw::FolderOf(fw::GetModuleFileName(module)));
    }
    reader = slot.get();
  }
  return reader->LoadDrawing(path, showPoints, bitmap, points, created, modified, description);
}

void UnloadDrawingReader() {
  std::lock_guard lock(processReaderMutex);
  ProcessReader().reset();
  // The resolver is this module's code: the framework, which outlives the module, must not keep
  // it (destroying it after the module is unmapped would jump into unmapped code).
  fw::SetAssemblyResolver(nullptr);
}

}  // namespace dwgprobe

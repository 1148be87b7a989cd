// The bridge to the outside drawing reader: the type `Services` of the assembly `QuorvaHelper`,
// asked through the managed-runtime bridge for a drawing's dates, summary description and the
// insertion points of its viewports.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fw {
class ManagedObject;
}

namespace dwgprobe {

struct PreviewSize {
  int width;
  int height;
};

// `Services.LoadDrawing` takes (text path, bool want points, integer bitmap width, integer
// bitmap height) and gives (bool success, reals viewport records of 18 doubles each, integer
// created, integer modified, text description); dates are seconds since 1970.
class DrawingReader {
 public:
  // Helper assemblies are looked for in `folder` (name up to the first comma, plus ".dll").
  explicit DrawingReader(std::wstring folder);
  ~DrawingReader();
  DrawingReader(const DrawingReader&) = delete;
  DrawingReader& operator=(const DrawingReader&) = delete;

  // Asks the reader about `path`. Points are wanted when `showPoints` and a bitmap are both
  // given; they are appended to `points` as x, y pairs in pixels of the bitmap, origin at its
  // lower left. On success the dates and description are set; on failure (no reader, a missing
  // type or method, the reader's own failure) nothing is changed and the result is false.
  // Any thread; calls are serialised.
  bool LoadDrawing(const std::wstring& path, bool showPoints, std::optional<PreviewSize> bitmap,
                   std::vector<double>& points, std::int64_t& created, std::int64_t& modified,
                   std::wstring& description);

 private:
  // The one `Services` instance, created at the first call. A reader that could not be
  // created is not tried again: each try would load the assembly anew for every drawing.
  fw::ManagedObject* Services();

  std::mutex mutex_;
  std::wstring folder_;
  std::shared_ptr<fw::ManagedObject> services_;
  bool createFailed_ = false;
};

// The process's reader, whose helper assemblies lie in the folder of the module holding this
// code; created on first use, kept until UnloadDrawingReader or the end of the process.
bool LoadDrawing(const std::wstring& path, bool showPoints, std::optional<PreviewSize> bitmap,
                 std::vector<double>& points, std::int64_t& created, std::int64_t& modified,
                 std::wstring& description);
// Releases the process's reader (the module's unload calls it); a later call makes a new one.
void UnloadDrawingReader();

}  // namespace dwgprobe

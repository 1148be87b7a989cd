// What the cache fuzz targets share: a UI driver that answers at once and keeps nothing, and a
// scratch file in one folder per process, removed when the process exits.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/HeadlessUiDriver.h"

namespace fuzzsupport {

// Answers every message box at once and keeps nothing, so a long run does not grow.
class SilentUi : public fw::HeadlessUiDriver {
 public:
  int MessageBox(const std::wstring&, const std::wstring&, unsigned) override { return fw::IDOK; }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::optional<int> ChooseColor(int) override { return std::nullopt; }
};

// The path of `name` in the process's scratch folder; each input overwrites the same file.
inline std::wstring ScratchFile(const wchar_t* name) {
  static const std::wstring folderPath = [] {
    static std::string folder =
        (std::filesystem::temp_directory_path() / "qrva-fuzz-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return fw::FromNativePath(folder);
  }();
  return fw::PathJoin(folderPath, name);
}

}  // namespace fuzzsupport

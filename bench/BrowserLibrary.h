// The browser's library for benchmarks: a scratch folder of drawings with previews, the host,
// the settings and the main dialog shown in this process; a presenter, when given, shows it
// (the windowed benchmarks), else the posts are only delivered as the headless driver does.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "DrawingBuilder.h"
#include "fw/Dialog.h"
#include "fw/FileName.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Module.h"
#include "fw/NativePath.h"
#include "fw/Resources.h"
#include "fw/UserInput.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "library/LoaderControl.h"
#include "library/LoaderView.h"
#include "minicad/Host.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/BlockDlgTemplate.h"
#include "ui/DialogLoaderView.h"

#include "fw/UiPresenter.h"

namespace browserbench {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

inline constexpr int kPaintDrawings = 5000;
inline constexpr int kRescanDrawings = 10000;
inline constexpr int kProbedDrawings = 2000;
inline constexpr auto kPatience = std::chrono::seconds(120);

inline const fw::ModuleResources benchResources(&benchResources, {ui::BlockDlgTemplate()}, {});

// A drawing of the 2000 format with an 8-bit 180 x 88 preview of a few shapes.
inline std::vector<std::uint8_t> PreviewDrawing() {
  previewtest::DibSpec shape;
  shape.width = 180;
  shape.height = 88;
  shape.coloursUsed = 2;
  shape.palette = {fw::RGB(0, 0, 0), fw::RGB(255, 255, 255)};
  shape.pixels.resize(180 * 88);
  for (int y = 0; y < 88; ++y) {
    for (int x = 0; x < 180; ++x) {
      bool line = x == y || x == 179 - y || y == 44 || (x - 90) * (x - 90) + (y - 44) * (y - 44) < 400;
      shape.pixels[static_cast<std::size_t>(y * 180 + x)] = line ? 1 : 0;
    }
  }
  return probetest::BuildDrawing("AC1015", {{1, std::vector<std::uint8_t>(80, 0)},
                                            {2, previewtest::BuildDib(shape)}});
}

// The scratch folder, the host and the headless driver, made once for the whole run.
class Bench {
 public:
  static Bench& Get() {
    static Bench bench;
    return bench;
  }

  std::wstring Folder(const std::string& name) const {
    return fw::FromNativePath((root_ / name).string());
  }
  // A folder of `count` drawings "<stem>NNNNN.dwg", each a hard link to the preview drawing.
  std::wstring MakeLibrary(const std::string& name, int count) {
    fs::path folder = root_ / name;
    if (fs::exists(folder)) return Folder(name);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      char title[32];
      std::snprintf(title, sizeof title, "Symbol-%05d.dwg", i);
      fs::create_hard_link(proto_, folder / title);
    }
    return Folder(name);
  }
  // The settings file for these folders (description, path), the first current.
  void WriteSettings(const std::vector<std::pair<std::string, std::wstring>>& directories) {
    std::string text = "[Paths]\nNumPaths=" + std::to_string(directories.size()) + "\n";
    for (std::size_t i = 0; i < directories.size(); ++i) {
      text += "Path" + std::to_string(i + 1) + "=" + fw::NativePath(directories[i].second) + "\n";
    }
    for (const auto& [description, path] : directories) {
      text += "[" + fw::NativePath(path) + "]\nDescription=" + description + "\n";
    }
    std::ofstream(root_ / "support/qv35.ini", std::ios::binary | std::ios::trunc) << text;
  }
  // Settings and library as a fresh module has them after the first drawing loaded.
  void Reload(bool withCache) {
    library::JoinLoader();
    library::EmptyLibrary();
    settings::ResetSettings();
    if (!withCache) {
      for (const auto& entry : fs::directory_iterator(root_ / "support")) {
        if (entry.path().extension() == ".cache") fs::remove(entry.path());
      }
    }
    settings::LoadIni();
  }
  void CountProbes(std::function<void()> onProbe) {
    library::LoaderHooks hooks;
    hooks.changePriority = false;
    hooks.probe = [onProbe](library::Directory& d, library::Block& b) {
      (void)library::Probe(d, b);
      if (onProbe) onProbe();
    };
    library::SetLoaderHooks(std::move(hooks));
  }

  fw::HeadlessUiDriver driver;
  fw::CEvent setupDone{true, true};
  std::wstring pickerStart;

 private:
  Bench() {
    std::string pattern = (fs::temp_directory_path() / "qrva-browser-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    fs::create_directories(root_ / "support");
    proto_ = root_ / "proto.dwg";
    std::vector<std::uint8_t> bytes = PreviewDrawing();
    std::ofstream(proto_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    minicad::HostOptions options;
    options.supportFolders = {Folder("support")};
    options.captureConsole = false;
    host_ = std::make_unique<minicad::Host>(options);
    fw::SetUiDriver(&driver);
    library::SetUseCompression(true);
    CountProbes(nullptr);
    pickerStart = Folder("");
  }
  ~Bench() {
    library::JoinLoader();
    library::EmptyLibrary();
    fw::SetUiDriver(nullptr);
    host_.reset();
    fs::remove_all(root_);
  }

  fs::path root_;
  fs::path proto_;
  std::unique_ptr<minicad::Host> host_;
};

// One showing of the main dialog, presented by this thread as a windowing presenter would:
// posts delivered, clicks through the user's handlers.
class Showing {
 public:
  Showing()
      : scope_(fw::ModuleFromAddress(&benchResources)),
        dialog_(nullptr, ui::BlockDlgEnvironment{L"3.9.10", Bench::Get().Folder("module"),
                                                 &Bench::Get().pickerStart,
                                                 &Bench::Get().setupDone}) {
    dialog_.BeginShowing(true);
    dialog_.InitDialog();
  }
  ~Showing() {
    fw::UserInput(dialog_).Cancel();
    Until([&] { return dialog_.IsEnded(); });
    if (presenter_ != nullptr) presenter_->Ending(dialog_);
    dialog_.FinishShowing();
  }
  Showing(const Showing&) = delete;
  Showing& operator=(const Showing&) = delete;

  // From now on the presenter shows the dialog and its changes.
  void Present(fw::UiPresenter& presenter) {
    presenter_ = &presenter;
    presenter.Shown(dialog_, true);
  }

  // Selects the directory with this description, as a click on its row.
  void Select(const std::wstring& description) {
    fw::UserInput input(dialog_);
    fw::Result<int> row = input.FindItem(ui::kIdDirectories, description);
    if (!row || !input.ChooseItem(ui::kIdDirectories, row.Value())) std::abort();
  }
  // Delivers posts until `done`; aborts after kPatience.
  void Until(const std::function<bool()>& done) {
    Clock::time_point deadline = Clock::now() + kPatience;
    for (;;) {
      dialog_.DeliverPosted();
      if (presenter_ != nullptr) {
        std::vector<fw::ControlChange> changes = dialog_.Queue().TakeChanges();
        if (!changes.empty()) presenter_->Changed(dialog_, changes);
      }
      if (done()) return;
      if (Clock::now() > deadline) std::abort();
      const Clock::time_point next = Clock::now() + std::chrono::microseconds(200);
      if (presenter_ != nullptr) {
        presenter_->WaitUntil(dialog_, next);
      } else {
        dialog_.Queue().WaitUntil(next);
      }
    }
  }
  void UntilIdle() { Until([] { return library::IsLoaderIdle(); }); }
  // The block list shows d's blocks, every one with its texts, in place of the placeholder.
  bool Painted(const library::Directory& d) {
    return dialog_.View().IsFilled(d) && dialog_.GetDlgItem(ui::kIdBlocks)->IsWindowVisible() &&
           dialog_.Blocks().Control().GetItemCount() == static_cast<int>(d.BlockCount());
  }
  ui::BlockDlg& Dialog() { return dialog_; }

 private:
  fw::ModuleStateScope scope_;
  ui::BlockDlg dialog_;
  fw::UiPresenter* presenter_ = nullptr;
};

inline library::Directory& Named(const std::wstring& description) {
  for (const auto& d : library::TheLibrary().Directories()) {
    if (d->description == description) return *d;
  }
  std::abort();
}

// Two directories, "Small" (current) and "Symbols" with 5,000 drawings, read and cached once.
inline void PrepareCachedLibrary() {
  static bool prepared = false;
  Bench& bench = Bench::Get();
  if (prepared) return;
  prepared = true;
  std::wstring small = bench.MakeLibrary("small", 1);
  std::wstring symbols = bench.MakeLibrary("symbols", kPaintDrawings);
  bench.WriteSettings({{"Small", small}, {"Symbols", symbols}});
  bench.Reload(false);
  {
    Showing showing;
    showing.UntilIdle();
  }
  settings::SaveIni(true);
}

inline double Seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

}  // namespace browserbench

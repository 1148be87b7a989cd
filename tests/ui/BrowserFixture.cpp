// The in-process browser fixture.
#include "BrowserFixture.h"

#include <algorithm>
#include <utility>

#include "fw/FileStatus.h"
#include "fw/Module.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "fw/UiScript.h"
#include "layermap/SchemeTable.h"
#include "library/Block.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgTemplate.h"
#include "ui/ViewPictures.h"

namespace browsertest {
namespace {

// The dialog's template and the view pictures among this test program's resources, as the module
// has them among its.
const fw::ModuleResources testResources(
    &testResources, {ui::BlockDlgTemplate()},
    {fw::BitmapResource{ui::kViewPicturesBitmapId, ui::ViewPicturesDib()}});

minicad::HostOptions HostIn(const testsupport::TempFolder& folder) {
  minicad::HostOptions options;
  options.supportFolders = {folder / L"support"};
  return options;
}

}  // namespace

BrowserFixture::BrowserFixture() : host_(HostIn(folder_)) {
  fw::CreateDirectory(folder_ / L"support");
  fw::SetUiDriver(&ui_);
  fw::SetTraceSink([this](std::wstring_view line) {
    {
      std::lock_guard guard(lock_);
      log_.emplace_back(line);
    }
    if (onLog_) onLog_(std::wstring(line));
  });
  settings::ResetSettings();
  library::SetUseCompression(true);
  library::LoaderHooks hooks;
  // Tests share the machine with others: a loader in the idle class could wait for seconds.
  hooks.changePriority = false;
  hooks.probe = [this](library::Directory& d, library::Block& b) {
    {
      std::lock_guard guard(lock_);
      probed_.push_back(b.name);
    }
    if (onProbe_) onProbe_(b.name);
    (void)library::Probe(d, b);
  };
  library::SetLoaderHooks(std::move(hooks));
  pickerStart_ = folder_.Path();
  WriteSettings("");
}

BrowserFixture::~BrowserFixture() {
  library::JoinLoader();
  library::EmptyLibrary();
  layermap::SchemeMap().Clear();
  settings::ResetSettings();
  library::SetLoaderHooks({});
  fw::SetTraceSink(nullptr);
  fw::SetUiDriver(nullptr);
}

std::wstring BrowserFixture::MakeFolder(const std::wstring& name,
                                        const std::vector<std::wstring>& drawings,
                                        const char* version) {
  std::wstring path = folder_ / name;
  fw::CreateDirectory(path);
  std::string header = std::string(version) + std::string(7, '\0');
  for (const std::wstring& drawing : drawings) {
    testsupport::WriteFile(path + L"/" + drawing + L".dwg", header);
  }
  return path;
}

void BrowserFixture::WriteSettings(const std::string& text) {
  testsupport::WriteFile(folder_ / L"support/qv35.ini", text);
}

void BrowserFixture::LoadSettings() { settings::LoadIni(); }

std::vector<std::string> BrowserFixture::RunDialog(const std::string& script, bool mayFail) {
  fw::Result<std::vector<fw::UiStep>> steps = fw::ParseUiScript(script);
  EXPECT_TRUE(steps) << fw::ToUtf8(steps.Message());
  if (steps) {
    ui_.AddSteps(steps.Value());
  }
  std::vector<std::string> before = ui_.Transcript();
  {
    // The template is found among the resources of the module whose code runs, as in the host.
    fw::ModuleStateScope moduleState(fw::ModuleFromAddress(&testResources));
    ui::BlockDlgEnvironment environment{L"3.9.10", folder_ / L"module", &pickerStart_,
                                        &setupDone_};
    ui::BlockDlg dialog(nullptr, std::move(environment));
    dialog.DoModal();
    dialog.RunPendingAction();
  }
  bool passed = ui_.Finish();
  std::vector<std::string> after = ui_.Transcript();
  std::vector<std::string> showing(after.begin() + static_cast<std::ptrdiff_t>(before.size()),
                                   after.end());
  if (!mayFail) {
    std::string errors;
    for (const std::string& line : showing) {
      if (line.starts_with("ui: error")) errors += line + "\n";
    }
    EXPECT_TRUE(passed) << errors;
  }
  return showing;
}

bool BrowserFixture::Recorded(const std::string& line) const {
  std::vector<std::string> transcript = ui_.Transcript();
  return std::find(transcript.begin(), transcript.end(), line) != transcript.end();
}

int BrowserFixture::CountLogLines(const std::wstring& line) {
  std::lock_guard guard(lock_);
  int count = 0;
  for (const std::wstring& logged : log_) count += logged == line ? 1 : 0;
  return count;
}

std::vector<std::wstring> BrowserFixture::Log() {
  std::lock_guard guard(lock_);
  return log_;
}

std::vector<std::wstring> BrowserFixture::Probed() {
  std::lock_guard guard(lock_);
  return probed_;
}

std::string SettingsFor(const std::vector<std::pair<std::wstring, std::wstring>>& directories) {
  std::string text = "[Paths]\nNumPaths=" + std::to_string(directories.size()) + "\n";
  for (std::size_t i = 0; i < directories.size(); ++i) {
    text += "Path" + std::to_string(i + 1) + "=" + fw::ToUtf8(directories[i].first) + "\n";
  }
  for (const auto& [path, description] : directories) {
    text += "[" + fw::ToUtf8(path) + "]\nDescription=" + fw::ToUtf8(description) + "\n";
  }
  return text;
}

}  // namespace browsertest

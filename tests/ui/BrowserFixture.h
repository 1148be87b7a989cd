// The main dialog run in the test's own process: a host with the settings on its support path
// in a fresh folder, the headless driver with a script, the run log captured, and helpers that
// write drawings and read back what the dialog did.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "fw/HeadlessUiDriver.h"
#include "fw/Sync.h"
#include "minicad/Host.h"
#include "support/TempFolder.h"

namespace browsertest {

class BrowserFixture : public ::testing::Test {
 protected:
  BrowserFixture();
  ~BrowserFixture() override;

  // A folder of drawings "<name>.dwg", each a drawing header of the version string given.
  std::wstring MakeFolder(const std::wstring& name, const std::vector<std::wstring>& drawings,
                          const char* version = "AC1032");
  // The settings file's text (written before the first load).
  void WriteSettings(const std::string& text);
  // The first drawing's load: the settings and the library from the file.
  void LoadSettings();

  // Runs the dialog modally on a script; returns the `ui:` lines. A script that fails fails the
  // test unless `mayFail`.
  std::vector<std::string> RunDialog(const std::string& script, bool mayFail = false);
  // Run-log lines equal to `line` (with its line end) since the fixture started.
  int CountLogLines(const std::wstring& line);
  std::vector<std::wstring> Log();
  // How many drawings the loader probed, and of which names, in order.
  std::vector<std::wstring> Probed();

  // Called on the loader thread with each drawing's name before it is probed.
  std::function<void(const std::wstring& name)> onProbe_;
  // Called with each run-log line on the thread that logs it, after it was kept.
  std::function<void(const std::wstring& line)> onLog_;
  // Whether the driver has recorded this `ui:` line.
  bool Recorded(const std::string& line) const;

  testsupport::TempFolder folder_;
  fw::HeadlessUiDriver ui_;
  minicad::Host host_;
  std::wstring pickerStart_;
  fw::CEvent setupDone_{true, true};

 private:
  std::mutex lock_;
  std::vector<std::wstring> log_;
  std::vector<std::wstring> probed_;
};

// The settings file's text for a library of these folders (path, description) in order.
std::string SettingsFor(const std::vector<std::pair<std::wstring, std::wstring>>& directories);

}  // namespace browsertest

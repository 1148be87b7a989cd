// A small dialog of the tests' own with a control of every kind, handlers on every event the
// system's dialogs use, a timer, posts from worker threads and every question of the UI driver,
// so scripts can drive all of it through the headless driver.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fw/Dialog.h"

namespace testsupport {

// Control and command ids of the test dialog.
enum ScriptDialogId : int {
  kApply = 1001,
  kEnableList = 1002,
  kSmall = 1003,
  kMedium = 1004,
  kLarge = 1005,
  kName = 1010,
  kScale = 1011,
  kKind = 1012,
  kCounts = 1020,
  kBlocks = 1030,
  kView = 1040,
  kProgress = 1050,
  kStatus = 1060,
  kLog = 1061,
  kHiddenButton = 1070,
  kDisabledButton = 1071,
  kAsk = 1080,
  kNested = 1081,
  kWorker = 1082,
  kCloser = 1083,
  kTicker = 7,          // the timer
  kFirstPosted = 2001,  // the worker posts 2001 ... 2005
  kEndCommand = 248,    // posted: ends the modal loop
  kMenuOpen = 3001,
  kMenuRefresh = 3002,
  kMenuViewBase = 3100,  // + view index 0..3
};

class ScriptDialog : public fw::Dialog {
 public:
  ScriptDialog();
  ~ScriptDialog() override;

  // The members DoDataExchange fills.
  std::wstring name = L"Bolts";
  int size = 1;
  bool listEnabled = true;

  // True once the worker threads have posted everything (the test's background-idle hook).
  bool WorkersDone() const { return workersRunning_.load() == 0; }

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  bool OnInitDialog() override;

 private:
  void Status(const std::wstring& text);
  void FillBlocks();
  void SortBlocks(int column);
  void ShowBlockMenu(const fw::Notify& notify);
  void ShowViewMenu();
  void SetView(int index);
  void Ask();
  void StartWorker(bool closeAfterwards);
  void JoinWorkers();

  int view_ = 3;
  int sortColumn_ = -1;
  bool sortDescending_ = false;
  std::atomic<int> workersRunning_{0};
  std::thread worker_;
};

// The nested dialog the "Nested" button opens: one edit and OK.
class NestedDialog : public fw::Dialog {
 public:
  NestedDialog();
};

// What a script did to the test dialog: every `ui:` line, whether the script ran through, and
// the dialog's end code.
struct ScriptRun {
  std::vector<std::string> transcript;
  bool passed = false;
  int endCode = 0;
};

// Parses the script (a parse error fails the test), installs a headless driver with it and a
// background-idle hook that waits for the dialog's workers, runs the dialog modally, then asks
// one message box ("Saved.") as the code after a dialog would, and finishes the script.
ScriptRun RunScriptDialog(std::string_view script,
                          std::chrono::milliseconds waitLimit = std::chrono::seconds(20));

}  // namespace testsupport

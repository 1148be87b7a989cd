// Helpers for the host's tests: a log of what test commands and reactors saw, a reactor that
// writes to it, and commands registered straight from the test program.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx/arxHeaders.h"
#include "support/TempFolder.h"

namespace minicadtest {

// What happened, in order. Each test starts with it empty (HostTest clears it).
std::vector<std::wstring>& Events();

// Writes "willStart NAME", "ended NAME", "cancelled NAME", "failed NAME" to Events().
class RecordingReactor : public AcEditorReactor {
 public:
  void commandWillStart(const ACHAR* name) override;
  void commandEnded(const ACHAR* name) override;
  void commandCancelled(const ACHAR* name) override;
  void commandFailed(const ACHAR* name) override;
};

// Registers a command of the group "TESTS" with the same global and local name; fails the test
// when the host refuses it.
void AddTestCommand(const wchar_t* name, AcRxFunctionPtr function,
                    Adesk::Int32 flags = ACRX_CMD_MODAL);

// Starts each test with an empty event log and a fresh folder for drawings.
class HostTest : public ::testing::Test {
 protected:
  HostTest() { Events().clear(); }
  // Writes a file standing for a drawing (minicad does not read drawings yet) and returns its
  // path.
  std::wstring MakeDrawing(const std::wstring& name);

  testsupport::TempFolder folder_;
};

}  // namespace minicadtest

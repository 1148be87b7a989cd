#include "HostTestSupport.h"

#include <gtest/gtest.h>

namespace minicadtest {

std::vector<std::wstring>& Events() {
  static std::vector<std::wstring> events;
  return events;
}

void RecordingReactor::commandWillStart(const ACHAR* name) {
  Events().push_back(L"willStart " + std::wstring(name));
}
void RecordingReactor::commandEnded(const ACHAR* name) {
  Events().push_back(L"ended " + std::wstring(name));
}
void RecordingReactor::commandCancelled(const ACHAR* name) {
  Events().push_back(L"cancelled " + std::wstring(name));
}
void RecordingReactor::commandFailed(const ACHAR* name) {
  Events().push_back(L"failed " + std::wstring(name));
}

void AddTestCommand(const wchar_t* name, AcRxFunctionPtr function, Adesk::Int32 flags) {
  EXPECT_EQ(acedRegCmds->addCommand(L"TESTS", name, name, flags, function), Acad::eOk) << name;
}

std::wstring HostTest::MakeDrawing(const std::wstring& name) {
  std::wstring path = folder_ / name;
  testsupport::WriteFile(path, "AC1032");
  return path;
}

}  // namespace minicadtest

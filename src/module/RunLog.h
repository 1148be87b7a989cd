// The run log: a plain-text trace of what the module did, one new file per host session in a
// folder "Log" beside the module. Without that folder nothing is ever written.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace module {

class RunLog {
 public:
  // `logFolder` is the folder to write into; `computerName` names this machine's files.
  RunLog(std::wstring logFolder, std::wstring computerName);

  // Appends one line (opening, appending and closing the file, so every line is on disk when
  // the call returns). The first call checks the folder once, finding it whatever the case of
  // its name: when it is missing or is not a folder, logging stays off for the life of this
  // object. It then creates this session's file, exclusively, so sessions started together
  // never share one. Safe from any thread: lines from concurrent callers are never lost or
  // interleaved.
  void Append(std::wstring_view line);

  bool IsEnabled() const;
  // This session's file, empty until the first line was written.
  std::wstring Path() const;

 private:
  bool ChoosePath();

  mutable std::mutex lock_;
  const std::wstring logFolder_;
  const std::wstring computerName_;
  bool enabled_ = true;
  std::wstring path_;
};

// Starts the module's run log in `moduleDirectory`/Log and routes LogLine to it; StopRunLog
// routes LogLine nowhere again (before the module is unmapped).
void StartRunLog(const std::wstring& moduleDirectory);
void StopRunLog();

}  // namespace module

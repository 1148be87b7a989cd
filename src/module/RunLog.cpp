#include "module/RunLog.h"

#include <cstdio>
#include <memory>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Trace.h"

namespace module {
namespace {

constexpr const wchar_t* kLogFolderName = L"Log";
constexpr const wchar_t* kLogFileFormat = L"qv for %s %d.log";
// Numbers tried before giving up on a folder that somehow holds every name.
constexpr int kMaxLogFileNumber = 1000000;

}  // namespace

RunLog::RunLog(std::wstring logFolder, std::wstring computerName)
    : logFolder_(std::move(logFolder)), computerName_(std::move(computerName)) {}

bool RunLog::IsEnabled() const {
  std::lock_guard<std::mutex> guard(lock_);
  return enabled_;
}

std::wstring RunLog::Path() const {
  std::lock_guard<std::mutex> guard(lock_);
  return path_;
}

// Picks the first "qv for <computer> <n>.log" that does not exist, so each session writes a
// new file and earlier ones are kept.
bool RunLog::ChoosePath() {
  if (!fw::IsDirectory(logFolder_)) return false;
  for (int number = 1; number <= kMaxLogFileNumber; ++number) {
    std::wstring candidate =
        fw::PathJoin(logFolder_, fw::Format(kLogFileFormat, computerName_.c_str(), number));
    if (!fw::PathExists(candidate)) {
      path_ = std::move(candidate);
      return true;
    }
  }
  return false;
}

void RunLog::Append(std::wstring_view line) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!enabled_) return;
  if (path_.empty() && !ChoosePath()) {
    enabled_ = false;
    return;
  }
  std::FILE* file = std::fopen(fw::ToUtf8(path_).c_str(), "a");
  if (file == nullptr) return;  // the line is dropped without a report
  std::string bytes = fw::ToUtf8(line);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

void StartRunLog(const std::wstring& moduleDirectory) {
  auto log = std::make_shared<RunLog>(fw::PathJoin(moduleDirectory, kLogFolderName),
                                      fw::GetComputerName());
  fw::SetTraceSink([log](std::wstring_view line) { log->Append(line); });
}

void StopRunLog() { fw::SetTraceSink(nullptr); }

}  // namespace module

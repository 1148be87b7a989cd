// The run log: choosing this session's file and appending lines to it.
#include "module/RunLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Trace.h"

namespace module {
namespace {

constexpr const wchar_t* kLogFolderName = L"Log";
constexpr const wchar_t* kLogFileFormat = L"qv for %s %d.log";
// Numbers tried before giving up on a folder that somehow holds every name.
constexpr int kMaxLogFileNumber = 1000000;

enum class Creation { kCreated, kTaken, kFailed };

// Creates the file only when no file of that name exists, in one step, so two sessions started
// together never both take the same number.
Creation CreateExclusively(const std::wstring& path) {
  const int descriptor =
      ::open(fw::NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor >= 0) {
    ::close(descriptor);
    return Creation::kCreated;
  }
  return errno == EEXIST ? Creation::kTaken : Creation::kFailed;
}

void AppendBytes(const std::wstring& path, const std::string& bytes) {
  // Without blocking, should anything but our file have come to stand at that name.
  const int descriptor = ::open(fw::NativePath(path).c_str(),
                                O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
  if (descriptor < 0) return;  // the line is dropped without a report
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  ::close(descriptor);
}

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

// Creates the first "qv for <computer> <n>.log" that does not exist, so each session writes a
// new file and earlier ones are kept. The folder is found whatever the case of its name (a
// "LOG" folder copied from elsewhere).
bool RunLog::ChoosePath() {
  const std::optional<std::wstring> folder = fw::FindFolderNoCase(logFolder_);
  if (!folder) return false;
  for (int number = 1; number <= kMaxLogFileNumber; ++number) {
    std::wstring candidate =
        fw::PathJoin(*folder, fw::Format(kLogFileFormat, computerName_.c_str(), number));
    switch (CreateExclusively(candidate)) {
      case Creation::kCreated:
        path_ = std::move(candidate);
        return true;
      case Creation::kTaken:
        continue;
      case Creation::kFailed:
        return false;
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
  AppendBytes(path_, fw::ToUtf8(line));
}

void StartRunLog(const std::wstring& moduleDirectory) {
  auto log = std::make_shared<RunLog>(fw::PathJoin(moduleDirectory, kLogFolderName),
                                      fw::GetComputerName());
  fw::SetTraceSink([log](std::wstring_view line) { log->Append(line); });
}

void StopRunLog() { fw::SetTraceSink(nullptr); }

}  // namespace module

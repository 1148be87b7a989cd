// The cost of one run-log line: the log opens, appends and closes its file per line, so every
// line is on disk when the call returns. This measures what that costs the caller.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "module/RunLog.h"

namespace {

class LogFolder {
 public:
  LogFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qrva-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    std::filesystem::create_directory(path_ / "Log");
  }
  ~LogFolder() { std::filesystem::remove_all(path_); }
  std::wstring Path() const { return fw::FromNativePath(path_.string()); }

 private:
  std::filesystem::path path_;
};

void BM_RunLogAppend(benchmark::State& state) {
  LogFolder folder;
  module::RunLog log(fw::PathJoin(folder.Path(), L"Log"), L"BENCH");
  for (auto _ : state) log.Append(L"LoopLoadDir: kickevent.Lock\n");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RunLogAppend);

void BM_LogLineFormattedWithoutLogFolder(benchmark::State& state) {
  LogFolder folder;
  module::StartRunLog(fw::PathJoin(folder.Path(), L"absent"));
  for (auto _ : state) LogLine(L"Ini located at %s\n", L"/home/user/qv35.ini");
  module::StopRunLog();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogLineFormattedWithoutLogFolder);

}  // namespace

BENCHMARK_MAIN();

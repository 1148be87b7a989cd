#include "fw/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

#include "fw/Strings.h"

namespace fw {
namespace {

// The sink is swapped as a whole under a lock and called outside it, so a slow sink never
// blocks the installation of another.
std::mutex sinkLock;
std::shared_ptr<const TraceSink> currentSink;

std::shared_ptr<const TraceSink> Sink() {
  std::lock_guard<std::mutex> lock(sinkLock);
  return currentSink;
}

// The kernel names the tracing process in the process's status; 0 when none.
bool DebuggerAttached() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("TracerPid:")) {
      return line.find_first_not_of("0 \t", 10) != std::string::npos;
    }
  }
  return false;
}

}  // namespace

void OutputDebugString(std::wstring_view text) {
  if (!DebuggerAttached()) return;
  const std::string bytes = ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

void SetTraceSink(TraceSink sink) {
  auto installed = sink ? std::make_shared<const TraceSink>(std::move(sink)) : nullptr;
  std::lock_guard<std::mutex> lock(sinkLock);
  currentSink = std::move(installed);
}

}  // namespace fw

void LogLine(const wchar_t* format, ...) {
  auto sink = fw::Sink();
  if (!sink || format == nullptr) return;
  va_list arguments;
  va_start(arguments, format);
  std::wstring line = fw::FormatV(format, arguments);
  va_end(arguments);
  // A cut line keeps its line end, so the next line does not run on from it.
  if (line.size() > fw::kTraceLineCapacity) {
    const bool endsLine = line.back() == L'\n';
    line.resize(fw::kTraceLineCapacity);
    if (endsLine) line.back() = L'\n';
  }
  try {
    (*sink)(line);
  } catch (...) {
    // A failing log never disturbs the caller.
  }
}

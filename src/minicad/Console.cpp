// The command-line window's text: handed on to the sink and kept when capturing.
#include "minicad/Console.h"

#include <utility>

namespace minicad {

Console::Console(Sink sink, bool capture) : sink_(std::move(sink)), capture_(capture) {}

void Console::Write(std::wstring_view text) {
  if (text.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (capture_) captured_.append(text);
  if (sink_) sink_(text);
}

std::wstring Console::Text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return captured_;
}

std::wstring Console::TakeText() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(captured_, std::wstring());
}

}  // namespace minicad

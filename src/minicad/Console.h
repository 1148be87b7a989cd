// The host's command-line window: every prompt, echo and printed line of the session goes
// through here, to the host program's sink and, when asked, into a copy tests can read.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace minicad {

class Console {
 public:
  // Receives each piece of text as it is written. Called with the console's lock held, so
  // pieces from different threads never interleave; a sink must not write to the console.
  using Sink = std::function<void(std::wstring_view text)>;

  Console(Sink sink, bool capture);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Any thread.
  void Write(std::wstring_view text);
  // Everything written so far (empty unless capturing). Any thread.
  std::wstring Text() const;
  // Everything written since the last call, and forgets it. Any thread.
  std::wstring TakeText();

 private:
  mutable std::mutex mutex_;
  Sink sink_;
  bool capture_;
  std::wstring captured_;
};

}  // namespace minicad

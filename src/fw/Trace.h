// The module's trace line, callable from every layer. The framework only formats the line; where
// it goes (the run-log file, or nowhere) is decided by the sink the module installs at start-up.
#pragma once

#include <functional>
#include <string_view>

namespace fw {

// Receives each formatted line. Called on whichever thread logged; must be thread-safe.
using TraceSink = std::function<void(std::wstring_view line)>;

// Installs the sink (an empty function drops every line). Lines logged before a sink is
// installed are dropped.
void SetTraceSink(TraceSink sink);

// Text for a developer watching the process in a debugger: written to the standard error
// stream while a debugger (any tracer) is attached, dropped otherwise, so a user's session
// stays quiet. Any thread.
void OutputDebugString(std::wstring_view text);

// Longest line handed to the sink: longer formatted text is cut to this many characters.
inline constexpr std::size_t kTraceLineCapacity = 2000 - 1;

}  // namespace fw

// Formats with the wide printf rules of fw::Format, cuts the text at the line capacity (a cut
// line that ended in "\n" still does) and hands it to the trace sink. The message normally ends
// in "\n". Never fails visibly.
void LogLine(const wchar_t* format, ...);

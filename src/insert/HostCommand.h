// Handing command text to the host: queued on the current document's command line, to run after
// the running command has ended. Host main thread.
#pragma once

#include <string>

namespace insert {

// Queues `text` on the current document (activated, an inactive document not wrapped up),
// echoed or not. False when there is no current document or the host refuses.
bool SendCommand(const std::wstring& text, bool echo);

// The file name of the running host program, lower-cased ("acad.exe", "aclt.exe").
std::wstring HostProgramName();

}  // namespace insert

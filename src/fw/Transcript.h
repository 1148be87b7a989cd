// How the headless driver writes texts and paths into its `ui:` lines: UTF-8, one line each, the
// same on every machine and run (no times, no absolute paths where a relative one serves).
#pragma once

#include <string>
#include <string_view>

namespace fw {

// A text in double quotes: \" and \\ escaped, line ends as \n, other control characters but
// the tab as \xHH, so the quoted text of ordinary texts can be pasted into a script.
std::string TranscriptQuoted(std::wstring_view text);
// A text without quotes (list items): line ends as \n, other control characters but the tab as
// \xHH.
std::string TranscriptPlain(std::wstring_view text);
// A path as the transcript shows it: relative to the current folder when inside it ("." for the
// folder itself), "~/..." inside the home folder, otherwise as it is.
std::wstring TranscriptPath(std::wstring_view path);

}  // namespace fw

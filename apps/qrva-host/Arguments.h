// qrva-host's command line: the options of a session, the script it runs, and the path the
// program was started under.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

constexpr int kUsageExit = 2;
// A dialog script that is malformed, or a step of it that could not run.
constexpr int kUiScriptExit = 3;

extern const char* const kUsage;

struct Arguments {
  bool help = false;
  // No windows, even with a display.
  bool headless = false;
  std::optional<std::wstring> module;
  std::optional<std::wstring> script;
  std::optional<std::wstring> uiScript;
  std::vector<std::wstring> supportFolders;
  std::wstring productVersion;
  std::vector<std::wstring> drawings;
};

// Nothing when the arguments are bad; `error` says why. A repeated option counts with its last
// value (--support with all of them); after "--" every argument is a drawing.
std::optional<Arguments> ParseArguments(int argc, char** argv, std::string& error);

// The whole file as UTF-8 text (a name in it that is not UTF-8 kept as a path's bytes are), or
// nothing with `error` set.
std::optional<std::wstring> ReadScript(const std::wstring& path, std::string& error);

// The path the program was started under, its links not followed: a name with a folder taken
// against the current folder, a bare name found along PATH as the shell found it. Empty when it
// cannot be told.
std::wstring StartedProgramPath(const char* argument0);

}  // namespace host

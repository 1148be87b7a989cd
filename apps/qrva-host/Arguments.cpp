// Parsing qrva-host's command line and reading its script.
#include "Arguments.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>

#include <CLI/CLI.hpp>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/System.h"

namespace host {

const char* const kUsage =
"usage: qrva-host [--module PATH] [--script FILE] [--ui FILE] [--support DIR]...\n"
    "                 [--acadver VERSION] [--headless] [DRAWING...]\n"
    "\n"
    "Runs a CAD session: opens the drawings named (or starts a new drawing), loads the module,\n"
    "then runs the command line and quits. With a display it opens the host window: the\n"
    "command line with its history and input line, and the ribbon strip of command buttons.\n"
    "\n"
    "  --module PATH   the module to load (default: qrva22-64.arx beside this program)\n"
    "  --script FILE   run the lines of FILE as a script (default: standard input, typed\n"
    "                  when it is a terminal)\n"
    "  --ui FILE       answer the dialogs from the steps of FILE, printing each \"ui:\" line;\n"
    "                  a malformed script or a step that cannot run exits with 3\n"
    "  --support DIR   a support folder; may be given more than once\n"
    "  --acadver VERSION  the host release to stand in for, as ACADVER reads (default\n"
    "                  23.1s); e.g. 19.1s, a release that reads drawings up to 2013\n"
    "  --headless      no windows even when a display is there: the command line on the\n"
    "                  terminal, the dialogs answered by the --ui script or their defaults\n"
    "  --help          show this text\n";

namespace {

constexpr const char* kValueOptions[] = {"--module", "--script", "--ui", "--support", "--acadver"};

// The option among the arguments that has no value after it, for the message.
std::string OptionWithoutValue(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    for (const char* option : kValueOptions) {
      if (argument != option) continue;
      const bool valueFollows =
          i + 1 < argc && (argv[i + 1][0] != '-' || std::string_view(argv[i + 1]) == "-");
      if (!valueFollows) return option;
    }
  }
  return "";
}

}  // namespace

std::optional<Arguments> ParseArguments(int argc, char** argv, std::string& error) {
  std::optional<std::string> module;
  std::optional<std::string> script;
  std::optional<std::string> uiScript;
  std::optional<std::string> productVersion;
  std::vector<std::string> supportFolders;
  std::vector<std::string> drawings;
  Arguments arguments;
  CLI::App app("", "qrva-host");
  app.set_help_flag();
  app.add_flag("-h,--help", arguments.help);
  app.add_flag("--headless", arguments.headless);
  app.allow_extras();
  for (auto [name, value] : {std::pair{"--module", &module}, std::pair{"--script", &script},
                             std::pair{"--ui", &uiScript},
                             std::pair{"--acadver", &productVersion}}) {
    app.add_option(name, *value)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  app.add_option("--support", supportFolders);
  app.add_option("DRAWING", drawings);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    const std::string option = OptionWithoutValue(argc, argv);
    error = option.empty() ? failure.what() : "option " + option + " needs a value";
    return std::nullopt;
  }
  for (const std::string& extra : app.remaining()) {
    if (extra.size() > 1 && extra.front() == '-') {
      error = "unknown option " + extra;
      return std::nullopt;
    }
    drawings.push_back(extra);
  }
  auto wide = [](const std::optional<std::string>& value) -> std::optional<std::wstring> {
    if (!value) return std::nullopt;
    return fw::FromNativePath(*value);
  };
  arguments.module = wide(module);
  arguments.script = wide(script);
  arguments.uiScript = wide(uiScript);
  if (productVersion) arguments.productVersion = fw::FromNativePath(*productVersion);
  for (const std::string& folder : supportFolders) {
    arguments.supportFolders.push_back(fw::FromNativePath(folder));
  }
  for (const std::string& drawing : drawings) {
    arguments.drawings.push_back(fw::FromNativePath(drawing));
  }
  return arguments;
}

std::optional<std::wstring> ReadScript(const std::wstring& path, std::string& error) {
  if (fw::IsDirectory(path)) {
    error = "it is a folder";
    return std::nullopt;
  }
  std::ifstream in(fw::NativePath(path), std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "read error";
    return std::nullopt;
  }
  return fw::FromNativePath(bytes);
}

std::wstring StartedProgramPath(const char* argument0) {
  if (argument0 == nullptr || *argument0 == '\0') return {};
  const std::string name = argument0;
  if (name.find('/') != std::string::npos) {
    const std::wstring path = fw::FromNativePath(name);
    return path.front() == fw::kPathSeparator ? path : fw::PathJoin(fw::GetCurrentFolder(), path);
  }
  const char* searchPath = std::getenv("PATH");
  std::string_view folders = searchPath == nullptr ? "" : searchPath;
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string folder(folders.substr(0, colon));
    folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) {
      return StartedProgramPath(candidate.c_str());
    }
  }
  return {};
}

}  // namespace host

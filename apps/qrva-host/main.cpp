// qrva-host: the stand-in CAD session. Starts with a drawing, loads the module, then runs the
// command line — typed at a terminal, or the lines of a script — and quits as the host does.
// The command line's text, prompts included, goes to standard output as UTF-8.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Module.h"
#include "fw/NativePath.h"
#include "fw/PdfPrinterDC.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/UiScript.h"
#include "gui/Windows.h"
#include "minicad/Console.h"
#include "minicad/Host.h"

namespace {

constexpr int kUsageExit = 2;
// A dialog script that is malformed, or a step of it that could not run.
constexpr int kUiScriptExit = 3;

constexpr const char* kUsage =
    "usage: qrva-host [--module PATH] [--script FILE] [--ui FILE] [--headless]\n"
    "                 [--support DIR]... [--acadver VERSION] [DRAWING...]\n"
    "\n"
    "Runs a CAD session: opens the drawings named (or starts a new drawing), loads the module,\n"
    "then runs the command line and quits.\n"
    "\n"
    "  --module PATH   the module to load (default: qrva22-64.arx beside this program)\n"
    "  --script FILE   run the lines of FILE as a script (default: standard input, typed\n"
    "                  when it is a terminal)\n"
    "  --ui FILE       answer the dialogs from the steps of FILE, printing each \"ui:\" line;\n"
    "                  a malformed script or a step that cannot run exits with 3; with a\n"
    "                  display the dialogs show as windows while the steps drive them\n"
    "  --headless      never open windows, even with a display\n"
    "  --support DIR   a support folder; may be given more than once\n"
    "  --acadver VERSION  the host release to stand in for, as ACADVER reads (default\n"
    "                  23.1s); e.g. 19.1s, a release that reads drawings up to 2013\n"
    "  --help          show this text\n";

constexpr const wchar_t* kDefaultModule = L"qrva22-64.arx";

struct Arguments {
  bool help = false;
  bool headless = false;
  std::optional<std::wstring> module;
  std::optional<std::wstring> script;
  std::optional<std::wstring> uiScript;
  std::vector<std::wstring> supportFolders;
  std::wstring productVersion;
  std::vector<std::wstring> drawings;
};

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

// Nothing when the arguments are bad; `error` says why. A repeated option counts with its last
// value (--support with all of them); after "--" every argument is a drawing.
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

// The whole file as UTF-8 text (a name in it that is not UTF-8 kept as a path's bytes are), or
// nothing with `error` set.
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

// The path the program was started under, its links not followed: a name with a folder taken
// against the current folder, a bare name found along PATH as the shell found it. Empty when it
// cannot be told.
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

int RunSession(const Arguments& arguments, const std::optional<std::wstring>& script) {
  bool interactive = !script && isatty(STDIN_FILENO) != 0;
  minicad::HostOptions options;
  options.supportFolders = arguments.supportFolders;
  options.productVersion = arguments.productVersion;
  options.captureConsole = false;
  options.interactive = interactive;
  options.startWithNewDrawing = arguments.drawings.empty();
  options.consoleSink = [interactive](std::wstring_view text) {
    std::string bytes = fw::ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    // A person waits for the prompt before typing.
    if (interactive) std::fflush(stdout);
  };
  minicad::Host host(options);

  for (const std::wstring& drawing : arguments.drawings) {
    minicad::Result<AcApDocument*> opened = host.OpenDocument(drawing);
    if (!opened) host.GetConsole().Write(opened.Message() + L"\n");
  }
  if (host.Documents().empty()) host.NewDocument();

  std::wstring module =
      arguments.module.value_or(fw::PathJoin(host.ProgramFolder(), kDefaultModule));
  minicad::Status loaded = host.LoadModule(module);
  if (!loaded) {
    std::fflush(stdout);
    std::fprintf(stderr, "qrva-host: %s\n", fw::ToUtf8(loaded.Message()).c_str());
    return kUsageExit;
  }

  if (script) {
    host.RunScriptText(*script);
  } else {
    host.RunInteractive(std::cin);
  }
  host.Quit();
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The module tells the host's editions apart by the program's file name, so a link named
  // after the light edition runs as it.
  if (std::wstring started = StartedProgramPath(argc > 0 ? argv[0] : nullptr); !started.empty()) {
    fw::SetProgramFileName(started);
  }
  std::string error;
  std::optional<Arguments> arguments = ParseArguments(argc, argv, error);
  if (!arguments) {
    std::fprintf(stderr, "qrva-host: %s\n%s", error.c_str(), kUsage);
    return kUsageExit;
  }
  if (arguments->help) {
    std::fputs(kUsage, stdout);
    return 0;
  }

  std::optional<std::wstring> script;
  if (arguments->script) {
    script = ReadScript(*arguments->script, error);
    if (!script) {
      std::fprintf(stderr, "qrva-host: cannot read the script file \"%s\": %s\n",
                   fw::NativePath(*arguments->script).c_str(), error.c_str());
      return kUsageExit;
    }
  }

  // The driver answers the dialogs from the script and prints what they show on the command
  // line's output, in order with it: the headless one, or with a display the windowed one,
  // whose windows show what the steps do. It outlives the session, which may ask questions
  // until its modules are unloaded.
  fw::HeadlessUiDriver uiDriver;
  std::unique_ptr<gui::WxUiDriver> windowDriver;
  if (arguments->uiScript) {
    fw::Result<std::vector<fw::UiStep>> steps = fw::LoadUiScript(*arguments->uiScript);
    if (!steps) {
      std::printf("ui: error %s\n", fw::ToUtf8(steps.Message()).c_str());
      return kUiScriptExit;
    }
    // `answer print PDFPATH [DPI]` prints into that PDF on A4.
    auto printer = [](const std::wstring& pdfPath, int dotsPerInch) {
      return std::make_unique<fw::PdfPrinterDC>(pdfPath,
                                                fw::PdfPrinterSetup{dotsPerInch, fw::Paper::kA4});
    };
    auto output = [](const std::string& line) {
      std::fwrite(line.data(), 1, line.size(), stdout);
      std::fputc('\n', stdout);
    };
    if (!arguments->headless && gui::StartWindows(argc, argv)) {
      windowDriver = std::make_unique<gui::WxUiDriver>();
      windowDriver->SetPrinterFactory(printer);
      windowDriver->SetScript(steps.Value(), output);
      fw::SetUiDriver(windowDriver.get());
    } else {
      uiDriver.AddSteps(steps.Value());
      uiDriver.SetPrinterFactory(printer);
      uiDriver.SetOutput(output);
      fw::SetUiDriver(&uiDriver);
    }
  }

  int exitCode = 0;
  try {
    exitCode = RunSession(*arguments, script);
  } catch (const std::exception& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "qrva-host: %s\n", failure.what());
    exitCode = 1;
  }
  if (arguments->uiScript) {
    bool scriptRan = windowDriver ? windowDriver->Finish() : uiDriver.Finish();
    fw::SetUiDriver(nullptr);
    windowDriver.reset();
    gui::StopWindows();
    std::fflush(stdout);
    if (exitCode == 0 && !scriptRan) exitCode = kUiScriptExit;
  }
  return exitCode;
}

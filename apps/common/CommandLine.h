// Parsing a program's command line with CLI11 as every Quorvane program does: --help prints the
// program's own usage text on the standard output, --version its name and version, and a bad
// command line the parser's message and the usage text on the standard error.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>

namespace apps {

// Parses `argv` into the options of `app` (named after the program). Nothing when the program
// goes on; otherwise its exit code: 0 after --help or --version, `badArgumentsExit` after the
// message for a bad command line.
inline std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv,
                                           const char* usage, int badArgumentsExit) {
  app.set_help_flag("--help");
  app.set_version_flag("--version", app.get_name() + " " + QRVA_VERSION);
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::CallForHelp&) {
    std::fputs(usage, stdout);
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return 0;
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "%s: %s\n%s", app.get_name().c_str(), error.what(), usage);
    return badArgumentsExit;
  }
}

}  // namespace apps

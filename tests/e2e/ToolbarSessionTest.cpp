// The QUORVA button handed over at start-up: which of the ribbon and the toolbar gets it, in
// each arrangement of the components beside the module, read from the run log where the module
// and both components record their steps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/System.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::ShellQuote;
using testsupport::TempFolder;

enum class Ribbon { kNone, kWorking, kNoType, kNoMethod, kThrows };
enum class Toolbar { kNone, kBeside, kNoExport, kLoadedBefore };

struct ToolbarCase {
  const char* name;
  Ribbon ribbon;
  Toolbar toolbar;
  bool lightEdition;  // the host runs as "aclt.exe"
  const char* expected;  // the button's lines of the run log; <png> is the picture's size
};

std::wstring Variant(const char* name) {
  return fw::FromNativePath(std::string(QRVA_STAND_IN_VARIANTS) + "/" + name);
}

std::wstring RibbonFile(Ribbon ribbon) {
  switch (ribbon) {
    case Ribbon::kNone:
      return {};
    case Ribbon::kWorking:
      return fw::FromNativePath(QRVA_RIBBON_PATH);
    case Ribbon::kNoType:
      return Variant("stand_in_no_type.so");
    case Ribbon::kNoMethod:
      return Variant("stand_in_no_method.so");
    case Ribbon::kThrows:
      return Variant("stand_in_throws.so");
  }
  return {};
}

// The lines the button's hand-over writes, in order.
std::string ButtonLines(const std::string& log) {
  std::istringstream lines(log);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (line == "SetupToolbar" || line == "AddToToolbar" || line == "LoadToolbarModule" ||
        line == "connect to toolbar" || line == "Could not load toolbar." ||
        line == "Toolbar not found." || line.starts_with("TarveshRibbon") ||
        line.starts_with("tarveshtoolbar")) {
      kept += line + "\n";
    }
  }
  return kept;
}

std::string RunCase(const ToolbarCase& test, const TempFolder& folder) {
  std::wstring modules = folder / L"modules";
  EXPECT_TRUE(fw::CreateDirectory(modules));
  EXPECT_TRUE(fw::CreateDirectory(modules + L"/Log"));
  EXPECT_TRUE(
      fw::CopyFile(fw::FromNativePath(QRVA_MODULE_PATH), modules + L"/qrva22-64.arx", true));
  if (test.ribbon != Ribbon::kNone) {
    EXPECT_TRUE(fw::CopyFile(RibbonFile(test.ribbon), modules + L"/TarveshRibbon.dll", true));
  }
  std::wstring toolbar = modules + L"/tarveshtoolbar-22-64.arx";
  if (test.toolbar == Toolbar::kBeside || test.toolbar == Toolbar::kLoadedBefore) {
    EXPECT_TRUE(fw::CopyFile(fw::FromNativePath(QRVA_TOOLBAR_PATH), toolbar, true));
  } else if (test.toolbar == Toolbar::kNoExport) {
    EXPECT_TRUE(fw::CopyFile(Variant("stand_in_no_export.so"), toolbar, true));
  }
  std::string program = QRVA_HOST_PATH;
  if (test.lightEdition) {
    program = fw::NativePath(folder / L"aclt.exe");
    EXPECT_EQ(::symlink(QRVA_HOST_PATH, program.c_str()), 0);
  }
  fw::CreateDirectory(folder / L"support");
  testsupport::WriteFile(folder / L"support/qv35.ini", "");
  testsupport::WriteFile(folder / L"session.scr", "QUIT\n");

  // Another module that mapped the toolbar before the host loaded ours: the toolbar is in the
  // process, though the host's linker never saw it. (The address sanitizer's runtime must
  // come first among the libraries, which a preloaded one would precede.)
  std::string environment;
  if (test.toolbar == Toolbar::kLoadedBefore) {
    environment = "ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" +
                  ShellQuote(fw::NativePath(toolbar)) + " ";
  }
  std::string inner = "cd " + ShellQuote(fw::NativePath(folder.Path())) + " && " + environment +
                      "exec " + ShellQuote(program) +
                      " --module modules/qrva22-64.arx --support support --script session.scr";
  testsupport::ProgramOutcome outcome =
      testsupport::RunProgram("/bin/sh", "-c " + ShellQuote(inner), folder);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  return ButtonLines(ReadFile(modules + L"/Log/qv for " + fw::GetComputerName() + L" 1.log"));
}

constexpr const char* kRibbonTakesIt =
    "SetupToolbar\n"
    "TarveshRibbon.API.AddButton \"quorva\\n\" \"Quorvane\" <png> bytes\n";
constexpr const char* kToolbarLoaded =
    "SetupToolbar\n"
    "LoadToolbarModule\n"
    "connect to toolbar\n"
    "AddToToolbar\n"
    "tarveshtoolbar AddToToolbar \"quorva\\n\" \"Quorvane\" <png> bytes\n";

const ToolbarCase kCases[] = {
    {"ribbon working: the toolbar is neither loaded nor called", Ribbon::kWorking,
     Toolbar::kBeside, false, kRibbonTakesIt},
    {"light edition without a ribbon: nothing is loaded", Ribbon::kNone, Toolbar::kBeside, true,
     "SetupToolbar\n"},
    {"light edition with a working ribbon: the ribbon takes it", Ribbon::kWorking,
     Toolbar::kBeside, true, kRibbonTakesIt},
    {"toolbar loaded by another: called at once, no load", Ribbon::kNone, Toolbar::kLoadedBefore,
     false,
     "SetupToolbar\n"
     "AddToToolbar\n"
     "tarveshtoolbar AddToToolbar \"quorva\\n\" \"Quorvane\" <png> bytes\n"},
    {"no ribbon: the toolbar is loaded", Ribbon::kNone, Toolbar::kBeside, false, kToolbarLoaded},
    {"ribbon without the type", Ribbon::kNoType, Toolbar::kBeside, false, kToolbarLoaded},
    {"ribbon without the method", Ribbon::kNoMethod, Toolbar::kBeside, false, kToolbarLoaded},
    {"ribbon method throwing", Ribbon::kThrows, Toolbar::kBeside, false, kToolbarLoaded},
    {"no toolbar file", Ribbon::kNone, Toolbar::kNone, false,
     "SetupToolbar\n"
     "Toolbar not found.\n"},
    {"toolbar without the export", Ribbon::kNone, Toolbar::kNoExport, false,
     "SetupToolbar\n"
     "LoadToolbarModule\n"
     "connect to toolbar\n"
     "Could not load toolbar.\n"},
};

TEST(ToolbarSession, HandsTheButtonToTheRibbonOrTheToolbar) {
  const std::string pngSize = std::to_string(ReadFile(fw::FromNativePath(QRVA_BUTTON_PNG)).size());
  for (const ToolbarCase& test : kCases) {
    TempFolder folder;
    std::string expected = test.expected;
    for (std::size_t at = expected.find("<png>"); at != std::string::npos;
         at = expected.find("<png>")) {
      expected.replace(at, 5, pngSize);
    }
    EXPECT_EQ(RunCase(test, folder), expected) << test.name;
  }
}

}  // namespace

// Browser sessions end to end: qrva-host runs the real module, QUORVA shows the main dialog, and
// a `--ui` script acts as the user. The `ui:` lines, the run log's actions and the exit code are
// compared line by line with a golden transcript; on a mismatch the actual one is written
// beside it (NAME.actual).
#include <gtest/gtest.h>
#include <sys/time.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::ShellQuote;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The drawing a library folder holds: a header of the version, as the loader reads it.
void WriteDrawing(const std::wstring& path, const char* version) {
  WriteFile(path, std::string(version) + std::string(13, '\0'));
}

struct SessionCase {
  const char* name;
  // The settings file; "$LIB" stands for the library folder's full path.
  const char* settings;
  const char* adminFile;  // nullptr: none
  int showings;           // QUORVA this many times
  const char* hostOptions = "";
  // The session's command script instead of QUORVA `showings` times; the transcript then holds
  // the whole command line from the first QUORVA on. "$LIBDIR" in the settings is the folder
  // "lib dir", which the script fills with the host's own drawings.
  const char* hostScript = nullptr;
  // Puts drawings whose names cannot be typed into "lib dir".
  bool unsafeNames = false;
};

// Replaces the session's folder by "<tmp>" and locale times by "<time>", so the transcript does
// not depend on where or when it ran.
std::string Normalised(std::string text, const std::string& folder) {
  for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
    text.replace(at, folder.size(), "<tmp>");
  }
  static const std::regex kTime(R"(\d\d/\d\d/\d\d, \d\d:\d\d:\d\d)");
  return std::regex_replace(text, kTime, "<time>");
}

// `prepare` changes the library folders before the session starts.
std::string RunSession(const SessionCase& test, const TempFolder& folder,
                       void (*prepare)(const TempFolder& folder) = nullptr) {
  std::wstring modules = folder / L"modules";
  fw::CreateDirectory(modules);
  fw::CreateDirectory(modules + L"/Log");
  std::wstring built = fw::FolderOf(fw::FromNativePath(QRVA_MODULE_PATH));
  EXPECT_TRUE(fw::CopyFile(fw::FromNativePath(QRVA_MODULE_PATH), modules + L"/qrva22-64.arx", true));
  EXPECT_TRUE(fw::CopyFile(built + L"/quorva.htb", modules + L"/quorva.htb", true));
  fw::CreateDirectory(folder / L"support");
  fw::CreateDirectory(folder / L"appdata");
  fw::CreateDirectory(folder / L"lib");
  WriteDrawing(folder / L"lib/Alpha.dwg", "AC1032");
  WriteDrawing(folder / L"lib/beta.DWG", "AC1015");
  WriteDrawing(folder / L"lib/Gamma block.dwg", "AC1018");
  fw::CreateDirectory(folder / L"other");
  WriteDrawing(folder / L"other/Delta.dwg", "AC1024");
  fw::CreateDirectory(folder / L"lib dir");
  if (test.unsafeNames) {
    WriteDrawing(folder / L"lib dir/a\"b.dwg", "AC1032");
    WriteDrawing(folder / L"lib dir/x\n(command \"erase\" \"all\" \"\").dwg", "AC1032");
  }
  if (prepare != nullptr) prepare(folder);

  std::string settings = test.settings;
  std::string lib = fw::NativePath(folder / L"lib");
  std::string other = fw::NativePath(folder / L"other");
  std::string libDir = fw::NativePath(folder / L"lib dir");
  for (auto [token, value] :
       {std::pair<std::string, std::string>{"$LIBDIR", libDir}, {"$LIB", lib}, {"$OTHER", other}}) {
    for (std::size_t at = settings.find(token); at != std::string::npos;
         at = settings.find(token)) {
      settings.replace(at, token.size(), value);
    }
  }
  WriteFile(folder / L"support/qv35.ini", settings);
  if (test.adminFile != nullptr) WriteFile(folder / L"support/qvadmin.ini", test.adminFile);
  std::string commands;
  for (int i = 0; i < test.showings; ++i) commands += "QUORVA\n";
  if (test.hostScript != nullptr) commands = test.hostScript;
  WriteFile(folder / L"session.scr", commands);
  std::string script = std::string(QRVA_TEST_DATA_DIR) + "/browser/" + test.name + ".ui";

  std::string inner = "cd " + ShellQuote(fw::NativePath(folder.Path())) +
                      " && XDG_DATA_HOME=\"$PWD/appdata\" exec " + ShellQuote(QRVA_HOST_PATH) +
                      " --module modules/qrva22-64.arx --support support --script session.scr" +
                      " --ui " + ShellQuote(script) + " " + test.hostOptions;
  testsupport::ProgramOutcome outcome =
      testsupport::RunProgram("/bin/sh", "-c " + ShellQuote(inner), folder);

  std::ostringstream actual;
  std::istringstream out(outcome.out);
  bool commandLine = false;
  for (std::string line; std::getline(out, line);) {
    commandLine = commandLine || (test.hostScript != nullptr && line == "Command: QUORVA");
    if (commandLine || line.starts_with("ui: ")) actual << line << '\n';
  }
  std::wstring log = modules + L"/Log/qv for " + fw::GetComputerName() + L" 1.log";
  std::istringstream logLines(ReadFile(log));
  for (std::string line; std::getline(logLines, line);) {
    if (line.starts_with("Pending action") || line == "DeleteDirectory" || line == "Closing" ||
        line == "activateDocument" || line == "DoOpen") {
      actual << "log: " << line << '\n';
    }
  }
  actual << "exit: " << outcome.exitCode << '\n';
  return Normalised(actual.str(), fw::NativePath(folder.Path()));
}

// Two library folders: "Symbols" ($LIB) and "Furniture" ($OTHER).
constexpr const char* kTwoLibraries =
    "[Paths]\nNumPaths=2\nPath1=$LIB\nPath2=$OTHER\n[$LIB]\nDescription=Symbols\n"
    "[$OTHER]\nDescription=Furniture\n";

// Runs the session and compares its transcript with NAME.golden, writing NAME.actual beside it on
// a mismatch.
void ExpectGoldenTranscript(const SessionCase& test,
                            void (*prepare)(const TempFolder& folder) = nullptr) {
  SCOPED_TRACE(test.name);
  TempFolder folder;
  std::string actual = RunSession(test, folder, prepare);
  std::string base = std::string(QRVA_TEST_DATA_DIR) + "/browser/" + test.name;
  std::string expected = ReadText(base + ".golden");
  if (actual != expected) {
    std::ofstream(base + ".actual", std::ios::binary) << actual;
    ADD_FAILURE() << "the transcript differs from " << base << ".golden; the actual one is in "
                  << base << ".actual:\n"
                  << actual;
  }
}

// Insertion sessions: "lib dir" (a folder with a blank) gets Valve.dwg, two lines on layer PIPE,
// saved by the host; the user's answers to the host's prompts follow each QUORVA.
constexpr const char* kBuildValve =
    "-LAYER\nMake\nPIPE\n\nLINE\n0,0\n10,0\n\nLINE\n0,0\n0,5\n\n-LAYER\nSet\n0\n\n"
    "SAVEAS\n2018\n\"lib dir/Valve.dwg\"\nNEW\n";
constexpr const char* kValveBlock = "CIRCLE\n0,0\n1\n-BLOCK\nValve\n0,0\nALL\n\n";
const std::string kInsertTwice =
    std::string(kBuildValve) + "QUORVA\n5,5\nQUORVA\n9,9\n45\nDBLIST\n";
const std::string kAskOnce = std::string(kBuildValve) + kValveBlock +
                             "QUORVA\n0,0\nQUORVA\n5,0\nDBLIST\nNEW\n" + kValveBlock +
                             "QUORVA\n0,0\nDBLIST\n";
const std::string kExplodeAgainAndAgain =
    std::string(kBuildValve) + "QUORVA\n0,0\n20,0\n^C\nDBLIST\n";
const std::string kCancelTwice = std::string(kBuildValve) + "QUORVA\n^C\n0,0\n^C\nDBLIST\n";
const std::string kTwoSchemes =
    std::string(kBuildValve) + "QUORVA\n0,0\nDBLIST\nQUORVA\n20,0\nLINE\n0,0\n1,1\n\nDBLIST\n";
const std::string kXrefTwice =
    std::string(kBuildValve) + "QUORVA\n3,3\nDBLIST\nNEW\n" + kValveBlock + "QUORVA\nDBLIST\n";
constexpr const char* kOpenOpen =
    "-LAYER\nMake\nPIPE\n\nLINE\n0,0\n10,0\n\nSAVEAS\n2018\n\"lib dir/Valve.DWG\"\nNEW\n"
    "QUORVA\nDBLIST\n";
constexpr const char* kUnsafeNames =
    "-LAYER\nMake\nPIPE\n\nLINE\n0,0\n10,0\n\nSAVEAS\n2018\n\"lib dir/my block.dwg\"\nNEW\n"
    "LINE\n0,0\n1,1\n\nQUORVA\nQUORVA\nQUORVA\n4,4\nDBLIST\n";

// The library at 1:1 and 90 degrees, "Always update", and two schemes.
std::string InsertSettings(const std::string& options, const std::string& directoryOptions) {
  return "[Quorva Options]\n" + options +
         "[Paths]\nNumPaths=1\nPath1=$LIBDIR\n[$LIBDIR]\nDescription=Symbols\nScale=1-to-1\n"
         "Rotation=90\n" +
         directoryOptions +
         "[Schemes]\nNumSchemes=2\nScheme1=Pipes\nScheme2=By name\n"
         "[Pipes]\nType=Layer\nDefaultToByLayer=Yes\nUnknownType=Ignore\nNumMaps=1\n"
         "Map1=PIPE,P-PIPE\n"
         "[By name]\nType=Block\nDefaultToByLayer=Yes\nUnknownType=Ignore\nNumMaps=1\n"
         "Map1=VALVE*,P-VALVES\n";
}

TEST(BrowserSession, EachScriptGivesItsGoldenTranscript) {
  const std::string insert = InsertSettings("BlockInsert=2\n", "");
  const std::string askOnce = InsertSettings("BlockInsert=1\n", "");
  const std::string exploding =
      InsertSettings("BlockInsert=2\n", "Explode=Yes\nMultipleInsert=Yes\n");
  const std::string repeating = InsertSettings("BlockInsert=2\n", "Repeat=Yes\n");
  const SessionCase cases[] = {
      // Add a folder (the picker answered), wait for the loader, dump the lists, insert.
      {"browse", "", nullptr, 1},
      // The internal directory cannot be deleted.
      {"delete-internal",
       "[Paths]\nNumPaths=2\nPath1=Internal Blocks\nPath2=$LIB\n[Internal Blocks]\n"
       "Description=Internal Blocks\n[$LIB]\nDescription=Symbols\n",
       nullptr, 1},
      // Deleting the only directory leaves none current and the lists empty.
      {"delete-only", "", nullptr, 1},
      // Moving the first up changes nothing; down swaps, and the order is kept.
      {"move", kTwoLibraries, nullptr, 2},
      // A new name is kept; a name with a line end is refused.
      {"rename", kTwoLibraries, nullptr, 2},
      // A user the administrator file does not name sees the eight controls disabled.
      {"administrator", kTwoLibraries, "[Users]\nsomebody-else\n", 1},
      // Help is copied to the application-data folder and shown; Print asks for a printer.
      {"help-print", kTwoLibraries, nullptr, 1},
      // With a printer answered the catalogue is printed and "Done Printing" shown.
      {"print", kTwoLibraries, nullptr, 1},
      // Preferences: the delete options follow "Only load clicked directories."; the caches
      // are not moved onto a file that is there already.
      {"prefs", kTwoLibraries, nullptr, 1},
      // Directory Properties: the format counts, a new folder reloading with options kept.
      {"dirprops", "[Paths]\nNumPaths=1\nPath1=$LIB\n[$LIB]\nDescription=Symbols\n", nullptr, 1},
      // Edit Descrip.: a line end is cleaned, a failed write is said.
      {"editdesc", kTwoLibraries, nullptr, 1},
      // The scheme dialogs.
      {"schemes", kTwoLibraries, nullptr, 1},
      // On a host release older than the newest drawing, that drawing starts nothing.
      {"newer", kTwoLibraries, nullptr, 1, "--acadver 19.1s"},
      // A new block at 1:1 and 90 degrees; the same name again with a typed scale and the
      // rotation asked for: "Always update" redefines it from the file without a question.
      {"insert", insert.c_str(), nullptr, 0, "", kInsertTwice.c_str()},
      // "Ask once per block per drawing": asked at the first update only, again in a new drawing.
      {"insert-ask-once", askOnce.c_str(), nullptr, 0, "", kAskOnce.c_str()},
      // Explode and Multiple Insert: each reference exploded, until the user cancels.
      {"insert-explode", exploding.c_str(), nullptr, 0, "", kExplodeAgainAndAgain.c_str()},
      // Repeat: a cancelled first insertion removes the new definition and brings the browser
      // back once; a cancelled repetition keeps it.
      {"insert-cancel", repeating.c_str(), nullptr, 0, "", kCancelTwice.c_str()},
      // A Layer scheme maps the definition; a BlockName->Layer scheme places the reference on
      // its layer and sets the previous layer back.
      {"insert-scheme", insert.c_str(), nullptr, 0, "", kTwoSchemes.c_str()},
      // Attach, and the refusal when the drawing has a block of that name.
      {"insert-xref", insert.c_str(), nullptr, 0, "", kXrefTwice.c_str()},
      // Open activates the drawing already open, whatever the case of its extension.
      {"insert-open", insert.c_str(), nullptr, 0, "", kOpenOpen},
      // Names that cannot be typed are refused, naming the file; a name with a blank inserts.
      {"insert-names", insert.c_str(), nullptr, 0, "", kUnsafeNames, true},
  };
  for (const SessionCase& test : cases) ExpectGoldenTranscript(test);
}

// The library folders as the block list sessions need them: drawings of different sizes and
// modification times (Alpha the largest and newest, beta the smallest and oldest), and
// descriptions in side files that hold the matcher's wildcard characters.
void PrepareBlockListLibraries(const TempFolder& folder) {
  struct Drawing {
    const wchar_t* path;
    const char* version;
    std::size_t size;
    long year2000Offset;  // modification time, in days after 2000-01-01
  };
  const Drawing drawings[] = {{L"lib/Alpha.dwg", "AC1032", 300, 1200},
                              {L"lib/beta.DWG", "AC1015", 100, 400},
                              {L"lib/Gamma block.dwg", "AC1018", 200, 800}};
  constexpr long kYear2000 = 946684800;
  for (const Drawing& drawing : drawings) {
    std::string bytes = drawing.version;
    bytes.resize(drawing.size, '\0');
    WriteFile(folder / drawing.path, bytes);
    timeval times[2] = {{kYear2000, 0}, {kYear2000 + drawing.year2000Offset * 86400, 0}};
    ASSERT_EQ(utimes(fw::NativePath(folder / drawing.path).c_str(), times), 0);
  }
  fw::CreateDirectory(folder / L"lib/PXTLIB");
  WriteFile(folder / L"lib/PXTLIB/beta.lsa", "Hex Bolt M8 [zinc]\n");
  WriteFile(folder / L"lib/PXTLIB/Gamma block.lsa", "Door, single *left*\n");
  fw::CreateDirectory(folder / L"other/PXTLIB");
  WriteFile(folder / L"other/PXTLIB/Delta.lsa", "Gate valve\n");
}

TEST(BrowserSession, BlockListScriptsGiveTheirGoldenTranscripts) {
  constexpr const char* kSymbols = "[Paths]\nNumPaths=1\nPath1=$LIB\n[$LIB]\nDescription=Symbols\n";
  const SessionCase cases[] = {
      // The Size header three times, "Last Modified Time" from the menu, kept for the next
      // showing and checked in its menu.
      {"sort", kSymbols, nullptr, 2},
      // Lower-case text, text only in a description, wildcard characters typed as text, Enter
      // going on and wrapping, and a match only in another directory.
      {"find", kTwoLibraries, nullptr, 1},
      // A directory without large images cycles Small, List, Report and its menus offer no
      // large icons; tooltips outside the report view; one with large images cycles through them.
      {"views",
       "[Paths]\nNumPaths=2\nPath1=$LIB\nPath2=$OTHER\n[$LIB]\nDescription=Symbols\n"
       "UseLargeImages=No\n[$OTHER]\nDescription=Furniture\n",
       nullptr, 1},
      // Alt + click without and with a selection, the next press closing QuickPic, and the
      // block menu's Refresh and Insert.
      {"block-menu", kSymbols, nullptr, 1},
  };
  for (const SessionCase& test : cases) ExpectGoldenTranscript(test, PrepareBlockListLibraries);
}

// The main job's session: the demonstration builds its library with the host's commands, then
// the browser shows the drawing's own blocks and the library added through the picker, and
// inserts the pump with a scheme. Only the lines that do not depend on when it ran are compared.
TEST(BrowserSession, TheDemonstrationShowsItsLibraryInTheBrowser) {
  TempFolder folder;
  fw::CreateDirectory(folder / L"library");
  fw::CreateDirectory(folder / L"support");
  EXPECT_TRUE(fw::CopyFile(fw::FromNativePath(std::string(QRVA_DEMO_DIR) + "/qv35.ini"),
                           folder / L"support/qv35.ini", true));
  std::string inner = "cd " + ShellQuote(fw::NativePath(folder.Path())) + " && exec " +
                      ShellQuote(QRVA_HOST_PATH) + " --module " + ShellQuote(QRVA_MODULE_PATH) +
                      " --support support --script " +
                      ShellQuote(std::string(QRVA_DEMO_DIR) + "/session.scr") + " --ui " +
                      ShellQuote(std::string(QRVA_DEMO_DIR) + "/browser.ui");
  testsupport::ProgramOutcome outcome =
      testsupport::RunProgram("/bin/sh", "-c " + ShellQuote(inner), folder);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.out << outcome.err;
  EXPECT_EQ(outcome.out.find("ui: error"), std::string::npos) << outcome.out;
  for (const char* line : {
           "ui: 232 #0* Internal Blocks | 2\n",
           "ui: 253 #0 Pump | 2000 |  | 0 | ",
           "ui: 253 #1 Tank | 2000 |  | 0 | ",
           "ui: 232 #1* Demonstration library | 3\n",
           "ui: 253 #0 Gate Valve | 2018 | Gate valve DN50 with flanged pipe ends | ",
           "ui: 253 #1* Pump | 2000 | Centrifugal pump, casing on its own layer | ",
           "ui: 253 #2 Tank R14 | R14 | Storage tank with its number as an attribute | ",
           "ui: 254 \"Block: Pump\\nDesc: Centrifugal pump, casing on its own layer\\nFile Type: "
           "2000\\nSize: ",
           "ui: message \"Quorvane\" \"Pump already exists, do you wish to overwrite?\" -> YES\n",
           "*Model_Space | INSERT | layer Pipe | color 256 | linetype ByLayer | block Pump | "
           "at 60,40,0 | scale 1,1,1 | rotation 0\n",
           "Pump | CIRCLE | layer M-PUMP | color 256 | linetype ByLayer\n",
           "Pump | TEXT | layer M-PUMP | color 256 | linetype ByLayer\n",
       }) {
    EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
  }
}

}  // namespace

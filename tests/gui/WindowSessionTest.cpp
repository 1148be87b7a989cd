// The browser in real windows: qrva-host draws a library of drawings, opens the browser with a
// `--ui` script on a virtual display, waits for the loader, switches to large icons and saves a
// screenshot. The picture must be the dialog at its template's size in the real font's dialog
// units, with the thumbnails laid out in rows and columns in the list's area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestDisplay.h"
#include "fw/DialogTemplate.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Png.h"
#include "gui/DialogUnits.h"
#include "support/Program.h"
#include "support/TempFolder.h"
#include "ui/BlockDlgIds.h"
#include "ui/BlockDlgTemplate.h"

namespace {

using testsupport::ReadFile;
using testsupport::ShellQuote;
using testsupport::TempFolder;
using testsupport::WriteFile;

constexpr int kDrawings = 12;
// The window system may add a frame around the client area.
constexpr int kFrameAllowance = 40;

// The `ui:` lines but the screenshot's, with the drawings' times and the session's own support
// folder blanked: what a session shows whether windows present it or not.
std::string ModelLines(const std::string& out) {
  static const std::regex kTime(R"(\d\d/\d\d/\d\d, \d\d:\d\d:\d\d)");
  static const std::regex kSupport(R"(/support-[a-z]+/)");
  std::istringstream lines(out);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("ui: ") && !line.starts_with("ui: screenshot ")) kept += line + "\n";
  }
  return std::regex_replace(std::regex_replace(kept, kTime, "<time>"), kSupport, "/support/");
}

// Runs of at least `least` consecutive true entries.
int Runs(const std::vector<bool>& marks, int least) {
  int runs = 0;
  int length = 0;
  for (std::size_t i = 0; i <= marks.size(); ++i) {
    if (i < marks.size() && marks[i]) {
      ++length;
      continue;
    }
    if (length >= least) ++runs;
    length = 0;
  }
  return runs;
}

class WindowSession : public testing::Test {
 protected:
  void SetUp() override {
    if (!guitest::OpenTestDisplay()) GTEST_SKIP() << "no display could be opened";
  }
};

TEST_F(WindowSession, ShowsTheBrowsersThumbnailsInRealWindows) {
  TempFolder folder;
  fw::CreateDirectory(folder / L"modules");
  fw::CreateDirectory(folder / L"modules/Log");
  fw::CreateDirectory(folder / L"appdata");
  fw::CreateDirectory(folder / L"lib");
  const std::wstring built = fw::FolderOf(fw::FromNativePath(QRVA_MODULE_PATH));
  ASSERT_TRUE(fw::CopyFile(fw::FromNativePath(QRVA_MODULE_PATH),
                           folder / L"modules/qrva22-64.arx", true));
  ASSERT_TRUE(fw::CopyFile(built + L"/quorva.htb", folder / L"modules/quorva.htb", true));
  const std::string lib = fw::NativePath(folder / L"lib");
  const std::string settings =
      "[Paths]\nNumPaths=1\nPath1=" + lib + "\n[" + lib + "]\nDescription=Symbols\n";
  // The host draws each drawing, so each has a preview of its own.
  std::string commands;
  for (int i = 1; i <= kDrawings; ++i) {
    const std::string n = std::to_string(i);
    commands += "LINE\n0,0\n" + n + "," + std::to_string(kDrawings - i) + "\n\nCIRCLE\n5,5\n" + n +
                "\nSAVEAS\n2018\n\"lib/Part " + n + ".dwg\"\nNEW\n";
  }
  WriteFile(folder / L"draw.scr", commands);
  WriteFile(folder / L"session.scr", "QUORVA\n");
  WriteFile(folder / L"browse.ui",
            "wait-idle\ndump-dialog\ndrop 296\nanswer menu \"Large Icons\"\n"
            "screenshot \"shot one.png\"\ndump-dialog\n");
  // Each session has support files of its own, with the same settings and no caches, so both
  // load alike whatever the one before left.
  auto run = [&](const std::string& support, const std::string& options) {
    fw::CreateDirectory(folder / fw::FromNativePath(support));
    WriteFile(folder / fw::FromNativePath(support + "/qv35.ini"), settings);
    const std::string inner = "cd " + ShellQuote(fw::NativePath(folder.Path())) +
                              " && XDG_DATA_HOME=\"$PWD/appdata\" exec " +
                              ShellQuote(QRVA_HOST_PATH) +
                              " --module modules/qrva22-64.arx --support " + support + options;
    return testsupport::RunProgram("/bin/sh", "-c " + ShellQuote(inner), folder);
  };
  ASSERT_EQ(run("support-draw", " --headless --script draw.scr").exitCode, 0);
  // Headless first: the windows must show the same model, and change nothing in it.
  testsupport::ProgramOutcome headless = run("support-headless", " --headless --script session.scr --ui browse.ui");
  ASSERT_EQ(headless.exitCode, 0) << headless.out << headless.err;
  EXPECT_NE(headless.out.find("ui: screenshot \"shot one.png\" -> no windows\n"),
            std::string::npos);
  ASSERT_FALSE(fw::PathExists(folder / L"shot one.png"));
  testsupport::ProgramOutcome outcome = run("support-windows", " --script session.scr --ui browse.ui");
  ASSERT_EQ(outcome.exitCode, 0) << outcome.out << outcome.err;
  EXPECT_NE(outcome.out.find("ui: screenshot \"shot one.png\" -> saved\n"), std::string::npos)
      << outcome.out;
  EXPECT_EQ(ModelLines(outcome.out), ModelLines(headless.out));

  const std::string bytes = ReadFile(folder / L"shot one.png");
  fw::Result<fw::PngImage> decoded = fw::DecodePng(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_TRUE(decoded.Ok()) << fw::NativePath(decoded.Message());
  const fw::PngImage& shot = decoded.Value();

  // The dialog's size: its template in the real font's dialog units.
  const fw::DialogTemplate dialog = ui::BlockDlgTemplate();
  const fw::CSize units = gui::FontBaseUnits(gui::TemplateFont(dialog));
  const fw::CRect client = fw::MapDialogRect(fw::CRect{0, 0, dialog.cx, dialog.cy}, units);
  EXPECT_GE(shot.width, client.Width());
  EXPECT_LE(shot.width, client.Width() + kFrameAllowance);
  EXPECT_GE(shot.height, client.Height());
  EXPECT_LE(shot.height, client.Height() + kFrameAllowance);

  // The thumbnails (white drawings on black) in the list's area: black in several runs of
  // columns and of rows, as a grid of icons laid out row by row.
  const auto list = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                 [](const fw::ControlTemplate& c) { return c.id == ui::kIdBlocks; });
  ASSERT_NE(list, dialog.controls.end());
  const fw::CRect area = fw::MapDialogRect(list->rect, units);
  ASSERT_LE(area.right, shot.width);
  ASSERT_LE(area.bottom, shot.height);
  auto isBlack = [&](int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * shot.width + x) * 3;
    return shot.rgb[at] == 0 && shot.rgb[at + 1] == 0 && shot.rgb[at + 2] == 0;
  };
  std::vector<bool> blackColumns(static_cast<std::size_t>(area.Width()));
  std::vector<bool> blackRows(static_cast<std::size_t>(area.Height()));
  for (int x = area.left; x < area.right; ++x) {
    int black = 0;
    for (int y = area.top; y < area.bottom; ++y) black += isBlack(x, y) ? 1 : 0;
    blackColumns[static_cast<std::size_t>(x - area.left)] = black > area.Height() / 8;
  }
  for (int y = area.top; y < area.bottom; ++y) {
    int black = 0;
    for (int x = area.left; x < area.right; ++x) black += isBlack(x, y) ? 1 : 0;
    blackRows[static_cast<std::size_t>(y - area.top)] = black > area.Width() / 8;
  }
  const int thumbnailColumns = Runs(blackColumns, 16);
  const int thumbnailRows = Runs(blackRows, 16);
  EXPECT_GE(thumbnailColumns, 3);
  EXPECT_GE(thumbnailRows, 2);
  EXPECT_GE(thumbnailColumns * thumbnailRows, kDrawings) << "columns " << thumbnailColumns
                                                         << ", rows " << thumbnailRows;
}

}  // namespace

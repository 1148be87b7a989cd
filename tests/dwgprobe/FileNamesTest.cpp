// Drawings as users keep them: folders and names with letters beyond ASCII and bytes that are
// not UTF-8, side files whose folder is spelt in another case, and files that are no regular
// files. Listed, probed and shown through qrva-probe and through the library's listing and probe.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "DrawingBuilder.h"
#include "dwgprobe/DrawingProbe.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;

std::string ValidDrawing(const std::string& description) {
  return probetest::AsText(probetest::BuildDrawing(
      "AC1015", {{1, probetest::HeaderData(description)}, {2, probetest::SmallBmp()}}));
}

// A folder "Bibliothèque" holding "Tür.dwg" and a drawing whose name is Latin-1, not UTF-8.
class NonAsciiLibrary : public ::testing::Test {
 protected:
  NonAsciiLibrary() {
    EXPECT_TRUE(fw::CreateDirectory(library_));
    testsupport::WriteFile(fw::PathJoin(library_, L"T\u00FCr.dwg"), ValidDrawing("Door"));
    testsupport::WriteFile(fw::PathJoin(library_, latin1_), ValidDrawing("Plans"));
  }

  TempFolder folder_;
  const std::wstring library_ = folder_ / L"Biblioth\u00E8que";
  const std::wstring latin1_ = fw::FromNativePath("Pl\xE4ne.dwg");
};

TEST_F(NonAsciiLibrary, QrvaProbeListsProbesAndShowsEveryName) {
  const std::string lib = fw::NativePath(library_);
  const auto run = testsupport::RunProgram(
      QRVA_PROBE_PROGRAM,
      testsupport::ShellQuote(lib) + " " + testsupport::ShellQuote(lib + "/Pl\xE4ne.dwg"), folder_);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string door = "{\"path\":\"" + lib + "/T\xC3\xBCr.dwg\",\"ok\":true,\"version\":16";
  const std::string plans = "{\"path\":\"" + lib + "/Pl\xEF\xBF\xBDne.dwg\",\"ok\":true,\"version\":16";
  EXPECT_NE(run.out.find(plans), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(door), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << "both listed, one named";
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\xE4'), 0) << "the output is UTF-8";
}

TEST_F(NonAsciiLibrary, TheLibraryListsAndProbesEveryDrawing) {
  library::Directory d;
  d.path = library_;
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(d.path, L"*.dwg"));
  while (more) {
    more = finder.FindNextFile();
    d.AppendBlock().name = finder.GetFileTitle();
  }
  ASSERT_EQ(d.Blocks().size(), 2u);
  std::vector<std::wstring> descriptions;
  for (const auto& block : d.Blocks()) {
    (void)library::Probe(d, *block);
    EXPECT_EQ(block->version, 16) << fw::NativePath(block->name);
    EXPECT_NE(block->imageIndex, 0) << fw::NativePath(block->name);
    descriptions.push_back(block->description);
  }
  EXPECT_EQ(descriptions, (std::vector<std::wstring>{L"Plans", L"Door"}));
  EXPECT_EQ(fw::CFileName(d.DrawingPath(*d.Blocks()[0])).FileName(), latin1_);
}

// Users copy libraries from systems whose names ignore case: the side-file folder too.
TEST(DescriptionSideFile, IsFoundWhateverTheCaseOfItsFolderAndName) {
  for (const wchar_t* side : {L"PXTLIB/A.lsa", L"pxtlib/a.LSA", L"PxtLib/A.Lsa"}) {
    TempFolder folder;
    testsupport::WriteFile(folder / L"A.dwg", ValidDrawing(""));
    ASSERT_TRUE(fw::CreateDirectory(folder / fw::FolderOf(side)));
    testsupport::WriteFile(folder / side, "From the side file\r\n");
    const dwgprobe::ProbeOutcome outcome = dwgprobe::ProbeDrawing(folder / L"A.dwg", {});
    EXPECT_EQ(outcome.description, L"From the side file") << fw::NativePath(side);
    EXPECT_TRUE(outcome.lsaPending) << fw::NativePath(side);
  }
}

// A FIFO named like a drawing, its side description or its side bitmap must never hold the
// probe (and with it the loader and StopLoader). Should one block, the test opens the FIFOs for
// writing to set the probe free again before it fails.
TEST(NoRegularFile, NeverHoldsTheProbe) {
  struct Case {
    const char* what;
    std::function<void(const TempFolder&)> make;
    std::vector<std::wstring> fifos;
    bool opened;
  };
  const std::string r12 = "AC1009 an old drawing";
  const Case cases[] = {
      {"the drawing", [](const TempFolder&) {}, {L"A.dwg"}, false},
      {"the side description",
       [](const TempFolder& f) {
         testsupport::WriteFile(f / L"A.dwg", ValidDrawing(""));
         EXPECT_TRUE(fw::CreateDirectory(f / L"PXTLIB"));
       },
       {L"PXTLIB/A.lsa"}, true},
      {"the side bitmap", [&](const TempFolder& f) { testsupport::WriteFile(f / L"A.dwg", r12); },
       {L"A.bmp"}, true},
      {"the lock file", [](const TempFolder& f) { testsupport::WriteFile(f / L"A.dwg", ValidDrawing("")); },
       {L"A.DWK"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    c.make(folder);
    for (const std::wstring& fifo : c.fifos) {
      ASSERT_EQ(mkfifo(fw::NativePath(folder / fifo).c_str(), 0666), 0);
    }
    auto probe = std::async(std::launch::async, [&] {
      return dwgprobe::ProbeDrawing(folder / L"A.dwg", {});
    });
    if (probe.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      ADD_FAILURE() << "the probe waits on a FIFO";
      for (const std::wstring& fifo : c.fifos) {
        const int writer = open(fw::NativePath(folder / fifo).c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
      }
    }
    const dwgprobe::ProbeOutcome outcome = probe.get();
    EXPECT_EQ(outcome.opened, c.opened);
    EXPECT_EQ(outcome.description, L"");
  }
}

}  // namespace

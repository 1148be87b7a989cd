// Edit Descrip. on drawings that cannot take a description: nothing opens, the message says
// why, and the block keeps its description.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "BrowserFixture.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "library/Block.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "ui/SideDlgTemplates.h"

namespace browsertest {
namespace {

const fw::ModuleResources sideResources(&sideResources, {ui::EditDescTemplate()}, {});

class EditDescription : public BrowserFixture {};

TEST_F(EditDescription, AMissingOrReadOnlyDrawingKeepsItsDescription) {
  struct Case {
    const wchar_t* drawing;
    void (*spoil)(const std::string& path);
    const char* message;
  };
  const Case cases[] = {
      {L"ro", [](const std::string& path) { chmod(path.c_str(), 0444); },
       "ui: message \"Quorvane\" \"This file is read only.\\nThe description cannot be changed.\" "
       "-> OK"},
      {L"gone", [](const std::string& path) { unlink(path.c_str()); },
       "ui: message \"Quorvane\" \"File no longer exists.\" -> OK"},
  };
  std::wstring folder = MakeFolder(L"lib", {L"ro", L"gone"});
  WriteSettings(SettingsFor({{folder, L"Lib"}}));
  LoadSettings();
  RunDialog("wait-idle\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    c.spoil(fw::NativePath(folder + L"/" + c.drawing + L".dwg"));
    std::string name = fw::ToUtf8(c.drawing);
    std::vector<std::string> shown =
        RunDialog("wait-idle\nchoose 253 \"" + name + "\"\nclick 223\nanswer message OK\n");
    EXPECT_NE(std::find(shown.begin(), shown.end(), c.message), shown.end());
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                            [](const std::string& line) {
                              return line.find("Edit Block") != std::string::npos;
                            }),
              0);
    library::Directory* d = library::TheLibrary().FindByPath(folder);
    ASSERT_NE(d, nullptr);
    for (const auto& block : d->Blocks()) EXPECT_EQ(block->description, L"");
  }
}

}  // namespace
}  // namespace browsertest

// The block list's parts on their own: the fourteen sort styles and where a block lands once
// sorted, the column and menu alternation, quick find's pattern against the host's matcher and
// its search order across directories, the view button's cycle, menu and face, and QuickPic.
#include <gtest/gtest.h>

#include <vector>

#include "fw/Dialog.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/ListCtrl.h"
#include "fw/Module.h"
#include "fw/OwnerDrawButton.h"
#include "fw/Strings.h"
#include "fw/UiScript.h"
#include "fw/UserInput.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "ui/BlockSort.h"
#include "ui/MyList.h"
#include "ui/QuickFind.h"
#include "ui/QuickPic.h"
#include "ui/ViewButton.h"

namespace {

constexpr int kButtonId = 296;
constexpr int kListId = 253;

// The view button and the block list where the main dialog has them, never shown.
fw::DialogTemplate PanelTemplate() {
  fw::DialogTemplate dialog;
  dialog.cx = 520;
  dialog.cy = 346;
  dialog.controls = {fw::ControlTemplate::OwnerDrawButton(kButtonId, L"3", 105, 25, 27, 16),
                     fw::ControlTemplate::ListCtrl(kListId, 105, 45, 413, 299, fw::LVS_REPORT)};
  return dialog;
}

struct BlockFacts {
  const wchar_t* name;
  const wchar_t* description;
  int version;
  std::uint64_t size;
  std::int64_t modified;
  std::int64_t created;
};

// Ties in every key, so the order added must break them.
std::unique_ptr<library::Directory> SortSample() {
  const BlockFacts facts[] = {{L"beta", L"Zinc", 15, 300, 30, 10},
                              {L"Alpha", L"", 21, 100, 10, 30},
                              {L"gamma", L"bolt", 15, 200, 20, 20},
                              {L"ALPHA", L"Bolt", 18, 100, 40, 10}};
  auto d = std::make_unique<library::Directory>();
  for (const BlockFacts& f : facts) {
    library::Block& b = d->AppendBlock();
    b.name = f.name;
    b.description = f.description;
    b.version = f.version;
    b.currentStatus.size = f.size;
    b.modified = f.modified;
    b.created = f.created;
  }
  return d;
}

TEST(BlockSort, EachStyleOrdersTheListAndSortedPositionAgrees) {
  const std::vector<std::size_t> expected[ui::kSortStyleCount] = {
      {0, 1, 2, 3}, {1, 3, 0, 2}, {0, 2, 3, 1}, {1, 2, 3, 0}, {1, 3, 2, 0}, {1, 2, 0, 3},
      {0, 3, 2, 1}, {0, 1, 2, 3}, {2, 0, 1, 3}, {1, 3, 0, 2}, {0, 2, 3, 1}, {0, 2, 1, 3},
      {3, 0, 2, 1}, {1, 2, 0, 3}};
  auto d = SortSample();
  std::vector<const library::Block*> blocks;
  for (const auto& b : d->Blocks()) blocks.push_back(b.get());
  fw::Dialog panel(PanelTemplate());
  auto& list = panel.Item<fw::ListCtrl>(kListId);
  for (std::size_t at = 0; at < blocks.size(); ++at) {
    fw::ListItem item;
    item.texts = {blocks[at]->name};
    item.data = reinterpret_cast<fw::ItemData>(blocks[at]);
    list.InsertItem(static_cast<int>(at), std::move(item));
  }
  for (int style = 0; style < ui::kSortStyleCount; ++style) {
    SCOPED_TRACE(style);
    // From another order first, so that None really has to restore the order added.
    ui::SortBlockList(list, 8);
    ui::SortBlockList(list, style);
    std::vector<std::size_t> shown;
    for (fw::ItemData data : list.GetAllItemData()) {
      for (std::size_t at = 0; at < blocks.size(); ++at) {
        if (reinterpret_cast<fw::ItemData>(blocks[at]) == data) shown.push_back(at);
      }
    }
    EXPECT_EQ(shown, expected[style]);
    for (std::size_t position = 0; position < shown.size(); ++position) {
      EXPECT_EQ(ui::SortedPosition(blocks, shown[position], style), position);
    }
  }
}

TEST(BlockSort, TheSameChoiceAgainReversesAndANewOneStartsAscending) {
  struct Case {
    int current;
    int column;
    int stored;
  };
  const Case cases[] = {
      {1, 3, 4},   // Size, first click: ascending
      {4, 3, 11},  // second click: descending
      {11, 3, 4},  // third: ascending again
      {8, 0, 1},   // from RevName, Name starts ascending
      {0, 0, 1},   // None and RevNone are no key of a column
      {7, 0, 1},
      {5, 5, 12},  // column 5 is Modified
      {6, 4, 13},  // column 4 is Created
      {2, 1, 9},
      {3, 2, 10},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << test.current << " column " << test.column);
    EXPECT_EQ(ui::StyleAfterChoosing(test.current, ui::ForwardStyleOfColumn(test.column)),
              test.stored);
  }
  EXPECT_EQ(ui::ForwardStyleOfColumn(6), 0);
}

TEST(QuickFind, TypedTextIsTextWhateverCharactersItHolds) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* name;
    const wchar_t* description;
    bool found;
  };
  const Case cases[] = {
      {L"gam", L"Gamma block", L"", true},
      {L"GAMMA", L"gamma", L"", true},
      {L"single", L"D-12", L"Door, SINGLE", true},
      {L"m8 [zinc]", L"beta", L"Hex Bolt M8 [zinc]", true},
      {L"[zi]", L"z", L"", false},  // not a class of z and i
      {L"*", L"Alpha", L"", false},  // not "anything"
      {L"*", L"Door", L"Door *left*", true},
      {L"?", L"Alpha", L"", false},
      {L"a.b", L"axb", L"", false},
      {L"a.b", L"A.B", L"", true},
      {L"#1", L"Bolt 11", L"", false},
      {L"#1", L"Bolt #1", L"", true},
      {L"@", L"Alpha", L"", false},
      {L"~alpha", L"beta", L"", false},  // not "everything but alpha"
      {L"~alpha", L"x~Alpha", L"", true},
      {L"door, single", L"door", L"", false},  // not two alternatives
      {L"door, single", L"x", L"Door, single *left*", true},
      {L"`", L"ab", L"", false},
      {L"`", L"a`b", L"", true},
      {L"", L"anything", L"", true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << "typed \"" << fw::ToUtf8(test.typed) << "\" name \""
                                    << fw::ToUtf8(test.name) << "\"");
    library::Block b;
    b.name = test.name;
    b.description = test.description;
    EXPECT_EQ(ui::BlockMatches(ui::FindPattern(test.typed), b), test.found);
  }
}

TEST(QuickFind, OtherDirectoriesAreSearchedAfterTheCurrentOneThenFromTheFirst) {
  struct Case {
    std::size_t current;
    std::vector<bool> loaded;
    std::vector<bool> holdsMatch;
    int found;  // directory index, -1 for none
  };
  const Case cases[] = {
      {1, {true, true, true, true}, {true, false, false, true}, 3},
      {1, {true, true, true, false}, {true, false, false, true}, 0},  // not loaded: passed over
      {2, {true, true, true}, {false, true, true}, 1},                // the current one is not
      {0, {true, false}, {false, true}, -1},
  };
  library::Library& library = library::TheLibrary();
  for (const Case& test : cases) {
    library::EmptyLibrary();
    for (std::size_t at = 0; at < test.loaded.size(); ++at) {
      auto d = std::make_unique<library::Directory>();
      d->loaded = test.loaded[at];
      d->AppendBlock().name = L"plain";
      d->AppendBlock().name = test.holdsMatch[at] ? L"Valve" : L"other";
      library.Append(std::move(d));
    }
    std::optional<ui::FoundBlock> found =
        ui::FindInOtherDirectories(ui::FindPattern(L"valve"), &library.At(test.current));
    ASSERT_EQ(found.has_value(), test.found >= 0);
    if (found) {
      EXPECT_EQ(found->directory, &library.At(static_cast<std::size_t>(test.found)));
      EXPECT_EQ(found->index, 1u);
    }
  }
  library::EmptyLibrary();
}

// A driver that notes where each popup menu was asked to open.
class PlacementDriver : public fw::HeadlessUiDriver {
 public:
  int TrackPopupMenu(const fw::Menu& menu, const fw::PopupRequest& request) override {
    requests.push_back(request);
    return HeadlessUiDriver::TrackPopupMenu(menu, request);
  }
  std::vector<fw::PopupRequest> requests;
};

class ViewButtonTest : public testing::Test {
 protected:
  ViewButtonTest() { fw::SetUiDriver(&driver_); }
  ~ViewButtonTest() override { fw::SetUiDriver(nullptr); }

  PlacementDriver driver_;
  // The pictures are found among this program's resources (see BrowserFixture.cpp).
  fw::ModuleStateScope resources_{
      fw::ModuleFromAddress(reinterpret_cast<const void*>(&PanelTemplate))};
  fw::Dialog panel_{PanelTemplate()};
  fw::OwnerDrawButton& control_ = panel_.Item<fw::OwnerDrawButton>(kButtonId);
  ui::ViewButton button_{control_};
};

TEST(ViewButtonCycle, AClickGoesToTheNextViewSkippingLargeIconsWithoutLargeImages) {
  const int withLarge[] = {1, 2, 3, 0};
  const int withoutLarge[] = {1, 2, 3, 1};
  for (int view = 0; view < ui::kViewCount; ++view) {
    EXPECT_EQ(ui::ViewButton::NextView(view, true), withLarge[view]) << view;
    EXPECT_EQ(ui::ViewButton::NextView(view, false), withoutLarge[view]) << view;
  }
}

TEST_F(ViewButtonTest, TheMenuOpensBelowTheButtonOnTheSideOfTheMouseButton) {
  ASSERT_TRUE(button_.SetUp());
  EXPECT_EQ(control_.GetDropDownWidth(), 17 + 4);
  struct Case {
    bool rightButton;
    bool largeImages;
    const char* answer;
    std::optional<int> chosen;
    const char* shown;
  };
  const Case cases[] = {
      {false, true, "\"List\"", 2,
       "ui: menu \"Large Icons\", \"Small Icons\", \"List\", \"Report\" checked -> \"List\""},
      {true, false, "none", std::nullopt,
       "ui: menu \"Small Icons\", \"List\", \"Report\" checked -> none"},
  };
  fw::CRect rect = control_.GetWindowRect();
  for (const Case& test : cases) {
    SCOPED_TRACE(test.shown);
    driver_.requests.clear();
    driver_.AddSteps(fw::ParseUiScript(std::string("answer menu ") + test.answer).Value());
    EXPECT_EQ(button_.ChooseFromMenu(panel_, test.rightButton, test.largeImages), test.chosen);
    ASSERT_EQ(driver_.requests.size(), 1u);
    const fw::PopupRequest& request = driver_.requests[0];
    EXPECT_EQ(request.point, (fw::CPoint{test.rightButton ? rect.right : rect.left, rect.bottom}));
    EXPECT_EQ((request.flags & fw::TPM_RIGHTALIGN) != 0, test.rightButton);
    EXPECT_EQ((request.flags & fw::TPM_RIGHTBUTTON) != 0, test.rightButton);
    EXPECT_EQ(driver_.Transcript().back(), test.shown);
  }
}

TEST_F(ViewButtonTest, TheFaceShowsTheFrameTheArrowAndThePictureOverMagenta) {
  ASSERT_TRUE(button_.SetUp());
  const fw::COLORREF face = fw::RGB(192, 192, 192);
  const fw::COLORREF black = fw::RGB(0, 0, 0);
  fw::Bitmap raised = control_.DrawItem(false);
  fw::Bitmap pressed = control_.DrawItem(true);
  ASSERT_EQ(raised.Width(), control_.GetClientRect().Width());
  EXPECT_EQ(raised.GetPixel(0, 0), fw::RGB(255, 255, 255));
  EXPECT_EQ(pressed.GetPixel(0, 0), black);
  // The report picture: its corner is transparent, its header's frame black.
  EXPECT_EQ(raised.GetPixel(2, 2), face);
  EXPECT_EQ(raised.GetPixel(3, 3), black);
  // The arrow: seven, five, three and one black pixels inside the drop-down part.
  int arrow = 0;
  int width = raised.Width();
  for (int y = 2; y < raised.Height() - 2; ++y) {
    for (int x = width - 17; x < width - 2; ++x) arrow += raised.GetPixel(x, y) == black ? 1 : 0;
  }
  EXPECT_EQ(arrow, 16);
  button_.SetView(ui::kViewLargeIcons);
  EXPECT_EQ(control_.GetImage(), ui::kViewLargeIcons);
  EXPECT_NE(control_.DrawItem(false).Bits(), raised.Bits());
}

TEST(QuickPicWindow, SitsCentredAroundItsPictureAndTheNextPressClosesIt) {
  fw::HeadlessUiDriver driver;
  fw::SetUiDriver(&driver);
  fw::Dialog owner(PanelTemplate());
  owner.BeginShowing(true);
  library::Directory d;
  library::Block b;
  b.name = L"Bolt";
  int closed = 0;
  auto pic = std::make_unique<ui::QuickPic>([&closed] { ++closed; });
  pic->Show(owner, d, b, d.LargeImages(), d.SmallImages());
  fw::CRect area = owner.GetClientRect();
  fw::CRect window = pic->WindowRect();
  EXPECT_EQ(window.Width(), 260 + 2 * 3);
  EXPECT_EQ(window.Height(), 190 + 23 + 2 * 3);
  EXPECT_EQ(window.left, (area.Width() - window.Width()) / 2);
  EXPECT_EQ(window.top, (area.Height() - window.Height()) / 2);
  EXPECT_EQ(fw::GetCapture(), pic.get());
  // The block has no preview: its placeholder thumbnail is the picture, not an empty one.
  fw::Bitmap picture = pic->Picture();
  ASSERT_EQ(picture.Width(), 260);
  EXPECT_NE(picture.GetPixel(130, 95), picture.GetPixel(20, 95));

  // The press closes QuickPic and reaches nothing else; the next one does.
  fw::UserInput input(owner);
  bool clicked = false;
  owner.On(kButtonId, fw::Event::kClicked, [&clicked] { clicked = true; });
  ASSERT_TRUE(input.Click(kButtonId).Ok());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(clicked);
  EXPECT_EQ(fw::GetCapture(), nullptr);
  EXPECT_FALSE(pic->IsShown());
  ASSERT_TRUE(input.Click(kButtonId).Ok());
  EXPECT_TRUE(clicked);
  pic.reset();
  EXPECT_EQ(closed, 1);
  owner.FinishShowing();
  fw::SetUiDriver(nullptr);
}

TEST(QuickPicWindow, ADirectoryWithoutLargeImagesShowsItsSmallThumbnail) {
  library::Directory d;
  d.useLargeImages = false;
  d.ResetImages(true);
  library::Block b;
  fw::Bitmap withSmall = ui::DrawQuickPicture(d, b, d.LargeImages(), d.SmallImages());
  fw::Bitmap black(260, 190);
  EXPECT_NE(withSmall.Bits(), black.Bits());
}

}  // namespace

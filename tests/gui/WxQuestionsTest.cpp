// What the framework's message boxes, menus, file filters and colour indexes become in wx; no
// window is made, so no display is needed.
#include <gtest/gtest.h>
#include <wx/defs.h>

#include <set>
#include <utility>

#include "fw/Menu.h"
#include "fw/UiDriver.h"
#include "gui/WxQuestions.h"

namespace {

TEST(WxQuestions, MapsMessageBoxButtonsIconsAndAnswers) {
  struct Case {
    unsigned type;
    long style;
    int wxAnswer;
    int answer;
  } cases[] = {
      {fw::MB_OK, wxOK | wxICON_NONE, wxID_OK, fw::IDOK},
      {fw::MB_OK | fw::MB_ICONERROR, wxOK | wxICON_ERROR, wxID_CANCEL, fw::IDOK},
      {fw::MB_OKCANCEL | fw::MB_ICONQUESTION, wxOK | wxCANCEL | wxICON_QUESTION, wxID_CANCEL,
       fw::IDCANCEL},
      {fw::MB_YESNO | fw::MB_ICONEXCLAMATION, wxYES_NO | wxICON_WARNING, wxID_YES, fw::IDYES},
      {fw::MB_YESNO, wxYES_NO | wxICON_NONE, wxID_CANCEL, fw::IDNO},
      {fw::MB_YESNOCANCEL | fw::MB_ICONINFORMATION, wxYES_NO | wxCANCEL | wxICON_INFORMATION,
       wxID_NO, fw::IDNO},
      {fw::MB_YESNOCANCEL, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_CANCEL, fw::IDCANCEL},
      {fw::MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_YES, fw::IDABORT},
      {fw::MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_NO, fw::IDRETRY},
      {fw::MB_ABORTRETRYIGNORE, wxYES_NO | wxCANCEL | wxICON_NONE, wxID_CANCEL, fw::IDIGNORE},
      {fw::MB_RETRYCANCEL, wxOK | wxCANCEL | wxICON_NONE, wxID_OK, fw::IDRETRY},
      {fw::MB_RETRYCANCEL, wxOK | wxCANCEL | wxICON_NONE, wxID_CANCEL, fw::IDCANCEL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gui::MessageBoxStyle(c.type), c.style) << std::hex << c.type;
    EXPECT_EQ(gui::MessageBoxAnswer(c.type, c.wxAnswer), c.answer) << std::hex << c.type;
  }
}

TEST(WxQuestions, ConvertsMenusWithSubmenusCheckedAndGreyedItems) {
  fw::Menu sort;
  sort.AppendMenu(fw::MF_STRING | fw::MF_CHECKED, 21, L"By &name");
  sort.AppendMenu(fw::MF_STRING, 22, L"By &date");
  fw::Menu menu;
  menu.AppendMenu(fw::MF_STRING, 11, L"&Open");
  menu.AppendMenu(fw::MF_SEPARATOR);
  menu.AppendMenu(fw::MF_STRING | fw::MF_GRAYED, 12, L"&Delete");
  menu.AppendSubMenu(sort, L"&Sort");

  using Kind = gui::WxMenuEntry::Kind;
  std::vector<gui::WxMenuEntry> entries = gui::ConvertMenu(menu);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].kind, Kind::kItem);
  EXPECT_EQ(entries[0].id, 11);
  EXPECT_EQ(entries[0].label, L"&Open");
  EXPECT_TRUE(entries[0].enabled);
  EXPECT_EQ(entries[1].kind, Kind::kSeparator);
  EXPECT_FALSE(entries[2].enabled);
  ASSERT_EQ(entries[3].kind, Kind::kSubmenu);
  ASSERT_EQ(entries[3].children.size(), 2u);
  EXPECT_EQ(entries[3].children[0].kind, Kind::kCheck);
  EXPECT_TRUE(entries[3].children[0].checked);
  EXPECT_EQ(entries[3].children[1].kind, Kind::kItem);
  EXPECT_EQ(entries[3].children[1].id, 22);
}

TEST(WxQuestions, TurnsFiltersIntoWildcards) {
  EXPECT_EQ(gui::WxWildcard(L"Text|*.txt||"), L"Text|*.txt");
  EXPECT_EQ(gui::WxWildcard(L"Drawings|*.dwg;*.DWG|All files|*.*||"),
            L"Drawings|*.dwg;*.DWG|All files|*.*");
  EXPECT_EQ(gui::WxWildcard(L""), L"");
}

// Every index has a cell of its own inside the grid; nothing else has one.
TEST(WxQuestions, GivesEachColourIndexItsOwnSwatch) {
  std::set<std::pair<int, int>> cells;
  for (int index = 1; index <= 255; ++index) {
    gui::SwatchCell cell = gui::SwatchCellOf(index);
    EXPECT_TRUE(cell.column >= 0 && cell.column < 24 && cell.row >= 0 && cell.row < 14) << index;
    cells.insert({cell.column, cell.row});
  }
  EXPECT_EQ(cells.size(), 255u);
  EXPECT_EQ(gui::SwatchCellOf(0).column, -1);
  EXPECT_EQ(gui::SwatchCellOf(256).column, -1);
}

}  // namespace

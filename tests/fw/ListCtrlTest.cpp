// The list control model: sorting large lists with selection kept and ties in the order added,
// finding by data, the arithmetic layout of the four views, and edits in the middle.
#include "fw/ListCtrl.h"

#include <gtest/gtest.h>

#include "fw/Dialog.h"

namespace {

constexpr int kListId = 20;

// A dialog that is never shown, holding one list control of 200 x 100 dialog units
// (300 x 163 pixels, 296 x 159 inside the border).
class ListHolder {
 public:
  explicit ListHolder(unsigned style = fw::LVS_REPORT)
      : dialog_([style] {
          fw::DialogTemplate dialog;
          dialog.cx = 210;
          dialog.cy = 110;
          dialog.controls = {fw::ControlTemplate::ListCtrl(kListId, 0, 0, 200, 100, style)
                                 .ExStyle(fw::WS_EX_CLIENTEDGE)};
          return dialog;
        }()) {}
  fw::ListCtrl& List() { return dialog_.Item<fw::ListCtrl>(kListId); }

 private:
  fw::Dialog dialog_;
};

void Fill(fw::ListCtrl& list, int count, std::function<fw::ItemData(int)> data) {
  for (int at = 0; at < count; ++at) {
    fw::ListItem item;
    item.texts = {L"item " + std::to_wstring(at)};
    item.data = data(at);
    list.InsertItem(at, std::move(item));
  }
}

std::vector<fw::ItemData> DataInOrder(const fw::ListCtrl& list) {
  std::vector<fw::ItemData> data;
  for (int at = 0; at < list.GetItemCount(); ++at) data.push_back(list.GetItemData(at));
  return data;
}

TEST(ListCtrl, SortsAHundredThousandItemsByKeyKeepingSelectionAndTheOrderOfTies) {
  constexpr int kItems = 100000;
  ListHolder holder;
  fw::ListCtrl& list = holder.List();
  Fill(list, kItems, [](int at) { return static_cast<fw::ItemData>(at); });
  list.SetItemState(4242, fw::LVIS_SELECTED | fw::LVIS_FOCUSED, fw::LVIS_SELECTED | fw::LVIS_FOCUSED);
  auto key = [](fw::ItemData data) { return static_cast<std::int64_t>((data * 7919) % 1000); };
  for (bool descending : {false, true}) {
    SCOPED_TRACE(descending);
    list.SortItemsByKey(key, descending);
    std::vector<fw::ItemData> data = DataInOrder(list);
    for (std::size_t at = 1; at < data.size(); ++at) {
      std::int64_t before = key(data[at - 1]);
      std::int64_t now = key(data[at]);
      ASSERT_TRUE(descending ? before >= now : before <= now) << at;
      // Equal keys keep the order the items were added in, in both directions.
      if (before == now) {
        ASSERT_LT(data[at - 1], data[at]) << at;
      }
    }
    ASSERT_EQ(list.GetSelectedCount(), 1);
    int selected = list.GetNextItem(-1, fw::LVNI_SELECTED);
    EXPECT_EQ(list.GetItemData(selected), 4242u);
    EXPECT_EQ(list.GetNextItem(-1, fw::LVNI_FOCUSED), selected);
    EXPECT_EQ(list.FindItemByData(4242), selected);
  }
}

TEST(ListCtrl, SortsByAComparisonStablyAndKeepsItemsAddedOrRemovedWhileItRuns) {
  ListHolder holder;
  fw::ListCtrl& list = holder.List();
  Fill(list, 6, [](int at) { return static_cast<fw::ItemData>(at % 3); });  // 0 1 2 0 1 2
  for (int at = 0; at < 6; ++at) list.SetItemText(at, 0, std::to_wstring(at));
  // The comparison runs without the list's lock: it may change the list, as another thread
  // may while it runs.
  bool changed = false;
  list.SortItems([&](fw::ItemData first, fw::ItemData second) {
    if (!changed) {
      changed = true;
      list.DeleteItem(list.FindItemByText(L"4"));
      list.InsertItem(0, L"new");
    }
    return static_cast<int>(second) - static_cast<int>(first);
  });
  std::vector<std::wstring> labels;
  for (int at = 0; at < list.GetItemCount(); ++at) labels.push_back(list.GetItemText(at, 0));
  EXPECT_EQ(labels, (std::vector<std::wstring>{L"2", L"5", L"1", L"0", L"3", L"new"}));
}

TEST(ListCtrl, FindsItemsByDataAfterInsertsDeletesAndChanges) {
  ListHolder holder;
  fw::ListCtrl& list = holder.List();
  Fill(list, 5, [](int at) { return static_cast<fw::ItemData>(100 + at % 2); });  // 100 101 100 101 100
  EXPECT_EQ(list.FindItemByData(100), 0);
  EXPECT_EQ(list.FindItemByData(100, 0), 2);
  EXPECT_EQ(list.FindItemByData(101, 3), -1);
  EXPECT_EQ(list.FindItemByData(7), -1);
  list.DeleteItem(0);
  EXPECT_EQ(list.FindItemByData(100), 1);
  list.SetItemData(1, 7);
  EXPECT_EQ(list.FindItemByData(7), 1);
  EXPECT_EQ(list.FindItemByData(100), 3);
  list.InsertItem(0, L"first");
  EXPECT_EQ(list.FindItemByData(7), 2);
  EXPECT_EQ(list.FindItemByData(0), 0);
  EXPECT_EQ(list.FindItemByData(0, 0), -1);
  list.SetItemData(3, 0);
  EXPECT_EQ(list.FindItemByData(0, 0), 3);
  EXPECT_EQ(list.FindItemByData(101), 1);
}

TEST(ListCtrl, KeepsSelectionAndSubItemsThroughEditsInTheMiddle) {
  ListHolder holder(fw::LVS_REPORT | fw::LVS_SINGLESEL);
  fw::ListCtrl& list = holder.List();
  list.InsertColumn(0, L"Name", fw::LVCFMT_LEFT, 100);
  list.InsertColumn(1, L"Size", fw::LVCFMT_LEFT, 50);
  Fill(list, 3, [](int at) { return static_cast<fw::ItemData>(at); });
  list.SetItemText(1, 1, L"10");
  list.SetItemState(1, fw::LVIS_SELECTED, fw::LVIS_SELECTED);
  list.SetItemState(2, fw::LVIS_SELECTED, fw::LVIS_SELECTED);  // single selection: 1 loses it
  EXPECT_EQ(list.GetSelectedCount(), 1);
  list.InsertItem(1, L"between");
  EXPECT_EQ(list.GetNextItem(-1, fw::LVNI_SELECTED), 3);
  EXPECT_EQ(list.GetItemText(2, 1), L"10");
  EXPECT_FALSE(list.SetItemText(2, 2, L"no such column"));
  list.InsertColumn(1, L"Type", fw::LVCFMT_LEFT, 40);
  EXPECT_EQ(list.GetItemText(2, 2), L"10");
  list.DeleteColumn(1);
  EXPECT_EQ(list.GetItemText(2, 1), L"10");
  list.DeleteItem(3);
  EXPECT_EQ(list.GetSelectedCount(), 0);
  EXPECT_EQ(list.GetNextItem(-1, fw::LVNI_SELECTED), -1);
}

TEST(ListCtrl, LaysOutEveryViewByArithmetic) {
  struct Case {
    unsigned view;
    fw::CPoint point;
    int expected;
  };
  // 296 x 159 client pixels; report rows of 14 under a 17-pixel header; icon cells 75 x 75
  // (3 across); small-icon and list cells 100 x 14 (2 across; list columns 11 rows high).
  const Case cases[] = {
      {fw::LVS_REPORT, {5, 5}, -1},         // the header
      {fw::LVS_REPORT, {5, 17}, 0},
      {fw::LVS_REPORT, {5, 17 + 14 * 3 + 13}, 3},
      {fw::LVS_REPORT, {290, 20}, -1},      // right of the columns
      {fw::LVS_ICON, {80, 10}, 1},
      {fw::LVS_ICON, {10, 80}, 3},
      {fw::LVS_ICON, {230, 10}, -1},        // beyond the third column of cells
      {fw::LVS_SMALLICON, {150, 15}, 3},
      {fw::LVS_LIST, {150, 15}, 12},
      {fw::LVS_LIST, {5, 155}, -1},         // below the eleventh row
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::to_string(test.view) + " at " + std::to_string(test.point.x) + "," +
                 std::to_string(test.point.y));
    ListHolder holder(test.view);
    fw::ListCtrl& list = holder.List();
    list.InsertColumn(0, L"Name", fw::LVCFMT_LEFT, 200);
    Fill(list, 1000, [](int at) { return static_cast<fw::ItemData>(at); });
    EXPECT_EQ(list.HitTest(test.point), test.expected);
  }
  for (unsigned view : {fw::LVS_ICON, fw::LVS_SMALLICON, fw::LVS_LIST, fw::LVS_REPORT}) {
    SCOPED_TRACE(view);
    ListHolder holder(view);
    fw::ListCtrl& list = holder.List();
    list.InsertColumn(0, L"Name", fw::LVCFMT_LEFT, 200);
    Fill(list, 1000, [](int at) { return static_cast<fw::ItemData>(at); });
    fw::CRect client = list.GetClientRect();
    for (int target : {999, 500, 0, 731}) {
      ASSERT_TRUE(list.EnsureVisible(target, false));
      fw::CRect rect = list.GetItemRect(target);
      EXPECT_GE(rect.left, 0);
      EXPECT_LE(rect.bottom, client.bottom - 4);  // inside the border
      EXPECT_EQ(list.HitTest({rect.left + rect.Width() / 2, rect.top + rect.Height() / 2}), target);
      EXPECT_LE(list.GetTopIndex(), target);
    }
  }
}

TEST(ListCtrl, ScrollsTheReportViewSoTheItemIsTheLastOrFirstShown) {
  ListHolder holder;
  fw::ListCtrl& list = holder.List();
  Fill(list, 100, [](int at) { return static_cast<fw::ItemData>(at); });
  EXPECT_EQ(list.GetCountPerPage(), (159 - 17) / 14);
  list.EnsureVisible(50, false);
  EXPECT_EQ(list.GetTopIndex(), 50 - list.GetCountPerPage() + 1);
  list.EnsureVisible(20, false);
  EXPECT_EQ(list.GetTopIndex(), 20);
  list.EnsureVisible(25, true);  // already shown
  EXPECT_EQ(list.GetTopIndex(), 20);
  list.DeleteAllItems();
  EXPECT_EQ(list.GetTopIndex(), 0);
}

}  // namespace

// The list control as a model that views ask: the four views, report columns, and items with
// texts, sub-items, an image, item data and state. The items live in one vector in the order
// they were added, and a permutation gives the display order, so sorting moves indexes, not
// items, and selection and focus, kept on the items, survive it. Indexes in this interface are
// display positions, as on the platform. The image lists are shared handles: the directory that
// owns them keeps them, the control only shows them.
//
// Threads: any thread may call every member (the loader fills the list while the dialog runs);
// see Control. Comparison and key functions run on the calling thread without the control's lock
// held, so they may lock what they read. A change of an item's state raises Event::kItemChanged,
// at once on the dialog's thread and posted from any other.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fw/Control.h"
#include "fw/ImageList.h"
#include "fw/ListLayout.h"

namespace fw {

// One item as a presenter or a test reads it.
struct ListItem {
  std::vector<std::wstring> texts;  // the label, then the sub-items
  int image = -1;                   // -1: none
  ItemData data = 0;
  unsigned state = 0;  // LVIS_SELECTED, LVIS_FOCUSED, ...
};

struct ListColumn {
  std::wstring heading;
  int format = LVCFMT_LEFT;
  int width = 0;
};

class ListCtrl final : public Control {
 public:
  // Layout metrics for the template's font when no presenter has given its own.
  static constexpr int kDefaultRowHeight = 14;
  static constexpr int kDefaultHeaderHeight = 17;
  static constexpr int kDefaultListColumnWidth = 100;
  static constexpr CSize kDefaultIconSpacing{75, 75};

  ListCtrl(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect);

  // --- Views, styles and image lists ------------------------------------------------------
  // LVS_ICON, LVS_SMALLICON, LVS_LIST or LVS_REPORT (the style's LVS_TYPEMASK bits).
  unsigned GetView() const { return GetStyle() & LVS_TYPEMASK; }
  void SetView(unsigned view);
  unsigned GetExtendedStyle() const;
  void SetExtendedStyle(unsigned exStyle);
  // Shows `images` (shared, not copied) as the LVSIL_NORMAL or LVSIL_SMALL list; returns the
  // list shown before.
  CImageList SetImageList(const CImageList& images, int which);
  CImageList GetImageList(int which) const;
  // Returns the spacing before; (0, 0) or a negative value restores the default.
  CSize SetIconSpacing(int cx, int cy);
  CSize GetIconSpacing() const;
  // A presenter that measures its own rows and header gives them here.
  void SetRowMetrics(int rowHeight, int headerHeight);

  // --- Report columns ---------------------------------------------------------------------
  // Returns the new column's index, or -1. A negative width takes the default of 100 pixels.
  int InsertColumn(int column, const std::wstring& heading, int format = LVCFMT_LEFT,
                   int width = -1);
  bool DeleteColumn(int column);
  int GetColumnCount() const;
  ListColumn GetColumn(int column) const;  // empty for a bad index
  int GetColumnWidth(int column) const;    // 0 for a bad index
  // In the list view, column 0's width is the width of every cell.
  bool SetColumnWidth(int column, int width);

  // --- Items ------------------------------------------------------------------------------
  int GetItemCount() const;
  // Inserts at display position `index` (past the end: appended); returns its position.
  int InsertItem(int index, const std::wstring& text, int image = -1);
  // Inserts a whole item (texts, image, data and state but the selection) in one step, so a
  // sort on another thread cannot come between the item and its data.
  int InsertItem(int index, ListItem item);
  bool DeleteItem(int index);
  bool DeleteAllItems();
  std::wstring GetItemText(int index, int subItem) const;
  bool SetItemText(int index, int subItem, const std::wstring& text);
  int GetItemImage(int index) const;
  bool SetItemImage(int index, int image);
  ItemData GetItemData(int index) const;
  bool SetItemData(int index, ItemData data);
  unsigned GetItemState(int index, unsigned mask) const;
  // Sets the `mask` bits of the item's state to those of `state`; index -1 means every item.
  // In a single-selection list, selecting an item deselects the other; one item at most has
  // the focus.
  bool SetItemState(int index, unsigned state, unsigned mask);
  // The next item after `start` (-1: from the first) with all `flags` (LVNI_SELECTED,
  // LVNI_FOCUSED; LVNI_ALL: any item), or -1.
  int GetNextItem(int start, unsigned flags) const;
  int GetSelectedCount() const;
  // The whole item, or an empty one for a bad index.
  ListItem GetItem(int index) const;
  // The items at positions first .. first + count - 1 that exist: what a view draws.
  std::vector<ListItem> GetItems(int first, int count) const;
  // The data of every item in display order, without copying texts: what a search walks.
  std::vector<ItemData> GetAllItemData() const;

  // --- Finding and sorting ----------------------------------------------------------------
  // The first item after `start` whose data is `data`, or -1.
  int FindItemByData(ItemData data, int start = -1) const;
  // The first item after `start` whose label equals `text` without regard to case, or -1.
  int FindItemByText(const std::wstring& text, int start = -1) const;
  // The first item whose label is exactly `text`, or -1.
  int FindItemByExactText(const std::wstring& text) const;
  // Sorts by a comparison over item data (negative: first before second). Stable: items that
  // compare equal keep the order they were added in. Selection and focus stay on their items.
  using CompareFunction = std::function<int(ItemData first, ItemData second)>;
  void SortItems(const CompareFunction& compare);
  // Sorts by an integer key of each item's data, computed once per item; ties keep the order
  // the items were added in, in both directions.
  using KeyFunction = std::function<std::int64_t(ItemData data)>;
  void SortItemsByKey(const KeyFunction& key, bool descending = false);

  // --- Scrolling and hit testing ----------------------------------------------------------
  int GetTopIndex() const;
  int GetCountPerPage() const;
  bool EnsureVisible(int index, bool partialOk);
  bool Scroll(CSize delta);
  CPoint GetScrollPosition() const;
  // Lays the icons out on the grid again from the top.
  bool Arrange(int code = LVA_DEFAULT);
  // The item under a point in client pixels, or -1.
  int HitTest(CPoint point) const;
  CRect GetItemRect(int index) const;  // empty for a bad index
  bool CanEditLabels() const { return (GetStyle() & LVS_EDITLABELS) != 0; }

 private:
  struct Item {
    std::uint64_t id = 0;  // rising in the order added: the tie-break of every sort
    ListItem content;
  };
  struct StateChange {
    int position;
    ItemData data;
    unsigned oldState;
    unsigned newState;
  };

  // All below run under lock_.
  bool IsValid(int position) const;
  Item& ItemAt(int position);
  const Item& ItemAt(int position) const;
  std::size_t SlotOf(std::uint64_t id) const;
  // byData_ holds every item whose data is not 0.
  void IndexData(const Item& item);
  void UnindexData(const Item& item);
  void RenumberFrom(int position);
  void ChangeState(std::size_t slot, unsigned state, unsigned mask,
                   std::vector<StateChange>& changes);
  ListMetrics Metrics() const;
  ListLayout Layout() const { return ListLayout(Metrics()); }
  // Sorting: the data of every item in the order added, then the new display order of slots.
  std::vector<ItemData> SnapshotData(std::uint64_t& generation,
                                     std::vector<std::uint64_t>& ids) const;
  void ApplyOrder(const std::vector<std::uint32_t>& sortedSlots, std::uint64_t generation,
                  const std::vector<std::uint64_t>& ids);

  void RaiseStateChanges(const std::vector<StateChange>& changes) const;

  std::vector<Item> items_;               // in the order added
  std::vector<std::uint32_t> order_;      // display position -> slot in items_
  std::vector<std::uint32_t> position_;   // slot -> display position
  std::vector<std::uint64_t> selected_;   // ids of the selected items
  std::uint64_t focusedId_ = 0;           // 0: none
  std::uint64_t nextId_ = 1;
  std::uint64_t generation_ = 0;          // changes when items are added or removed
  std::unordered_multimap<ItemData, std::uint64_t> byData_;  // data (not 0) -> item ids
  std::vector<ListColumn> columns_;
  unsigned extendedStyle_ = 0;
  CImageList normalImages_;
  CImageList smallImages_;
  CSize iconSpacing_{};  // (0, 0): the default
  int rowHeight_ = 0;    // 0: from the small image list and the font
  int headerHeight_ = kDefaultHeaderHeight;
  int listColumnWidth_ = kDefaultListColumnWidth;
  CPoint scroll_;
};

}  // namespace fw

// The list control's views, columns, items, states and scrolling. Sorting and finding are in
// ListCtrlSort.cpp.
#include "fw/ListCtrl.h"

#include <algorithm>
#include <utility>

namespace fw {
namespace {

// The border the platform draws inside the control's rectangle.
int BorderWidth(unsigned style, unsigned exStyle) {
  if ((exStyle & WS_EX_CLIENTEDGE) != 0) return 2;
  return (style & WS_BORDER) != 0 ? 1 : 0;
}

}  // namespace

ListCtrl::ListCtrl(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
    : Control(dialog, index, controlTemplate, rect) {}

void ListCtrl::SetView(unsigned view) {
  ModifyStyle(LVS_TYPEMASK, view & LVS_TYPEMASK);
  {
    std::lock_guard guard(lock_);
    scroll_ = CPoint{};
  }
  NoteChange(kChangeLayout);
}

unsigned ListCtrl::GetExtendedStyle() const {
  std::lock_guard guard(lock_);
  return extendedStyle_;
}

void ListCtrl::SetExtendedStyle(unsigned exStyle) {
  {
    std::lock_guard guard(lock_);
    extendedStyle_ = exStyle;
  }
  NoteChange(kChangeLayout);
}

CImageList ListCtrl::SetImageList(const CImageList& images, int which) {
  CImageList previous;
  {
    std::lock_guard guard(lock_);
    CImageList& slot = which == LVSIL_SMALL ? smallImages_ : normalImages_;
    previous = std::exchange(slot, images);
  }
  NoteChange(kChangeLayout | kChangeItems);
  return previous;
}

CImageList ListCtrl::GetImageList(int which) const {
  std::lock_guard guard(lock_);
  return which == LVSIL_SMALL ? smallImages_ : normalImages_;
}

CSize ListCtrl::SetIconSpacing(int cx, int cy) {
  CSize previous = GetIconSpacing();
  {
    std::lock_guard guard(lock_);
    iconSpacing_ = (cx <= 0 || cy <= 0) ? CSize{} : CSize{cx, cy};
  }
  NoteChange(kChangeLayout);
  return previous;
}

CSize ListCtrl::GetIconSpacing() const {
  std::lock_guard guard(lock_);
  return Metrics().iconCell;
}

void ListCtrl::SetRowMetrics(int rowHeight, int headerHeight) {
  {
    std::lock_guard guard(lock_);
    rowHeight_ = std::max(0, rowHeight);
    headerHeight_ = std::max(0, headerHeight);
  }
  NoteChange(kChangeLayout);
}

int ListCtrl::InsertColumn(int column, const std::wstring& heading, int format, int width) {
  {
    std::lock_guard guard(lock_);
    int count = static_cast<int>(columns_.size());
    if (column < 0) return -1;
    column = std::min(column, count);
    columns_.insert(columns_.begin() + column,
                    ListColumn{heading, format, width < 0 ? kDefaultListColumnWidth : width});
    // Sub-item texts follow their columns.
    if (column < count) {
      for (Item& item : items_) {
        auto& texts = item.content.texts;
        if (static_cast<int>(texts.size()) > column && column > 0) {
          texts.insert(texts.begin() + column, std::wstring());
        }
      }
    }
  }
  NoteChange(kChangeLayout | kChangeItems);
  return column;
}

bool ListCtrl::DeleteColumn(int column) {
  {
    std::lock_guard guard(lock_);
    if (column < 0 || column >= static_cast<int>(columns_.size())) return false;
    columns_.erase(columns_.begin() + column);
    for (Item& item : items_) {
      auto& texts = item.content.texts;
      if (column > 0 && static_cast<int>(texts.size()) > column) {
        texts.erase(texts.begin() + column);
      }
    }
  }
  NoteChange(kChangeLayout | kChangeItems);
  return true;
}

int ListCtrl::GetColumnCount() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(columns_.size());
}

ListColumn ListCtrl::GetColumn(int column) const {
  std::lock_guard guard(lock_);
  if (column < 0 || column >= static_cast<int>(columns_.size())) return ListColumn{};
  return columns_[static_cast<std::size_t>(column)];
}

int ListCtrl::GetColumnWidth(int column) const {
  if (GetView() == LVS_LIST) {
    std::lock_guard guard(lock_);
    return listColumnWidth_;
  }
  return GetColumn(column).width;
}

bool ListCtrl::SetColumnWidth(int column, int width) {
  bool list = GetView() == LVS_LIST;
  {
    std::lock_guard guard(lock_);
    if (list) {
      listColumnWidth_ = std::max(1, width);
    } else {
      if (column < 0 || column >= static_cast<int>(columns_.size())) return false;
      columns_[static_cast<std::size_t>(column)].width = std::max(0, width);
    }
  }
  NoteChange(kChangeLayout);
  return true;
}

int ListCtrl::GetItemCount() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(order_.size());
}

int ListCtrl::InsertItem(int index, const std::wstring& text, int image) {
  ListItem item;
  item.texts.push_back(text);
  item.image = image;
  return InsertItem(index, std::move(item));
}

int ListCtrl::InsertItem(int index, ListItem content) {
  int position;
  {
    std::lock_guard guard(lock_);
    int count = static_cast<int>(order_.size());
    position = (index < 0 || index > count) ? count : index;
    auto slot = static_cast<std::uint32_t>(items_.size());
    Item item;
    item.id = nextId_++;
    item.content = std::move(content);
    if (item.content.texts.empty()) item.content.texts.emplace_back();
    // Texts beyond the columns have nowhere to show; selection and focus come by SetItemState.
    std::size_t texts = std::max<std::size_t>(columns_.size(), 1);
    if (item.content.texts.size() > texts) item.content.texts.resize(texts);
    item.content.state &= ~(LVIS_SELECTED | LVIS_FOCUSED);
    IndexData(item);
    items_.push_back(std::move(item));
    order_.insert(order_.begin() + position, slot);
    position_.push_back(static_cast<std::uint32_t>(position));
    RenumberFrom(position + 1);
    ++generation_;
  }
  NoteChange(kChangeItems);
  return position;
}

bool ListCtrl::DeleteItem(int index) {
  {
    std::lock_guard guard(lock_);
    if (!IsValid(index)) return false;
    std::uint32_t slot = order_[static_cast<std::size_t>(index)];
    const Item& item = items_[slot];
    UnindexData(item);
    std::erase(selected_, item.id);
    if (focusedId_ == item.id) focusedId_ = 0;
    items_.erase(items_.begin() + slot);
    order_.erase(order_.begin() + index);
    for (std::uint32_t& entry : order_) {
      if (entry > slot) --entry;
    }
    position_.resize(items_.size());
    RenumberFrom(0);
    ++generation_;
  }
  NoteChange(kChangeItems | kChangeSelection);
  return true;
}

bool ListCtrl::DeleteAllItems() {
  {
    std::lock_guard guard(lock_);
    items_.clear();
    order_.clear();
    position_.clear();
    selected_.clear();
    byData_.clear();
    focusedId_ = 0;
    scroll_ = CPoint{};
    ++generation_;
  }
  NoteChange(kChangeItems | kChangeSelection | kChangeLayout);
  return true;
}

std::wstring ListCtrl::GetItemText(int index, int subItem) const {
  std::lock_guard guard(lock_);
  if (!IsValid(index) || subItem < 0) return {};
  const auto& texts = ItemAt(index).content.texts;
  return subItem < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(subItem)]
                                                   : std::wstring();
}

bool ListCtrl::SetItemText(int index, int subItem, const std::wstring& text) {
  {
    std::lock_guard guard(lock_);
    if (!IsValid(index) || subItem < 0) return false;
    // Sub-items exist for the columns; item 0 is the label.
    if (subItem > 0 && subItem >= static_cast<int>(columns_.size())) return false;
    auto& texts = ItemAt(index).content.texts;
    if (static_cast<int>(texts.size()) <= subItem) texts.resize(static_cast<std::size_t>(subItem) + 1);
    texts[static_cast<std::size_t>(subItem)] = text;
  }
  NoteChange(kChangeItems);
  return true;
}

int ListCtrl::GetItemImage(int index) const {
  std::lock_guard guard(lock_);
  return IsValid(index) ? ItemAt(index).content.image : -1;
}

bool ListCtrl::SetItemImage(int index, int image) {
  {
    std::lock_guard guard(lock_);
    if (!IsValid(index)) return false;
    ItemAt(index).content.image = image;
  }
  NoteChange(kChangeItems);
  return true;
}

ItemData ListCtrl::GetItemData(int index) const {
  std::lock_guard guard(lock_);
  return IsValid(index) ? ItemAt(index).content.data : 0;
}

bool ListCtrl::SetItemData(int index, ItemData data) {
  std::lock_guard guard(lock_);
  if (!IsValid(index)) return false;
  Item& item = ItemAt(index);
  UnindexData(item);
  item.content.data = data;
  IndexData(item);
  return true;
}

unsigned ListCtrl::GetItemState(int index, unsigned mask) const {
  std::lock_guard guard(lock_);
  return IsValid(index) ? ItemAt(index).content.state & mask : 0;
}

bool ListCtrl::SetItemState(int index, unsigned state, unsigned mask) {
  std::vector<StateChange> changes;
  {
    std::lock_guard guard(lock_);
    if (index == -1) {
      bool single = (GetStyleUnlocked() & LVS_SINGLESEL) != 0;
      unsigned allMask = single && (state & LVIS_SELECTED) != 0 ? mask & ~LVIS_SELECTED : mask;
      allMask &= ~LVIS_FOCUSED;  // one item at most has the focus
      for (std::size_t position = 0; position < order_.size(); ++position) {
        ChangeState(order_[position], state, allMask, changes);
      }
    } else {
      if (!IsValid(index)) return false;
      ChangeState(order_[static_cast<std::size_t>(index)], state, mask, changes);
    }
  }
  if (!changes.empty()) {
    NoteChange(kChangeSelection);
    RaiseStateChanges(changes);
  }
  return true;
}

int ListCtrl::GetNextItem(int start, unsigned flags) const {
  std::lock_guard guard(lock_);
  int count = static_cast<int>(order_.size());
  if ((flags & (LVNI_SELECTED | LVNI_FOCUSED)) == 0) {
    return start + 1 < count ? std::max(start + 1, 0) : -1;
  }
  // Search the few selected or focused items rather than the whole list.
  int best = -1;
  auto consider = [&](std::uint64_t id) {
    const ListItem& item = items_[SlotOf(id)].content;
    if ((flags & LVNI_SELECTED) != 0 && (item.state & LVIS_SELECTED) == 0) return;
    if ((flags & LVNI_FOCUSED) != 0 && (item.state & LVIS_FOCUSED) == 0) return;
    int position = static_cast<int>(position_[SlotOf(id)]);
    if (position > start && (best < 0 || position < best)) best = position;
  };
  if ((flags & LVNI_SELECTED) != 0) {
    for (std::uint64_t id : selected_) consider(id);
  } else if (focusedId_ != 0) {
    consider(focusedId_);
  }
  return best;
}

int ListCtrl::GetSelectedCount() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(selected_.size());
}

ListItem ListCtrl::GetItem(int index) const {
  std::lock_guard guard(lock_);
  return IsValid(index) ? ItemAt(index).content : ListItem{};
}

std::vector<ListItem> ListCtrl::GetItems(int first, int count) const {
  std::lock_guard guard(lock_);
  std::vector<ListItem> items;
  int end = std::min(static_cast<int>(order_.size()), first + std::max(count, 0));
  for (int position = std::max(first, 0); position < end; ++position) {
    items.push_back(ItemAt(position).content);
  }
  return items;
}

std::vector<ItemData> ListCtrl::GetAllItemData() const {
  std::lock_guard guard(lock_);
  std::vector<ItemData> data;
  data.reserve(order_.size());
  for (int position = 0; position < static_cast<int>(order_.size()); ++position) {
    data.push_back(ItemAt(position).content.data);
  }
  return data;
}

int ListCtrl::GetTopIndex() const {
  std::lock_guard guard(lock_);
  return Layout().TopIndex(scroll_);
}

int ListCtrl::GetCountPerPage() const {
  std::lock_guard guard(lock_);
  return Layout().CountPerPage();
}

bool ListCtrl::EnsureVisible(int index, bool partialOk) {
  {
    std::lock_guard guard(lock_);
    if (!IsValid(index)) return false;
    CPoint scroll = Layout().ScrollToShow(index, scroll_, partialOk);
    if (scroll == scroll_) return true;
    scroll_ = scroll;
  }
  NoteChange(kChangeLayout);
  return true;
}

bool ListCtrl::Scroll(CSize delta) {
  {
    std::lock_guard guard(lock_);
    CPoint scroll = Layout().ClampScroll(CPoint{scroll_.x + delta.cx, scroll_.y + delta.cy});
    if (scroll == scroll_) return true;
    scroll_ = scroll;
  }
  NoteChange(kChangeLayout);
  return true;
}

CPoint ListCtrl::GetScrollPosition() const {
  std::lock_guard guard(lock_);
  return scroll_;
}

bool ListCtrl::Arrange(int code) {
  (void)code;  // every arrangement of this model is the grid in display order
  {
    std::lock_guard guard(lock_);
    scroll_ = Layout().ClampScroll(scroll_);
  }
  NoteChange(kChangeLayout);
  return true;
}

int ListCtrl::HitTest(CPoint point) const {
  std::lock_guard guard(lock_);
  return Layout().HitTest(point, scroll_);
}

CRect ListCtrl::GetItemRect(int index) const {
  std::lock_guard guard(lock_);
  if (!IsValid(index)) return CRect{};
  return Layout().ItemRect(index, scroll_);
}

bool ListCtrl::IsValid(int position) const {
  return position >= 0 && position < static_cast<int>(order_.size());
}

ListCtrl::Item& ListCtrl::ItemAt(int position) {
  return items_[order_[static_cast<std::size_t>(position)]];
}

const ListCtrl::Item& ListCtrl::ItemAt(int position) const {
  return items_[order_[static_cast<std::size_t>(position)]];
}

// Items without data are not indexed: a list filled with placeholder items first would put
// them all under one key, and finding each one's entry there again would make the filling
// quadratic in the item count.
void ListCtrl::IndexData(const Item& item) {
  if (item.content.data != 0) byData_.emplace(item.content.data, item.id);
}

void ListCtrl::UnindexData(const Item& item) {
  if (item.content.data == 0) return;
  auto range = byData_.equal_range(item.content.data);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second == item.id) {
      byData_.erase(it);
      return;
    }
  }
}

// Items stay in the order added, so their ids rise with their slots.
std::size_t ListCtrl::SlotOf(std::uint64_t id) const {
  auto found = std::lower_bound(items_.begin(), items_.end(), id,
                                [](const Item& item, std::uint64_t value) { return item.id < value; });
  return static_cast<std::size_t>(found - items_.begin());
}

void ListCtrl::RenumberFrom(int position) {
  for (std::size_t at = static_cast<std::size_t>(std::max(position, 0)); at < order_.size(); ++at) {
    position_[order_[at]] = static_cast<std::uint32_t>(at);
  }
}

void ListCtrl::ChangeState(std::size_t slot, unsigned state, unsigned mask,
                           std::vector<StateChange>& changes) {
  Item& item = items_[slot];
  unsigned oldState = item.content.state;
  unsigned newState = (oldState & ~mask) | (state & mask);
  if (newState == oldState) return;
  bool selecting = (newState & LVIS_SELECTED) != 0 && (oldState & LVIS_SELECTED) == 0;
  bool focusing = (newState & LVIS_FOCUSED) != 0 && (oldState & LVIS_FOCUSED) == 0;
  // The other item loses what only one item may have, and is reported first.
  if (selecting && (GetStyleUnlocked() & LVS_SINGLESEL) != 0) {
    for (std::uint64_t other : std::vector<std::uint64_t>(selected_)) {
      ChangeState(SlotOf(other), 0, LVIS_SELECTED, changes);
    }
  }
  if (focusing && focusedId_ != 0 && focusedId_ != item.id) {
    ChangeState(SlotOf(focusedId_), 0, LVIS_FOCUSED, changes);
  }
  item.content.state = newState;
  if (selecting) selected_.push_back(item.id);
  if ((oldState & LVIS_SELECTED) != 0 && (newState & LVIS_SELECTED) == 0) {
    std::erase(selected_, item.id);
  }
  if (focusing) focusedId_ = item.id;
  if ((oldState & LVIS_FOCUSED) != 0 && (newState & LVIS_FOCUSED) == 0 && focusedId_ == item.id) {
    focusedId_ = 0;
  }
  changes.push_back(StateChange{static_cast<int>(position_[slot]), item.content.data, oldState,
                                newState});
}

ListMetrics ListCtrl::Metrics() const {
  ListMetrics metrics;
  unsigned style = GetStyleUnlocked();
  CRect rect = GetRectUnlocked();
  int border = BorderWidth(style, GetExStyleUnlocked());
  metrics.view = style & LVS_TYPEMASK;
  metrics.client = CSize{rect.Width() - 2 * border, rect.Height() - 2 * border};
  metrics.count = static_cast<int>(order_.size());
  CSize normal{normalImages_.ImageWidth(), normalImages_.ImageHeight()};
  metrics.iconCell = iconSpacing_.cx > 0
                         ? iconSpacing_
                         : CSize{std::max(kDefaultIconSpacing.cx, normal.cx + 12),
                                 std::max(kDefaultIconSpacing.cy, normal.cy + 30)};
  metrics.rowHeight = rowHeight_ > 0 ? rowHeight_
                                     : std::max(kDefaultRowHeight, smallImages_.ImageHeight() + 1);
  metrics.headerHeight = (style & LVS_NOCOLUMNHEADER) != 0 ? 0 : headerHeight_;
  metrics.columnWidth = listColumnWidth_;
  for (const ListColumn& column : columns_) metrics.reportWidth += column.width;
  return metrics;
}

void ListCtrl::RaiseStateChanges(const std::vector<StateChange>& changes) const {
  for (const StateChange& change : changes) {
    Notify notify;
    notify.event = Event::kItemChanged;
    notify.item = change.position;
    notify.itemData = change.data;
    notify.oldState = change.oldState;
    notify.newState = change.newState;
    Raise(std::move(notify));
  }
}

}  // namespace fw

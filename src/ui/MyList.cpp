// The block list's views, sorting and selection.
#include "ui/MyList.h"

#include "fw/Strings.h"
#include "ui/BlockSort.h"

namespace ui {

std::wstring BlockTimeText(std::int64_t time) { return fw::FormatLocalTime(time, L"%x, %X"); }

unsigned MyList::StyleOf(int view) {
  switch (view) {
    case kViewLargeIcons:
      return fw::LVS_ICON;
    case kViewSmallIcons:
      return fw::LVS_SMALLICON;
    case kViewList:
      return fw::LVS_LIST;
    default:
      return fw::LVS_REPORT;
  }
}

void MyList::SetView(int view) {
  view_ = (view >= 0 && view < kViewCount) ? view : kViewReport;
  list_.SetView(StyleOf(view_));
  list_.Arrange(fw::LVA_DEFAULT);
}

void MyList::Resort(int sortStyle) { SortBlockList(list_, sortStyle); }

void MyList::Select(int index) {
  if (index < 0 || index >= list_.GetItemCount()) {
    list_.SetItemState(-1, 0, fw::LVIS_SELECTED);
    return;
  }
  list_.SetItemState(index, fw::LVIS_SELECTED | fw::LVIS_FOCUSED,
                     fw::LVIS_SELECTED | fw::LVIS_FOCUSED);
  list_.EnsureVisible(index, false);
}

int MyList::Selected() const { return list_.GetNextItem(-1, fw::LVNI_SELECTED); }

library::Block* MyList::BlockAt(int item) const {
  if (item < 0) return nullptr;
  return reinterpret_cast<library::Block*>(list_.GetItemData(item));
}

}  // namespace ui

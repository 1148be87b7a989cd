// The directory list's rows.
#include "ui/MyList2.h"

#include <shared_mutex>

#include "fw/Strings.h"
#include "library/BlockLock.h"
#include "library/Directory.h"

namespace ui {
namespace {

// The loader may be adding blocks to d meanwhile.
std::wstring CountText(const library::Directory& d) {
  std::shared_lock hold(library::BlockFieldsLock());
  return fw::Format(L"%ld", static_cast<long>(d.BlockCount()));
}

}  // namespace

int MyList2::InsertDirectory(int row, library::Directory& d) {
  fw::ListItem item;
  item.texts = {d.description, CountText(d)};
  item.data = reinterpret_cast<fw::ItemData>(&d);
  int inserted = list_.InsertItem(row, std::move(item));
  if (inserted >= 0) d.listIndex = inserted;
  return inserted;
}

int MyList2::RowOf(const library::Directory& d) const {
  return list_.FindItemByData(reinterpret_cast<fw::ItemData>(&d));
}

library::Directory* MyList2::DirectoryAt(int row) const {
  if (row < 0) return nullptr;
  return reinterpret_cast<library::Directory*>(list_.GetItemData(row));
}

void MyList2::ShowCount(const library::Directory& d) {
  int row = RowOf(d);
  if (row >= 0) list_.SetItemText(row, kDirectoryCountColumn, CountText(d));
}

void MyList2::ShowStatus(const library::Directory& d, std::wstring_view status) {
  int row = RowOf(d);
  if (row >= 0) list_.SetItemText(row, kDirectoryStatusColumn, std::wstring(status));
}

int MyList2::Selected() const { return list_.GetNextItem(-1, fw::LVNI_SELECTED); }

void MyList2::Select(int row) {
  if (row < 0 || row >= list_.GetItemCount()) return;
  list_.SetItemState(row, fw::LVIS_SELECTED | fw::LVIS_FOCUSED,
                     fw::LVIS_SELECTED | fw::LVIS_FOCUSED);
  list_.EnsureVisible(row, false);
}

}  // namespace ui

// The directory list: a thin view over the framework's list control whose rows are the library's
// directories (item data), with the block count and the loader's status beside each.
#pragma once

#include <string_view>

#include "fw/ListCtrl.h"

namespace library {
class Directory;
}

namespace ui {

inline constexpr int kDirectoryCountColumn = 1;
// A row position past every row: InsertDirectory appends.
inline constexpr int kAppend = 0x7FFFFFFF;
inline constexpr int kDirectoryStatusColumn = 2;

// Threads: rows are added, moved and chosen on the dialog's thread; the loader sets the Count
// and Status columns and the delete worker removes rows (the control is safe from any thread).
class MyList2 {
 public:
  explicit MyList2(fw::ListCtrl& list) : list_(list) {}

  fw::ListCtrl& Control() const { return list_; }

  // Inserts a row at `row` (past the end: appended) with the description, the count and the
  // directory as data, and sets its `listIndex`; returns the row.
  int InsertDirectory(int row, library::Directory& d);
  // The row whose data is d, or -1.
  int RowOf(const library::Directory& d) const;
  library::Directory* DirectoryAt(int row) const;
  void ShowCount(const library::Directory& d);
  void ShowStatus(const library::Directory& d, std::wstring_view status);

  int Selected() const;
  // Selects the row alone (raising the item change) and scrolls it into view.
  void Select(int row);

 private:
  fw::ListCtrl& list_;
};

}  // namespace ui

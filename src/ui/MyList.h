// The block list: a thin view over the framework's list control that knows its items are the
// blocks of the current directory, its four views and its fourteen sort styles.
#pragma once

#include <cstdint>
#include <string>

#include "fw/ListCtrl.h"

namespace library {
class Block;
}

namespace ui {

// A block's time as the report, the properties box and the catalogue show it: the locale's
// date and time.
std::wstring BlockTimeText(std::int64_t time);

// View indexes as directories keep them.
inline constexpr int kViewLargeIcons = 0;
inline constexpr int kViewSmallIcons = 1;
inline constexpr int kViewList = 2;
inline constexpr int kViewReport = 3;
inline constexpr int kViewCount = 4;

// Threads: the dialog's thread, except what LoaderView forwards from the loader (the control
// itself is safe from any thread).
class MyList {
 public:
  explicit MyList(fw::ListCtrl& list) : list_(list) {}

  fw::ListCtrl& Control() const { return list_; }

  // The list style of a view index (report for an index out of range).
  static unsigned StyleOf(int view);
  // Replaces the view style bits and arranges the icons; remembers the index. The caller
  // re-sorts.
  void SetView(int view);
  // The index last given to SetView.
  int View() const { return view_; }

  // Sorts by a sort style 0..13; None and RevNone give the order the loader added the blocks.
  void Resort(int sortStyle);

  // Selects the item alone and scrolls it into view; an index out of range selects nothing.
  void Select(int index);
  // The selected item, or -1.
  int Selected() const;
  // The block of an item, or nullptr.
  library::Block* BlockAt(int item) const;

 private:
  fw::ListCtrl& list_;
  int view_ = kViewReport;
};

}  // namespace ui

// Where a list control's items lie, by arithmetic alone: every view lays its items on a grid
// (report rows under the header, icon and small-icon cells row by row, list cells column by
// column), so finding an item's rectangle, the item under a point, the top item or the scroll
// that shows an item costs the same for ten items as for a hundred thousand.
#pragma once

#include "fw/Geometry.h"

namespace fw {

struct ListMetrics {
  unsigned view = 0;       // LVS_ICON, LVS_SMALLICON, LVS_LIST or LVS_REPORT
  CSize client;            // the client area in pixels
  int count = 0;           // items
  CSize iconCell;          // icon view: the icon spacing
  int rowHeight = 1;       // report, small-icon and list rows
  int headerHeight = 0;    // report view: the column header (0 without one)
  int columnWidth = 1;     // small-icon and list views: one cell's width
  int reportWidth = 0;     // report view: the columns' widths together
};

class ListLayout {
 public:
  explicit ListLayout(const ListMetrics& metrics);

  // The item's rectangle in client pixels when the content is scrolled by `scroll`.
  CRect ItemRect(int position, CPoint scroll) const;
  // The item under `point` (client pixels), or -1 for empty space and the header.
  int HitTest(CPoint point, CPoint scroll) const;
  // The first item wholly or partly shown at the top (or left, in the list view).
  int TopIndex(CPoint scroll) const;
  // How many items fit wholly in the client area.
  int CountPerPage() const;
  // The scroll position after scrolling the least that shows the item (wholly, or partly when
  // `partialOk` and some of it shows already).
  CPoint ScrollToShow(int position, CPoint scroll, bool partialOk) const;
  // The scroll position kept inside the content.
  CPoint ClampScroll(CPoint scroll) const;

 private:
  int Columns() const;  // cells across (icon and small-icon views)
  int Rows() const;     // cells down a column (list view)
  CRect CellAt(int position) const;  // unscrolled
  CSize ContentSize() const;

  ListMetrics metrics_;
};

}  // namespace fw

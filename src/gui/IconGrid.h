// The icon, small-icon and list views of a list control as one scrolled window that lays the
// items on a grid by arithmetic and draws only the cells in view: icons row by row, left to
// right, with the model's icon spacing; list cells column by column. Thousands of items cost
// no more per paint or click than ten.
#pragma once

#include <wx/vscroll.h>

#include "fw/ListCtrl.h"

namespace gui {

class ImageCache;
class ListView;

class IconGrid final : public wxHVScrolledWindow {
 public:
  IconGrid(wxWindow* parent, ListView& view, fw::ListCtrl& model, ImageCache& images);

  // Re-reads the view, count and cell sizes; `flags` are fw::ChangeFlags.
  void Sync(unsigned flags);
  int ItemAt(wxPoint point) const;
  // In this window's client pixels; empty when the item is not in view.
  wxRect ItemBounds(int position) const;
  void ShowItem(int position);

 private:
  struct Grid {
    bool columnMajor = false;  // the list view: cells fill a column, then the next
    wxSize cell{1, 1};
    int across = 1;  // cells per row (row-major) or per column (column-major)
    int rows = 0;
    int columns = 0;
  };
  Grid Measure() const;
  int ItemOf(int row, int column) const;
  wxCoord OnGetRowHeight(size_t row) const override;
  wxCoord OnGetColumnWidth(size_t column) const override;
  void Paint();
  void DrawItem(wxDC& dc, const fw::ListItem& item, const wxRect& cell);

  ListView& view_;
  fw::ListCtrl& model_;
  ImageCache& images_;
  Grid grid_;
  int count_ = 0;
  unsigned shownView_ = 0;
  int shownFocus_ = -1;  // the focused item last brought into view
};

}  // namespace gui

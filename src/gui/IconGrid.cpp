// Icons on a grid, drawn for the visible cells only.
#include "gui/IconGrid.h"

#include <algorithm>

#include <wx/control.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "gui/ImageCache.h"
#include "gui/ListView.h"
#include "gui/WxText.h"

namespace gui {
namespace {

constexpr int kLabelGap = 2;

}  // namespace

IconGrid::IconGrid(wxWindow* parent, ListView& view, fw::ListCtrl& model, ImageCache& images)
    : wxHVScrolledWindow(parent, wxID_ANY, wxDefaultPosition, parent->GetClientSize(),
                         wxBORDER_NONE | wxWANTS_CHARS),
      view_(view),
      model_(model),
      images_(images) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  Bind(wxEVT_PAINT, [this](wxPaintEvent&) { Paint(); });
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    Sync(fw::kChangeLayout);
    event.Skip();
  });
  view_.BindItemEvents(this);
}

IconGrid::Grid IconGrid::Measure() const {
  Grid grid;
  const unsigned view = model_.GetView();
  const wxSize client = GetClientSize();
  if (view == fw::LVS_ICON) {
    const fw::CSize spacing = model_.GetIconSpacing();
    grid.cell = wxSize(std::max(1, spacing.cx), std::max(1, spacing.cy));
  } else {
    const fw::CImageList small = model_.GetImageList(fw::LVSIL_SMALL);
    const int imageHeight = small.IsCreated() ? small.ImageHeight() : 0;
    const int width = model_.GetColumnWidth(0);
    grid.cell = wxSize(width > 0 ? width : fw::ListCtrl::kDefaultListColumnWidth,
                       std::max(imageHeight, GetCharHeight()) + 2 * kLabelGap);
  }
  grid.columnMajor = view == fw::LVS_LIST;
  if (grid.columnMajor) {
    grid.across = std::max(1, client.y / grid.cell.y);
    grid.rows = std::min(grid.across, count_);
    grid.columns = (count_ + grid.across - 1) / grid.across;
  } else {
    grid.across = std::max(1, client.x / grid.cell.x);
    grid.columns = std::min(grid.across, count_);
    grid.rows = (count_ + grid.across - 1) / grid.across;
  }
  return grid;
}

void IconGrid::Sync(unsigned flags) {
  if ((flags & (fw::kChangeItems | fw::kChangeLayout)) != 0) {
    count_ = model_.GetItemCount();
    const bool viewChanged = shownView_ != model_.GetView();
    shownView_ = model_.GetView();
    const Grid grid = Measure();
    if (viewChanged || grid.rows != grid_.rows || grid.columns != grid_.columns ||
        grid.cell != grid_.cell) {
      grid_ = grid;
      SetRowColumnCount(static_cast<size_t>(grid_.rows), static_cast<size_t>(grid_.columns));
    }
    const fw::CPoint scroll = model_.GetScrollPosition();
    if (viewChanged && scroll.x == 0 && scroll.y == 0) ScrollToRowColumn(0, 0);
  }
  if ((flags & fw::kChangeSelection) != 0) {
    // Only a focus that moved brings its item into view: the loader's notes while the user
    // scrolls must not pull the view back.
    const int focused = model_.GetNextItem(-1, fw::LVNI_FOCUSED);
    if (focused >= 0 && focused != shownFocus_) ShowItem(focused);
    shownFocus_ = focused;
  }
  Refresh(false);
}

int IconGrid::ItemOf(int row, int column) const {
  const int item = grid_.columnMajor ? column * grid_.across + row : row * grid_.across + column;
  return item < count_ ? item : -1;
}

wxCoord IconGrid::OnGetRowHeight(size_t) const { return grid_.cell.y; }
wxCoord IconGrid::OnGetColumnWidth(size_t) const { return grid_.cell.x; }

int IconGrid::ItemAt(wxPoint point) const {
  if (point.x < 0 || point.y < 0) return -1;
  const int row = static_cast<int>(GetVisibleRowsBegin()) + point.y / grid_.cell.y;
  const int column = static_cast<int>(GetVisibleColumnsBegin()) + point.x / grid_.cell.x;
  if (row >= grid_.rows || column >= grid_.columns) return -1;
  return ItemOf(row, column);
}

wxRect IconGrid::ItemBounds(int position) const {
  if (position < 0 || position >= count_) return wxRect();
  const int row = grid_.columnMajor ? position % grid_.across : position / grid_.across;
  const int column = grid_.columnMajor ? position / grid_.across : position % grid_.across;
  return wxRect((column - static_cast<int>(GetVisibleColumnsBegin())) * grid_.cell.x,
                (row - static_cast<int>(GetVisibleRowsBegin())) * grid_.cell.y, grid_.cell.x,
                grid_.cell.y);
}

void IconGrid::ShowItem(int position) {
  if (position < 0 || position >= count_) return;
  const size_t row = grid_.columnMajor ? position % grid_.across : position / grid_.across;
  const size_t column = grid_.columnMajor ? position / grid_.across : position % grid_.across;
  if (!IsRowVisible(row)) ScrollToRow(row);
  if (!IsColumnVisible(column)) ScrollToColumn(column);
}

void IconGrid::Paint() {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  if (count_ == 0) return;
  dc.SetFont(GetFont());
  const int firstRow = static_cast<int>(GetVisibleRowsBegin());
  const int endRow = std::min(static_cast<int>(GetVisibleRowsEnd()), grid_.rows);
  const int firstColumn = static_cast<int>(GetVisibleColumnsBegin());
  const int endColumn = std::min(static_cast<int>(GetVisibleColumnsEnd()), grid_.columns);
  if (endRow <= firstRow || endColumn <= firstColumn) return;
  // The visible cells are one run of positions: take them from the model under one lock.
  const int first = ItemOf(firstRow, firstColumn);
  if (first < 0) return;
  const int last = grid_.columnMajor ? (endColumn - 1) * grid_.across + grid_.across - 1
                                     : (endRow - 1) * grid_.across + grid_.across - 1;
  const std::vector<fw::ListItem> items = model_.GetItems(first, last - first + 1);
  for (int row = firstRow; row < endRow; ++row) {
    for (int column = firstColumn; column < endColumn; ++column) {
      const int item = ItemOf(row, column);
      if (item < 0 || item - first >= static_cast<int>(items.size())) continue;
      DrawItem(dc, items[static_cast<size_t>(item - first)],
               wxRect((column - firstColumn) * grid_.cell.x, (row - firstRow) * grid_.cell.y,
                      grid_.cell.x, grid_.cell.y));
    }
  }
}

void IconGrid::DrawItem(wxDC& dc, const fw::ListItem& item, const wxRect& cell) {
  const bool selected = (item.state & fw::LVIS_SELECTED) != 0;
  const bool icons = shownView_ == fw::LVS_ICON;
  const fw::CImageList list = model_.GetImageList(icons ? fw::LVSIL_NORMAL : fw::LVSIL_SMALL);
  const wxColour background = GetBackgroundColour();
  const wxBitmap& image = images_.Get(list, item.image, background);
  const wxString label = ToWx(item.texts.empty() ? std::wstring() : item.texts.front());
  wxRect text;
  if (icons) {
    const int imageWidth = image.IsOk() ? image.GetWidth() : 0;
    const int imageHeight = image.IsOk() ? image.GetHeight() : 0;
    if (image.IsOk()) dc.DrawBitmap(image, cell.x + (cell.width - imageWidth) / 2, cell.y + kLabelGap);
    text = wxRect(cell.x + 1, cell.y + 2 * kLabelGap + imageHeight, cell.width - 2,
                  dc.GetCharHeight());
  } else {
    int left = cell.x + kLabelGap;
    if (image.IsOk()) {
      dc.DrawBitmap(image, left, cell.y + (cell.height - image.GetHeight()) / 2);
      left += image.GetWidth() + kLabelGap;
    }
    text = wxRect(left, cell.y + (cell.height - dc.GetCharHeight()) / 2,
                  cell.GetRight() - left - kLabelGap, dc.GetCharHeight());
  }
  const wxString shown = wxControl::Ellipsize(label, dc, wxELLIPSIZE_END, text.width);
  if (icons) {
    const int width = dc.GetTextExtent(shown).x;
    text.x += (text.width - width) / 2;
    text.width = width;
  } else {
    text.width = std::min(text.width, dc.GetTextExtent(shown).x);
  }
  if (selected) {
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(text.Inflate(1, 0));
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
  } else {
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOXTEXT));
  }
  dc.DrawText(shown, text.x, text.y);
  if ((item.state & fw::LVIS_FOCUSED) != 0 && HasFocus()) {
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOXTEXT), 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(text.Inflate(2, 1));
  }
}

}  // namespace gui

// The virtual report list over the list control's model.
#include "gui/ReportList.h"

#include <wx/dcmemory.h>

#include "gui/ImageCache.h"
#include "gui/ListView.h"
#include "gui/WxText.h"

namespace gui {
namespace {

int WxFormat(int format) {
  switch (format) {
    case fw::LVCFMT_RIGHT:
      return wxLIST_FORMAT_RIGHT;
    case fw::LVCFMT_CENTER:
      return wxLIST_FORMAT_CENTRE;
    default:
      return wxLIST_FORMAT_LEFT;
  }
}

}  // namespace

ReportList::ReportList(wxWindow* parent, ListView& view, fw::ListCtrl& model)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, parent->GetClientSize(),
                 wxLC_REPORT | wxLC_VIRTUAL |
                     ((model.GetStyle() & fw::LVS_NOCOLUMNHEADER) != 0 ? wxLC_NO_HEADER : 0) |
                     ((model.GetStyle() & fw::LVS_SINGLESEL) != 0 ? wxLC_SINGLE_SEL : 0)),
      itemArea_(GetMainWindowOfCompositeControl()),
      view_(view),
      model_(model) {
  Bind(wxEVT_LIST_COL_CLICK, [this](wxListEvent& event) { view_.ColumnClicked(event.GetColumn()); });
  view_.BindItemEvents(itemArea_);
}

void ReportList::Sync(unsigned flags) {
  if ((flags & fw::kChangeLayout) != 0) SyncColumns();
  if ((flags & (fw::kChangeLayout | fw::kChangeItems)) != 0) SyncImages();
  if ((flags & fw::kChangeItems) != 0) {
    const long count = model_.GetItemCount();
    if (GetItemCount() != count) SetItemCount(count);
  }
  if ((flags & (fw::kChangeItems | fw::kChangeSelection)) != 0) SyncSelection();
  Refresh();
}

void ReportList::SyncColumns() {
  const int count = model_.GetColumnCount();
  while (GetColumnCount() > count) DeleteColumn(GetColumnCount() - 1);
  for (int column = 0; column < count; ++column) {
    const fw::ListColumn wanted = model_.GetColumn(column);
    if (column >= GetColumnCount()) {
      InsertColumn(column, ToWx(wanted.heading), WxFormat(wanted.format), wanted.width);
      continue;
    }
    wxListItem shown;
    shown.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH | wxLIST_MASK_FORMAT);
    shown.SetText(ToWx(wanted.heading));
    shown.SetWidth(wanted.width);
    shown.SetAlign(static_cast<wxListColumnFormat>(WxFormat(wanted.format)));
    SetColumn(column, shown);
  }
}

// Deselecting every row is one call on a virtual list; then only the selected rows are set.
void ReportList::SyncSelection() {
  SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  for (int item = model_.GetNextItem(-1, fw::LVNI_SELECTED); item >= 0;
       item = model_.GetNextItem(item, fw::LVNI_SELECTED)) {
    SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  const int focused = model_.GetNextItem(-1, fw::LVNI_FOCUSED);
  if (focused >= 0 && focused < GetItemCount()) {
    SetItemState(focused, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    // As in the icon view: only a focus that moved scrolls.
    if (focused != shownFocus_) EnsureVisible(focused);
  }
  shownFocus_ = focused;
}

// The small images as a wx image list of their size; its images come as rows show them.
void ReportList::SyncImages() {
  small_ = model_.GetImageList(fw::LVSIL_SMALL);
  if (!small_.IsCreated()) {
    if (hasImages_) SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    hasImages_ = false;
    return;
  }
  if (!hasImages_ || images_.GetSize() != wxSize(small_.ImageWidth(), small_.ImageHeight())) {
    images_.Create(small_.ImageWidth(), small_.ImageHeight(), false);
    StartImages();
    SetImageList(&images_, wxIMAGE_LIST_SMALL);
    hasImages_ = true;
  }
}

// The list's first image is a blank one: the rows take the images' height from the start,
// before any row has shown an image.
void ReportList::StartImages() const {
  images_.RemoveAll();
  shownImages_.clear();
  wxBitmap blank(images_.GetSize());
  {
    wxMemoryDC dc(blank);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
  }
  images_.Add(blank);
}

int ReportList::ShownImage(int image) const {
  if (!hasImages_ || image < 0) return -1;
  const std::uint64_t generation = small_.Generation();
  if (generation != imagesGeneration_) {
    StartImages();
    imagesGeneration_ = generation;
  }
  auto found = shownImages_.find(image);
  if (found != shownImages_.end()) return found->second;
  const wxBitmap& bitmap = converter_.Get(small_, image, GetBackgroundColour());
  const int shown = bitmap.IsOk() ? images_.Add(bitmap) : -1;
  shownImages_.emplace(image, shown);
  return shown;
}

wxString ReportList::OnGetItemText(long item, long column) const {
  return ToWx(model_.GetItemText(static_cast<int>(item), static_cast<int>(column)));
}

int ReportList::OnGetItemImage(long item) const {
  return ShownImage(model_.GetItemImage(static_cast<int>(item)));
}

int ReportList::ItemAt(wxPoint point) const {
  int flags = 0;
  const long item = const_cast<ReportList*>(this)->HitTest(point, flags);
  return (flags & wxLIST_HITTEST_ONITEM) != 0 ? static_cast<int>(item) : -1;
}

wxRect ReportList::ItemBounds(int position) const {
  wxRect rect;
  if (!GetItemRect(position, rect, wxLIST_RECT_LABEL)) return wxRect();
  return rect;
}

}  // namespace gui

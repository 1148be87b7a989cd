// The virtual report list over the list control's model.
#include "gui/ReportList.h"

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
    EnsureVisible(focused);
  }
}

// The small images as a wx image list, made again only when the shared list changed.
void ReportList::SyncImages() {
  const fw::CImageList small = model_.GetImageList(fw::LVSIL_SMALL);
  if (!small.IsCreated()) {
    if (imagesOf_ != nullptr) SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    imagesOf_ = nullptr;
    return;
  }
  if (small.Identity() == imagesOf_ && small.Generation() == imagesGeneration_) return;
  imagesOf_ = small.Identity();
  imagesGeneration_ = small.Generation();
  images_.Create(small.ImageWidth(), small.ImageHeight(), false, small.GetImageCount());
  ImageCache converter;
  const wxColour background = GetBackgroundColour();
  for (int i = 0; i < small.GetImageCount(); ++i) images_.Add(converter.Get(small, i, background));
  SetImageList(&images_, wxIMAGE_LIST_SMALL);
}

wxString ReportList::OnGetItemText(long item, long column) const {
  return ToWx(model_.GetItemText(static_cast<int>(item), static_cast<int>(column)));
}

int ReportList::OnGetItemImage(long item) const {
  const int image = model_.GetItemImage(static_cast<int>(item));
  return imagesOf_ != nullptr && image < images_.GetImageCount() ? image : -1;
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

// The report view of a list control: a virtual wx list that holds only the item count and asks
// the model for the text and image of each row it draws, so no operation costs per item.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include "fw/ListCtrl.h"
#include "gui/ImageCache.h"

namespace gui {

class ListView;

class ReportList final : public wxListCtrl {
 public:
  ReportList(wxWindow* parent, ListView& view, fw::ListCtrl& model);

  // Columns, count, selection and images from the model; `flags` are fw::ChangeFlags.
  void Sync(unsigned flags);
  // The item under a point of the item area, or -1.
  int ItemAt(wxPoint point) const;
  wxRect ItemBounds(int position) const;
  wxWindow* ItemArea() const { return itemArea_; }

 protected:
  wxString OnGetItemText(long item, long column) const override;
  int OnGetItemImage(long item) const override;

 private:
  void SyncColumns();
  void SyncSelection();
  void SyncImages();
  void StartImages() const;
  // The wx image list's index of the model's small image, added when a row first shows it.
  int ShownImage(int image) const;

  wxWindow* itemArea_ = nullptr;  // the rows' window under the header, owned by this list
  ListView& view_;
  fw::ListCtrl& model_;
  // Only the images of rows drawn since the shared list last changed are converted.
  mutable wxImageList images_;
  mutable std::unordered_map<int, int> shownImages_;  // model image -> index in images_
  mutable ImageCache converter_;
  mutable std::uint64_t imagesGeneration_ = 0;
  fw::CImageList small_;
  bool hasImages_ = false;
  int shownFocus_ = -1;  // the focused item last brought into view
};

}  // namespace gui

// A push button its owner draws: it shows one image of a shared image list and may have a
// drop-down part at its right edge, which raises Event::kDropDown instead of a click. The
// presenter draws the frame, the arrow of the drop-down part and the image. Any thread (see
// Control).
#pragma once

#include "fw/Button.h"
#include "fw/ImageList.h"

namespace fw {

class OwnerDrawButton final : public Button {
 public:
  using Button::Button;

  // The list is shared with whoever else holds it, not copied.
  void SetImageList(const CImageList& images);
  CImageList GetImageList() const;
  // The image shown at (2, 2); -1 shows none.
  void SetImage(int index);
  int GetImage() const;
  // The width in pixels of the drop-down part at the right edge; 0 for none.
  void SetDropDownWidth(int width);
  int GetDropDownWidth() const;
  // The drop-down part in client pixels (empty when there is none).
  CRect DropDownRect() const;

 private:
  CImageList images_;
  int image_ = -1;
  int dropDownWidth_ = 0;
};

}  // namespace fw

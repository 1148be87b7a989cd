// A push button its owner draws: it shows one image of a shared image list and may have a
// drop-down part at its right edge, which raises Event::kDropDown instead of a click. An owner
// that gives a draw function paints the whole face (frame, arrow and image) itself, as the
// platform's owner-drawn buttons do; otherwise the presenter draws the frame, the arrow of the
// drop-down part and the image. Any thread (see Control), except the drawing.
#pragma once

#include <functional>

#include "fw/Bitmap.h"
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

  // Paints the face: `face` has the button's client size; `pressed` while the mouse holds the
  // button down.
  using DrawFunction = std::function<void(Bitmap& face, bool pressed)>;
  void SetDrawFunction(DrawFunction draw);
  bool HasDrawFunction() const;
  // The face as the owner paints it, or an empty bitmap when no owner paints it. A presenter
  // calls it on the dialog's thread whenever it redraws the button.
  Bitmap DrawItem(bool pressed) const;

 private:
  DrawFunction draw_;
  CImageList images_;
  int image_ = -1;
  int dropDownWidth_ = 0;
};

}  // namespace fw

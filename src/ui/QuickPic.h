// QuickPic: a small topmost window showing one block's preview at 260 x 190 pixels, opened by
// Alt + click in the block list and closed by the next key or mouse button pressed anywhere.
#pragma once

#include <functional>

#include "fw/Bitmap.h"
#include "fw/Dialog.h"
#include "fw/ImageList.h"
#include "library/Block.h"

namespace library {
class Directory;
}

namespace ui {

// Threads: the dialog's thread of the main dialog, which creates it, shows it and deletes it.
class QuickPic : public fw::Dialog {
 public:
  static constexpr int kWidth = 260;
  static constexpr int kHeight = 190;

  // `closed` runs once the window has gone (after a key or mouse press); the owner deletes the
  // object then, not from inside the call, so nothing runs on a deleted window.
  explicit QuickPic(std::function<void()> closed);
  ~QuickPic() override;

  // Draws the picture, sizes the window around it centred on `owner`, shows it and captures the
  // mouse. `b` is a copy of the block taken under the locks that guard it.
  void Show(const fw::Dialog& owner, const library::Directory& d, const library::Block& b,
            const fw::CImageList& normalImages, const fw::CImageList& smallImages);
  // Closes it: the capture goes, the window goes, then `closed` runs. Once only.
  void Close();

  // The window's rectangle in the owner's client pixels: the picture plus the frame on each
  // side, and the small caption above it.
  fw::CRect WindowRect() const { return windowRect_; }
  fw::Bitmap Picture() const;

 private:
  std::function<void()> closed_;
  fw::CRect windowRect_;
  bool closing_ = false;
};

// The picture of b: the drawing's own preview drawn from its file at full size, or, for a
// block without a preview or one that cannot be drawn, its thumbnail from `normalImages`
// (`smallImages` when that list has no such image) stretched to the full size.
fw::Bitmap DrawQuickPicture(const library::Directory& d, const library::Block& b,
                            const fw::CImageList& normalImages,
                            const fw::CImageList& smallImages);

}  // namespace ui

// The view button beside the block list: an owner-drawn push button showing the picture of the
// current view, whose click moves to the next view and whose drop-down part at the right edge
// opens a menu of the views.
#pragma once

#include <atomic>
#include <optional>

#include "fw/Bitmap.h"
#include "fw/ImageList.h"

namespace fw {
class Dialog;
class OwnerDrawButton;
}  // namespace fw

namespace ui {

// Threads: the dialog's thread; Draw runs there too, when the presenter redraws the button.
class ViewButton {
 public:
  explicit ViewButton(fw::OwnerDrawButton& button) : button_(button) {}

  // Loads the four pictures from the module's bitmap resource (magenta transparent), sizes the
  // drop-down part (the scroll-bar width plus 4 pixels) and takes over the button's drawing.
  // False when the resource cannot be read; the button then shows no picture.
  bool SetUp();

  // The view shown (0 large icons ... 3 report); SetView shows another one's picture.
  int View() const { return view_.load(); }
  void SetView(int view);

  // The view after `view` on a click: every view in turn with large images; without them
  // Report is followed by Small Icons.
  static int NextView(int view, bool largeImages);

  // The views' popup menu below the button: left-aligned under its left edge for the left
  // button, right-aligned under its right edge for the right one; "Large Icons" only with large
  // images, the current view checked. The view chosen, or nothing when it was dismissed.
  std::optional<int> ChooseFromMenu(fw::Dialog& owner, bool rightButton, bool largeImages) const;

  // The face: a push-button frame (sunken while `pressed`), the drop-down arrow at the right
  // edge and the current view's picture at (2, 2).
  void Draw(fw::Bitmap& face, bool pressed) const;

  const fw::CImageList& Pictures() const { return pictures_; }

 private:
  fw::OwnerDrawButton& button_;
  fw::CImageList pictures_;
  std::atomic<int> view_{3};
};

}  // namespace ui

// The owner-drawn button's picture and drop-down part.
#include "fw/OwnerDrawButton.h"

#include <algorithm>

namespace fw {

void OwnerDrawButton::SetImageList(const CImageList& images) {
  {
    std::lock_guard guard(lock_);
    images_ = images;
  }
  NoteChange(kChangeLayout);
}

CImageList OwnerDrawButton::GetImageList() const {
  std::lock_guard guard(lock_);
  return images_;
}

void OwnerDrawButton::SetImage(int index) {
  {
    std::lock_guard guard(lock_);
    if (image_ == index) return;
    image_ = index;
  }
  NoteChange(kChangeState);
}

int OwnerDrawButton::GetImage() const {
  std::lock_guard guard(lock_);
  return image_;
}

void OwnerDrawButton::SetDropDownWidth(int width) {
  {
    std::lock_guard guard(lock_);
    dropDownWidth_ = std::max(0, width);
  }
  NoteChange(kChangeLayout);
}

int OwnerDrawButton::GetDropDownWidth() const {
  std::lock_guard guard(lock_);
  return dropDownWidth_;
}

CRect OwnerDrawButton::DropDownRect() const {
  CRect client = GetClientRect();
  int width = std::min(GetDropDownWidth(), client.Width());
  if (width <= 0) return CRect{};
  return CRect{client.right - width, 0, client.right, client.bottom};
}

void OwnerDrawButton::SetDrawFunction(DrawFunction draw) {
  {
    std::lock_guard guard(lock_);
    draw_ = std::move(draw);
  }
  NoteChange(kChangeState);
}

bool OwnerDrawButton::HasDrawFunction() const {
  std::lock_guard guard(lock_);
  return static_cast<bool>(draw_);
}

Bitmap OwnerDrawButton::DrawItem(bool pressed) const {
  DrawFunction draw;
  {
    std::lock_guard guard(lock_);
    draw = draw_;
  }
  if (!draw) return Bitmap();
  CRect client = GetClientRect();
  Bitmap face(client.Width(), client.Height());
  // Drawn without the lock: the owner reads the button's state through its members.
  draw(face, pressed);
  return face;
}

}  // namespace fw

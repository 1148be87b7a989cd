// The picture of a static control.
#include "fw/Static.h"

namespace fw {

void Static::SetBitmap(Bitmap bitmap) {
  {
    std::lock_guard guard(lock_);
    bitmap_ = std::move(bitmap);
  }
  NoteChange(kChangeState);
}

Bitmap Static::GetBitmap() const {
  std::lock_guard guard(lock_);
  return bitmap_;
}

}  // namespace fw

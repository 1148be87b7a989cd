// A static text, group box or picture (SS_BITMAP); bordered when its style says so. Any thread
// (see Control).
#pragma once

#include "fw/Bitmap.h"
#include "fw/Control.h"

namespace fw {

class Static final : public Control {
 public:
  using Control::Control;

  // Drawn with a border or a sunken edge.
  bool IsBordered() const {
    return (GetStyle() & (WS_BORDER | SS_SUNKEN)) != 0 ||
           (GetExStyle() & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE)) != 0;
  }

  // The picture an SS_BITMAP static shows at its top-left corner (a copy is kept).
  void SetBitmap(Bitmap bitmap);
  Bitmap GetBitmap() const;

 private:
  Bitmap bitmap_;
};

}  // namespace fw

// The shared fw image lists as wx bitmaps, converted when first drawn and kept while the list's
// generation stays the same, so a repaint converts only images it has not drawn since the
// loader last changed the list. GUI thread only.
#pragma once

#include <cstdint>
#include <unordered_map>

#include <wx/bitmap.h>
#include <wx/colour.h>

#include "fw/ImageList.h"

namespace gui {

class ImageCache {
 public:
  // The image drawn on `background` (the transparent parts of a list with a mask take it);
  // an invalid bitmap for no such image.
  const wxBitmap& Get(const fw::CImageList& images, int index, const wxColour& background);

 private:
  struct Entry {
    std::uint64_t generation = 0;
    wxColour background;
    std::unordered_map<int, wxBitmap> bitmaps;
  };
  std::unordered_map<const void*, Entry> lists_;
  wxBitmap none_;
};

// An fw bitmap (B, G, R, 0 per pixel) as a wx bitmap.
wxBitmap ToWxBitmap(const fw::Bitmap& bitmap);

}  // namespace gui

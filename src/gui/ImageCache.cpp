// Image lists converted for wx on demand.
#include "gui/ImageCache.h"

#include <wx/image.h>

namespace gui {

wxBitmap ToWxBitmap(const fw::Bitmap& bitmap) {
  if (bitmap.IsEmpty()) return wxBitmap();
  wxImage image(bitmap.Width(), bitmap.Height(), false);
  unsigned char* rgb = image.GetData();
  const std::vector<std::uint8_t>& bits = bitmap.Bits();
  const std::size_t pixels = static_cast<std::size_t>(bitmap.Width()) * bitmap.Height();
  for (std::size_t i = 0; i < pixels; ++i) {
    rgb[3 * i] = bits[4 * i + 2];
    rgb[3 * i + 1] = bits[4 * i + 1];
    rgb[3 * i + 2] = bits[4 * i];
  }
  return wxBitmap(image);
}

const wxBitmap& ImageCache::Get(const fw::CImageList& images, int index,
                                const wxColour& background) {
  if (index < 0 || !images.IsCreated()) return none_;
  Entry& entry = lists_[images.Identity()];
  const std::uint64_t generation = images.Generation();
  if (entry.generation != generation || entry.background != background) {
    entry.bitmaps.clear();
    entry.generation = generation;
    entry.background = background;
  }
  auto found = entry.bitmaps.find(index);
  if (found != entry.bitmaps.end()) return found->second;
  if (index >= images.GetImageCount()) return none_;
  fw::Bitmap face(images.ImageWidth(), images.ImageHeight());
  fw::CDC dc(face);
  dc.FillRect(0, 0, face.Width(), face.Height(),
              fw::RGB(background.Red(), background.Green(), background.Blue()));
  images.Draw(face, index, 0, 0);
  return entry.bitmaps.emplace(index, ToWxBitmap(face)).first->second;
}

}  // namespace gui

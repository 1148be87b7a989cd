// Turning a drawing's preview into the two thumbnails of its directory's image lists, and the
// colours they are drawn in.
#pragma once

#include <cstdint>
#include <vector>

#include "dwgprobe/PackedBitmap.h"
#include "fw/Bitmap.h"
#include "fw/DeviceContext.h"
#include "fw/DibStretch.h"
#include "fw/ImageList.h"

namespace dwgprobe {

// The host's drawing-area colours the previews are recoloured to. Process-wide; the dialog sets
// them at its set-up, our host's defaults hold until then. Any thread may read them.
struct PreviewColours {
  fw::COLORREF background;
  // 0 on light backgrounds, 255 on dark ones; the foreground is this grey level.
  int contrast;
};
PreviewColours GetPreviewColours();
// Sets the background and derives the contrast from it.
void SetPreviewBackground(fw::COLORREF background);

// The cells of the two image lists.
constexpr int kLargeThumbnailWidth = 130;
constexpr int kLargeThumbnailHeight = 96;
constexpr int kSmallThumbnailWidth = 66;
constexpr int kSmallThumbnailHeight = 49;

// The bitmap's bytes with the first 256 palette entries recoloured: pure white becomes the
// background, pure black the foreground grey. A bitmap converted from PNG comes back unchanged.
// A clear error for bytes that are not a packed bitmap we draw.
fw::Result<std::vector<std::uint8_t>> RecolouredPreview(const PackedBitmap& bitmap,
                                                        PreviewColours colours);

// One thumbnail of `width` x `height` pixels in the current preview colours, fitted and
// centred, with a marker at each insertion point; the image list stores it in 4-bit colour.
fw::Result<fw::Bitmap> RenderThumbnail(const PackedBitmap& bitmap, int width, int height,
                                       int version, const std::vector<double>& points);

// Renders the large thumbnail (when `large` is given) and the small one and stores them at
// `imageIndex` in both lists (replacing) or, when `imageIndex` is 0, appends them. Returns the
// index the images have now, or the given index unchanged when the bitmap cannot be drawn (a
// clear error for a bitmap whose header or size does not fit its bytes).
// `version` is the drawing's version index; `points` the insertion points (x, y pairs).
fw::Result<int> RenderThumbnails(fw::CImageList* large, fw::CImageList& small, int imageIndex,
                                 const PackedBitmap& bitmap, int version,
                                 const std::vector<double>& points);

// The picture of a preview as a file manager shows it: the preview alone, without the border
// older drawings keep, recoloured for a white background, fitted within `maxSide` pixels a side
// keeping its shape (shrunk, never enlarged) with a smooth filter. A clear error for a bitmap
// that cannot be drawn, one with no picture inside its border, or `maxSide` below 1.
fw::Result<fw::Bitmap> RenderFittedPreview(const PackedBitmap& bitmap, int version, int maxSide);

// How a preview larger than its frame at scale k is drawn. Previews of newer drawings are several
// times the 256 x 188 the frame was made for.
enum class PreviewFit {
  kAsStored,     // at scale k centred on the frame, spilling over it
  // shrunk to the frame's inside, keeping its shape, when it does not fit; with a smooth filter,
  // so thin lines stay visible on a dark background as on a light one
  kWithinFrame,
};

// The image's rectangle (in the destination) and the scale it is drawn at.
struct PreviewPlacement {
  fw::DibRect image;
  double scale;
};
// Where the image of a w x h preview goes in the frame at (x, y) drawn at scale k.
PreviewPlacement PlacePreview(int x, int y, int k, int w, int h, PreviewFit fit);

// Draws an already-read preview at scale k (1 to 64) framed at (x, y) on `dc`, as the quick
// picture (colours on: recoloured, background brush, stretch mode by contrast) and the printed
// catalogue (colours off: as stored, keeping black) show it, with a marker at each insertion
// point. The context's pen, brush and stretch mode are as before afterwards. A clear error,
// and nothing drawn, for a bitmap that cannot be drawn or a scale out of range.
fw::Status DrawPreview(fw::DeviceContext& dc, int x, int y, int k, bool colours,
                       const PackedBitmap& bitmap, int version, const std::vector<double>& points,
                       PreviewFit fit = PreviewFit::kAsStored);

}  // namespace dwgprobe

// The thumbnails of a drawing's preview for its directory's image lists, and the framed preview
// of the quick picture and the catalogue: fitting, the border rule by version, the stretch mode
// by contrast and the insertion-point markers.
#include "dwgprobe/Thumbnails.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "fw/DibResample.h"
#include "fw/DibStretch.h"
#include "fw/PackedDib.h"

namespace dwgprobe {
namespace {

// Drawings of this version index ("R14", AC1013/AC1014) and earlier, and side bitmaps, keep a
// one-pixel border round their stored preview that the thumbnails leave out; from 2000 (index
// 16) on the whole preview is drawn.
constexpr int kLastVersionWithBorder = 15;
constexpr fw::COLORREF kMarkerColour = fw::RGB(255, 0, 0);
// Marker coordinates beyond this many pixels either way are dropped: they come from the drawing
// reader, could be anything, and must convert to int without overflow.
constexpr double kMaxMarkerCoordinate = 1 << 20;
constexpr int kMaxPreviewScale = 64;  // larger than any printer needs; keeps k * side in int

struct Marker {
  int x;
  int y;
};

struct Extent {
  int width;
  int height;
};

// The source rectangle: the whole preview, or the preview without its outermost pixels.
fw::DibRect SourceOf(const fw::PackedDib& dib, int version) {
  if (version > kLastVersionWithBorder) return fw::DibRect{0, 0, dib.Width(), dib.Height()};
  return fw::DibRect{1, 1, dib.Width() - 2, dib.Height() - 2};
}

int StretchModeFor(const PreviewColours& colours) {
  return colours.contrast != 0 ? fw::WHITEONBLACK : fw::BLACKONWHITE;
}

// Draws the source onto the destination; an empty source or destination (a preview only a
// pixel or two across, or one scaled below a pixel) draws nothing.
fw::Status DrawImage(fw::DeviceContext& dc, fw::DibRect destination, fw::DibRect source,
                     const std::vector<std::uint8_t>& bytes) {
  if (destination.width <= 0 || destination.height <= 0 || source.width <= 0 ||
      source.height <= 0) {
    return fw::Status::Success();
  }
  return dc.StretchDIBits(destination.x, destination.y, destination.width, destination.height,
                          source.x, source.y, source.width, source.height, bytes);
}

// Draws the source shrunk onto the destination with a smooth filter: each pixel the average of
// what it covers, so a thin line stays a fainter line on a light or a dark background alike,
// where a stretch mode keeps only the black or only the white ones.
fw::Status DrawSmoothed(fw::DeviceContext& dc, fw::DibRect destination, fw::DibRect source,
                        const std::vector<std::uint8_t>& bytes) {
  if (source.width <= 0 || source.height <= 0) return fw::Status::Success();
  const fw::Result<fw::Bitmap> shrunk =
      fw::ResampleDib(bytes, source, destination.width, destination.height);
  if (!shrunk) return fw::Status::Failure(shrunk.Message());
  const std::vector<std::uint8_t> packed =
      fw::PackBitmap(shrunk.Value(), 0, 0, destination.width, destination.height);
  return dc.StretchDIBits(destination.x, destination.y, destination.width, destination.height,
                          0, 0, destination.width, destination.height, packed);
}

bool ToMarkerCoordinate(double value, int* out) {
  if (!std::isfinite(value) || std::fabs(value) > kMaxMarkerCoordinate) return false;
  *out = static_cast<int>(value);
  return true;
}

// A circle of half-size r and the two diagonals of half-size c round each marker, in red; the
// brush selected before stays.
void DrawMarkers(fw::DeviceContext& dc, const std::vector<Marker>& markers, int r, int c) {
  const fw::COLORREF pen = dc.PenColour();
  dc.SetPenColour(kMarkerColour);
  for (const Marker& m : markers) {
    dc.Ellipse(m.x - r, m.y - r, m.x + r, m.y + r);
    dc.MoveTo(m.x - c, m.y - c);
    dc.LineTo(m.x + c, m.y + c);
    dc.MoveTo(m.x - c, m.y + c);
    dc.LineTo(m.x + c, m.y - c);
  }
  dc.SetPenColour(pen);
}

// Thumbnail markers: X = x0 + int(px s), Y = y0 + int(H - 2 y0 - py s).
std::vector<Marker> ThumbnailMarkers(const std::vector<double>& points, double scale, int x0,
                                     int y0, int height) {
  std::vector<Marker> markers;
  for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
    int dx = 0;
    int dy = 0;
    if (ToMarkerCoordinate(points[i] * scale, &dx) &&
        ToMarkerCoordinate(height - 2.0 * y0 - points[i + 1] * scale, &dy)) {
      markers.push_back(Marker{x0 + dx, y0 + dy});
    }
  }
  return markers;
}

// Preview markers: X = x' + int(px k), Y = y' + int((h - py) k), k the scale the image is drawn
// at.
std::vector<Marker> PreviewMarkers(const std::vector<double>& points, double k, int x, int y,
                                   int height) {
  std::vector<Marker> markers;
  for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
    int dx = 0;
    int dy = 0;
    if (ToMarkerCoordinate(points[i] * k, &dx) &&
        ToMarkerCoordinate((height - points[i + 1]) * k, &dy)) {
      markers.push_back(Marker{x + dx, y + dy});
    }
  }
  return markers;
}

// The size within maxSide x maxSide of a picture of width x height, its shape kept (each side
// rounded to the nearest pixel, at least one) and never larger than the picture.
Extent FittedExtent(int width, int height, int maxSide) {
  if (width <= maxSide && height <= maxSide) return Extent{width, height};
  const auto shrunk = [maxSide](std::int64_t side, std::int64_t longest) {
    const std::int64_t rounded = (2 * side * maxSide + longest) / (2 * longest);
    return static_cast<int>(std::max<std::int64_t>(1, rounded));
  };
  if (width >= height) return Extent{maxSide, shrunk(height, width)};
  return Extent{shrunk(width, height), maxSide};
}

fw::Status StoreThumbnail(fw::CImageList& list, int imageIndex, const fw::Bitmap& thumbnail,
                          int* storedAt) {
  if (imageIndex != 0) {
    if (list.Replace(imageIndex, thumbnail)) {
      *storedAt = imageIndex;
      return fw::Status::Success();
    }
    return fw::Status::Failure(L"thumbnail cannot replace image " + std::to_wstring(imageIndex) +
                               L" of a list of " + std::to_wstring(list.GetImageCount()));
  }
  *storedAt = list.Add(thumbnail);
  if (*storedAt >= 0) return fw::Status::Success();
  return fw::Status::Failure(L"thumbnail cannot be added to a list of " +
                             std::to_wstring(list.GetImageCount()) + L" images");
}

// One thumbnail from a preview already recoloured (`bytes` is a valid packed bitmap).
fw::Result<fw::Bitmap> RenderRecolouredThumbnail(const std::vector<std::uint8_t>& bytes,
                                                 PreviewColours colours, int width, int height,
                                                 int version, const std::vector<double>& points) {
  const fw::PackedDib dib = fw::PackedDib::Parse(bytes).Value();

  fw::Bitmap thumbnail(width, height);
  fw::CDC dc(thumbnail);
  dc.SetPenColour(colours.background);
  dc.SetBrushColour(colours.background);
  dc.Rectangle(0, 0, width, height);

  const double scale = std::min(static_cast<double>(height) / dib.Height(),
                                static_cast<double>(width) / dib.Width());
  const int x0 = width / 2 - static_cast<int>(scale * dib.Width() / 2);
  const int y0 = height / 2 - static_cast<int>(scale * dib.Height() / 2);
  const fw::DibRect destination{x0, y0, static_cast<int>(dib.Width() * scale),
                                static_cast<int>(dib.Height() * scale)};
  dc.SetStretchBltMode(StretchModeFor(colours));
  if (fw::Status drawn = DrawImage(dc, destination, SourceOf(dib, version), bytes);
      !drawn) {
    return fw::Result<fw::Bitmap>::Failure(drawn.Message());
  }
  DrawMarkers(dc, ThumbnailMarkers(points, scale, x0, y0, height), 3, 5);
  return fw::Result<fw::Bitmap>::Success(std::move(thumbnail));
}

}  // namespace

fw::Result<fw::Bitmap> RenderThumbnail(const PackedBitmap& bitmap, int width, int height,
                                       int version, const std::vector<double>& points) {
  const PreviewColours colours = GetPreviewColours();
  const fw::Result<std::vector<std::uint8_t>> bytes = RecolouredPreview(bitmap, colours);
  if (!bytes) return fw::Result<fw::Bitmap>::Failure(bytes.Message());
  return RenderRecolouredThumbnail(bytes.Value(), colours, width, height, version, points);
}

fw::Result<int> RenderThumbnails(fw::CImageList* large, fw::CImageList& small, int imageIndex,
                                 const PackedBitmap& bitmap, int version,
                                 const std::vector<double>& points) {
  // Both thumbnails are rendered before either list changes, so a failure leaves them alike;
  // both from one recoloured copy of the preview.
  const PreviewColours colours = GetPreviewColours();
  const fw::Result<std::vector<std::uint8_t>> bytes = RecolouredPreview(bitmap, colours);
  if (!bytes) return fw::Result<int>::Failure(bytes.Message());
  fw::Result<fw::Bitmap> smallImage = RenderRecolouredThumbnail(
      bytes.Value(), colours, kSmallThumbnailWidth, kSmallThumbnailHeight, version, points);
  if (!smallImage) return fw::Result<int>::Failure(smallImage.Message());
  int storedAt = imageIndex;
  if (large != nullptr) {
    fw::Result<fw::Bitmap> largeImage = RenderRecolouredThumbnail(
        bytes.Value(), colours, kLargeThumbnailWidth, kLargeThumbnailHeight, version, points);
    if (!largeImage) return fw::Result<int>::Failure(largeImage.Message());
    if (fw::Status stored = StoreThumbnail(*large, imageIndex, largeImage.Value(), &storedAt);
        !stored) {
      return fw::Result<int>::Failure(L"large " + stored.Message());
    }
  }
  int smallAt = imageIndex;
  if (fw::Status stored = StoreThumbnail(small, imageIndex, smallImage.Value(), &smallAt);
      !stored) {
    return fw::Result<int>::Failure(L"small " + stored.Message());
  }
  if (large != nullptr && smallAt != storedAt) {
    return fw::Result<int>::Failure(L"thumbnail lists are out of step: large image " +
                                    std::to_wstring(storedAt) + L", small image " +
                                    std::to_wstring(smallAt));
  }
  return fw::Result<int>::Success(smallAt);
}

fw::Result<fw::Bitmap> RenderFittedPreview(const PackedBitmap& bitmap, int version, int maxSide) {
  using Fitted = fw::Result<fw::Bitmap>;
  if (maxSide < 1) {
    return Fitted::Failure(L"picture size " + std::to_wstring(maxSide) + L" is below 1");
  }
  const fw::Result<std::vector<std::uint8_t>> bytes =
      RecolouredPreview(bitmap, PreviewColours{fw::RGB(255, 255, 255), 0});
  if (!bytes) return Fitted::Failure(bytes.Message());
  const fw::DibRect source = SourceOf(fw::PackedDib::Parse(bytes.Value()).Value(), version);
  if (source.width <= 0 || source.height <= 0) {
    return Fitted::Failure(L"the preview holds no picture inside its border");
  }
  const Extent fitted = FittedExtent(source.width, source.height, maxSide);
  return fw::ResampleDib(bytes.Value(), source, fitted.width, fitted.height);
}

// Where the image of a w x h preview goes in the frame at (x, y) for scale k: at scale k centred
// on the frame, or, when asked to stay within the frame and it does not fit there, shrunk to the
// frame's inside (256k + 1 by 188k + 1) keeping its shape and centred in it.
PreviewPlacement PlacePreview(int x, int y, int k, int w, int h, PreviewFit fit) {
  const int insideWidth = 256 * k + 1;
  const int insideHeight = 188 * k + 1;
  bool fits = k * w <= insideWidth && k * h <= insideHeight;
  switch (fit) {
    case PreviewFit::kAsStored:
      fits = true;
      break;
    case PreviewFit::kWithinFrame:
      break;
  }
  if (fits) {
    return PreviewPlacement{fw::DibRect{x + 128 * k - (k * w) / 2 + 1,
                                        y + (188 * k) / 2 - (k * h) / 2 + 1, k * w, k * h},
                            static_cast<double>(k)};
  }
  // In whole numbers, so the side that limits is exactly the inside's.
  const bool widthLimits = std::int64_t{insideWidth} * h <= std::int64_t{insideHeight} * w;
  const int width = widthLimits
                        ? insideWidth
                        : std::max(1, static_cast<int>(std::int64_t{w} * insideHeight / h));
  const int height = widthLimits
                         ? std::max(1, static_cast<int>(std::int64_t{h} * insideWidth / w))
                         : insideHeight;
  const double scale = widthLimits ? static_cast<double>(insideWidth) / w
                                   : static_cast<double>(insideHeight) / h;
  return PreviewPlacement{fw::DibRect{x + 1 + (insideWidth - width) / 2,
                                      y + 1 + (insideHeight - height) / 2, width, height},
                          scale};
}

fw::Status DrawPreview(fw::DeviceContext& dc, int x, int y, int k, bool colours,
                       const PackedBitmap& bitmap, int version, const std::vector<double>& points,
                       PreviewFit fit) {
  if (k < 1 || k > kMaxPreviewScale) {
    return fw::Status::Failure(L"preview scale " + std::to_wstring(k) +
                               L" is not between 1 and 64");
  }
  const PreviewColours previewColours = GetPreviewColours();
  const fw::Result<std::vector<std::uint8_t>> bytes =
      colours ? RecolouredPreview(bitmap, previewColours)
              : fw::Result<std::vector<std::uint8_t>>::Success(bitmap.bytes);
  if (!bytes) return fw::Status::Failure(bytes.Message());
  const fw::Result<fw::PackedDib> dib = fw::PackedDib::Parse(bytes.Value());
  if (!dib) return fw::Status::Failure(dib.Message());
  const int w = dib.Value().Width();
  const int h = dib.Value().Height();

  const fw::COLORREF brush = dc.BrushColour();
  const int mode = dc.GetStretchBltMode();
  if (colours) dc.SetBrushColour(previewColours.background);
  dc.SetStretchBltMode(colours ? StretchModeFor(previewColours) : fw::BLACKONWHITE);
  dc.Rectangle(x, y, x + 256 * k + 3, y + 188 * k + 3);

  const PreviewPlacement placed = PlacePreview(x, y, k, w, h, fit);
  const fw::DibRect source = SourceOf(dib.Value(), version);
  fw::Status drawn = placed.scale < k ? DrawSmoothed(dc, placed.image, source, bytes.Value())
                                      : DrawImage(dc, placed.image, source, bytes.Value());
  if (drawn) {
    DrawMarkers(dc, PreviewMarkers(points, placed.scale, placed.image.x, placed.image.y, h),
                colours ? 4 * k : 6 * k, colours ? 8 * k : 10 * k);
  }
  dc.SetBrushColour(brush);
  dc.SetStretchBltMode(mode);
  return drawn;
}

}  // namespace dwgprobe

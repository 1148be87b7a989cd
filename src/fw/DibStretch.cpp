// The stretch of a packed bitmap onto a raster bitmap: per axis, Bresenham runs decide which
// source pixels land on each destination pixel; shrinking combines the raw stored values of a
// run (palette indices or packed colours) before they become colours, as the platform does.
#include "fw/DibStretch.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fw/PackedDib.h"
#include "fw/StretchRuns.h"

namespace fw {
namespace {

// Destination sides beyond this are refused: the run tables grow with the destination, and no
// drawing of a preview comes near it.
constexpr int kMaxDestinationSide = 1 << 16;

std::wstring Number(std::int64_t value) { return std::to_wstring(value); }

Status CheckExtents(DibRect destination, DibRect source, int mode) {
  if (mode != BLACKONWHITE && mode != WHITEONBLACK && mode != COLORONCOLOR) {
    return Status::Failure(L"stretch mode " + Number(mode) + L" is not 1, 2 or 3");
  }
  if (destination.width <= 0 || destination.height <= 0 || source.width <= 0 ||
      source.height <= 0) {
    return Status::Failure(L"stretch extents must be positive: destination " +
                           Number(destination.width) + L" x " + Number(destination.height) +
                           L", source " + Number(source.width) + L" x " + Number(source.height));
  }
  if (destination.width > kMaxDestinationSide || destination.height > kMaxDestinationSide) {
    return Status::Failure(L"stretch destination " + Number(destination.width) + L" x " +
                           Number(destination.height) + L" is beyond 65536 on a side");
  }
  return Status::Success();
}

// The source rectangle's top row counted from the top of the image. A bottom-up bitmap counts
// y from its lower edge. With a top-down bitmap taller than an unoffset, unscaled source, the
// platform takes the rows from the bottom of the image.
std::int64_t SourceTop(const PackedDib& dib, DibRect destination, DibRect source) {
  if (!dib.IsTopDown()) {
    return std::int64_t{dib.Height()} - source.y - source.height;
  }
  const bool fastPath = source.x == 0 && source.y == 0 && source.width == destination.width &&
                        source.height == destination.height &&
                        dib.Compression() == PackedDib::kRgb && dib.Height() > source.height;
  return fastPath ? dib.Height() - source.height : source.y;
}

// ANDs (or ORs) `count` bytes of `row` into `combined`, eight at a time.
void CombineBytes(std::uint8_t* combined, const std::uint8_t* row, std::size_t count, bool andThem) {
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= count; i += sizeof(std::uint64_t)) {
    std::uint64_t left = 0;
    std::uint64_t right = 0;
    std::memcpy(&left, combined + i, sizeof left);
    std::memcpy(&right, row + i, sizeof right);
    left = andThem ? left & right : left | right;
    std::memcpy(combined + i, &left, sizeof left);
  }
  for (; i < count; ++i) combined[i] = andThem ? combined[i] & row[i] : combined[i] | row[i];
}

// The raw values of one destination row: the stored bytes of the source rows of its run
// combined by the mode (the first row of the run alone for COLORONCOLOR), then decoded. AND and
// OR work bit by bit, so combining whole stored rows byte by byte gives the same values as
// combining pixel by pixel, for every pixel format, at a fraction of the decoding.
void CombineRows(const PackedDib& dib, int left, int width, int top, SourceRun rows, int mode,
                 std::vector<std::uint32_t>& combined, std::vector<std::uint8_t>& rowBytes) {
  const int lastRow = mode == COLORONCOLOR ? rows.first : rows.last;
  const std::size_t stride = dib.Stride();
  const std::uint8_t* first = dib.StoredRow(top + rows.first);
  std::copy(first, first + stride, rowBytes.begin());
  for (int y = rows.first + 1; y <= lastRow; ++y) {
    CombineBytes(rowBytes.data(), dib.StoredRow(top + y), stride, mode == BLACKONWHITE);
  }
  dib.DecodeRow(rowBytes.data(), left, width, combined.data());
}

// The raw value that lands on one destination pixel: the run's columns of a combined row
// combined by the mode (the last column alone for COLORONCOLOR).
std::uint32_t CombineColumns(const std::vector<std::uint32_t>& combinedRow, SourceRun columns,
                             int mode) {
  if (mode == COLORONCOLOR) return combinedRow[static_cast<std::size_t>(columns.last)];
  std::uint32_t combined = mode == BLACKONWHITE ? 0xFFFFFFFFu : 0;
  for (int x = columns.first; x <= columns.last; ++x) {
    const std::uint32_t raw = combinedRow[static_cast<std::size_t>(x)];
    combined = mode == BLACKONWHITE ? combined & raw : combined | raw;
  }
  return combined;
}

}  // namespace

Status StretchDib(Bitmap& target, DibRect destination, DibRect source,
                  std::span<const std::uint8_t> dibBytes, int mode) {
  if (Status status = CheckExtents(destination, source, mode); !status) return status;
  const Result<PackedDib> parsed = PackedDib::Parse(dibBytes);
  if (!parsed) return Status::Failure(parsed.Message());
  const PackedDib& dib = parsed.Value();

  const std::int64_t top = SourceTop(dib, destination, source);
  if (source.x < 0 || std::int64_t{source.x} + source.width > dib.Width() || top < 0 ||
      top + source.height > dib.Height()) {
    return Status::Failure(L"stretch source " + Number(source.width) + L" x " +
                           Number(source.height) + L" at (" + Number(source.x) + L", " +
                           Number(source.y) + L") lies outside the bitmap of " +
                           Number(dib.Width()) + L" x " + Number(dib.Height()));
  }

  const std::vector<SourceRun> columns = StretchRuns(source.width, destination.width);
  const std::vector<SourceRun> rows = StretchRuns(source.height, destination.height);
  // Only the destination pixels on the target are computed.
  const std::int64_t firstX = std::max<std::int64_t>(0, -std::int64_t{destination.x});
  const std::int64_t lastX = std::min<std::int64_t>(
      destination.width, std::int64_t{target.Width()} - destination.x);
  const std::int64_t firstY = std::max<std::int64_t>(0, -std::int64_t{destination.y});
  const std::int64_t lastY = std::min<std::int64_t>(
      destination.height, std::int64_t{target.Height()} - destination.y);
  std::vector<std::uint32_t> combinedRow(static_cast<std::size_t>(source.width));
  std::vector<std::uint8_t> rowBytes(dib.Stride());
  for (std::int64_t y = firstY; y < lastY; ++y) {
    CombineRows(dib, source.x, source.width, static_cast<int>(top),
                rows[static_cast<std::size_t>(y)], mode, combinedRow, rowBytes);
    for (std::int64_t x = firstX; x < lastX; ++x) {
      const std::uint32_t raw =
          CombineColumns(combinedRow, columns[static_cast<std::size_t>(x)], mode);
      target.SetPixel(static_cast<int>(destination.x + x), static_cast<int>(destination.y + y),
                      dib.ColourOf(raw));
    }
  }
  return Status::Success();
}

}  // namespace fw

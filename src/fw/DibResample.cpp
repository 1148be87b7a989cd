// The box filter behind ResampleDib: per axis, the share each source pixel has in each target
// pixel; rows are decoded one at a time, reduced across, and summed down.
#include "fw/DibResample.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fw/PackedDib.h"

namespace fw {
namespace {

constexpr int kMaxTargetSide = 1 << 16;

std::wstring Number(std::int64_t value) { return std::to_wstring(value); }

// The source pixels one target pixel covers along an axis, and the share of each.
struct Span {
  int first = 0;
  std::vector<float> weights;
};

// Target pixel i covers source positions [i S / T, (i + 1) S / T); counted in units of 1 / T
// of a source pixel every bound is a whole number, so the shares are exact and sum to one.
std::vector<Span> SpansOf(int sourceLength, int targetLength) {
  const std::int64_t s = sourceLength;
  const std::int64_t t = targetLength;
  std::vector<Span> spans(static_cast<std::size_t>(targetLength));
  for (std::int64_t i = 0; i < t; ++i) {
    const std::int64_t begin = i * s;
    const std::int64_t end = begin + s;
    Span& span = spans[static_cast<std::size_t>(i)];
    span.first = static_cast<int>(begin / t);
    for (std::int64_t j = span.first; j * t < end; ++j) {
      const std::int64_t covered = std::min(end, (j + 1) * t) - std::max(begin, j * t);
      span.weights.push_back(static_cast<float>(covered) / static_cast<float>(s));
    }
  }
  return spans;
}

// One source row reduced across to the target's width: red, green, blue per target pixel.
class RowReducer {
 public:
  RowReducer(const PackedDib& dib, DibRect source, std::int64_t top, int width)
      : dib_(dib), source_(source), top_(top), columns_(SpansOf(source.width, width)),
        raw_(static_cast<std::size_t>(source.width)),
        reduced_(static_cast<std::size_t>(width) * 3) {}

  // The reduced row `y` of the source rectangle (0 is its top row); the last one is kept, as
  // the row on a boundary between two target rows serves both.
  const std::vector<float>& Row(int y) {
    if (y == reducedRow_) return reduced_;
    dib_.DecodeRow(dib_.StoredRow(static_cast<int>(top_ + y)), source_.x, source_.width,
                   raw_.data());
    for (std::uint32_t& value : raw_) value = dib_.ColourOf(value);
    for (std::size_t x = 0; x < columns_.size(); ++x) {
      float red = 0;
      float green = 0;
      float blue = 0;
      const Span& span = columns_[x];
      for (std::size_t k = 0; k < span.weights.size(); ++k) {
        const COLORREF colour = raw_[static_cast<std::size_t>(span.first) + k];
        red += span.weights[k] * GetRValue(colour);
        green += span.weights[k] * GetGValue(colour);
        blue += span.weights[k] * GetBValue(colour);
      }
      reduced_[x * 3] = red;
      reduced_[x * 3 + 1] = green;
      reduced_[x * 3 + 2] = blue;
    }
    reducedRow_ = y;
    return reduced_;
  }

 private:
  const PackedDib& dib_;
  DibRect source_;
  std::int64_t top_;
  std::vector<Span> columns_;
  std::vector<std::uint32_t> raw_;  // stored values, then the colours they stand for
  std::vector<float> reduced_;
  int reducedRow_ = -1;
};

std::uint8_t ToChannel(float value) {
  return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

}  // namespace

Result<Bitmap> ResampleDib(std::span<const std::uint8_t> dibBytes, DibRect source, int width,
                           int height) {
  if (width <= 0 || height <= 0 || width > kMaxTargetSide || height > kMaxTargetSide) {
    return Result<Bitmap>::Failure(L"resampled size " + Number(width) + L" x " + Number(height) +
                                   L" is not between 1 and 65536 on a side");
  }
  const Result<PackedDib> parsed = PackedDib::Parse(dibBytes);
  if (!parsed) return Result<Bitmap>::Failure(parsed.Message());
  const PackedDib& dib = parsed.Value();
  const std::int64_t top = dib.IsTopDown()
                               ? std::int64_t{source.y}
                               : std::int64_t{dib.Height()} - source.y - source.height;
  if (source.width <= 0 || source.height <= 0 || source.x < 0 ||
      std::int64_t{source.x} + source.width > dib.Width() || top < 0 ||
      top + source.height > dib.Height()) {
    return Result<Bitmap>::Failure(L"resample source " + Number(source.width) + L" x " +
                                   Number(source.height) + L" at (" + Number(source.x) + L", " +
                                   Number(source.y) + L") is empty or outside the bitmap of " +
                                   Number(dib.Width()) + L" x " + Number(dib.Height()));
  }

  Bitmap target(width, height);
  RowReducer reducer(dib, source, top, width);
  const std::vector<Span> rows = SpansOf(source.height, height);
  std::vector<float> sum(static_cast<std::size_t>(width) * 3);
  std::uint8_t* out = target.Bits().data();
  for (const Span& span : rows) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (std::size_t k = 0; k < span.weights.size(); ++k) {
      const std::vector<float>& row = reducer.Row(span.first + static_cast<int>(k));
      for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += span.weights[k] * row[i];
    }
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x, out += 4) {
      out[0] = ToChannel(sum[x * 3 + 2]);
      out[1] = ToChannel(sum[x * 3 + 1]);
      out[2] = ToChannel(sum[x * 3]);
    }
  }
  return Result<Bitmap>::Success(std::move(target));
}

}  // namespace fw

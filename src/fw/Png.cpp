// The PNG codec behind fw::DecodePng and fw::EncodePng: the stream's header is inspected and its
// size bounded before the codec allocates any pixels.
#include "fw/Png.h"

#include <lodepng.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "fw/Strings.h"

namespace fw {
namespace {

// The codec's output buffers come from its allocator (malloc).
struct CodecFree {
  void operator()(unsigned char* bytes) const { std::free(bytes); }
};
using CodecBuffer = std::unique_ptr<unsigned char, CodecFree>;

// Owns the codec's state for one call.
class CodecState {
 public:
  CodecState() { lodepng_state_init(&state_); }
  ~CodecState() { lodepng_state_cleanup(&state_); }
  CodecState(const CodecState&) = delete;
  CodecState& operator=(const CodecState&) = delete;
  LodePNGState* operator->() { return &state_; }
  LodePNGState* Get() { return &state_; }

 private:
  LodePNGState state_;
};

std::wstring CodecError(const wchar_t* what, unsigned code) {
  return std::wstring(what) + L" (codec error " + std::to_wstring(code) + L": " +
         FromUtf8(lodepng_error_text(code)) + L")";
}

// The decompressed scanlines of the largest pixel format (16-bit RGBA, 8 bytes a pixel), with a
// filter byte a row for each of the seven interlace passes: no valid stream inflates beyond it.
std::size_t ScanlineBound(std::uint64_t width, std::uint64_t height) {
  return static_cast<std::size_t>(width * height * 8 + 7 * (height + 1));
}

}  // namespace

Result<PngImage> DecodePng(std::span<const std::uint8_t> png, PngLimits limits) {
  CodecState state;
  unsigned width = 0;
  unsigned height = 0;
  if (unsigned code = lodepng_inspect(&width, &height, state.Get(), png.data(), png.size())) {
    return Result<PngImage>::Failure(CodecError(L"not a PNG stream", code));
  }
  const std::uint64_t rgbBytes = std::uint64_t{width} * height * 3;
  if (width == 0 || height == 0 || width > static_cast<unsigned>(limits.maxSide) ||
      height > static_cast<unsigned>(limits.maxSide) || rgbBytes > limits.maxRgbBytes) {
    return Result<PngImage>::Failure(
        L"PNG of " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
        L" pixels is beyond the limit of " + std::to_wstring(limits.maxSide) +
        L" pixels a side and " + std::to_wstring(limits.maxRgbBytes) + L" bytes of pixels");
  }

  state->info_raw.colortype = LCT_RGB;
  state->info_raw.bitdepth = 8;
  state->decoder.zlibsettings.max_output_size = ScanlineBound(width, height);
  unsigned char* raw = nullptr;
  const unsigned code = lodepng_decode(&raw, &width, &height, state.Get(), png.data(), png.size());
  CodecBuffer pixels(raw);
  if (code != 0 || pixels == nullptr) {
    return Result<PngImage>::Failure(CodecError(L"PNG stream cannot be decoded", code));
  }
  PngImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.rgb.assign(pixels.get(), pixels.get() + rgbBytes);
  return Result<PngImage>::Success(std::move(image));
}

Result<std::vector<std::uint8_t>> EncodePng(std::span<const std::uint8_t> pixels, int width,
                                            int height, bool withAlpha) {
  using Encoded = Result<std::vector<std::uint8_t>>;
  const std::uint64_t channels = withAlpha ? 4 : 3;
  if (width <= 0 || height <= 0 ||
      std::uint64_t(width) * std::uint64_t(height) * channels != pixels.size()) {
    return Encoded::Failure(L"PNG encode of " + std::to_wstring(width) + L" x " +
                            std::to_wstring(height) + L" pixels got " +
                            std::to_wstring(pixels.size()) + L" bytes");
  }
  unsigned char* raw = nullptr;
  std::size_t size = 0;
  const unsigned code =
      lodepng_encode_memory(&raw, &size, pixels.data(), static_cast<unsigned>(width),
                            static_cast<unsigned>(height), withAlpha ? LCT_RGBA : LCT_RGB, 8);
  CodecBuffer stream(raw);
  if (code != 0 || stream == nullptr) return Encoded::Failure(CodecError(L"PNG encode failed", code));
  return Encoded::Success(std::vector<std::uint8_t>(stream.get(), stream.get() + size));
}

Result<std::vector<std::uint8_t>> EncodeBitmapPng(const Bitmap& image) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(image.Bits().size() / 4 * 3);
  const std::vector<std::uint8_t>& bits = image.Bits();
  for (std::size_t i = 0; i + 3 < bits.size(); i += 4) {
    rgb.insert(rgb.end(), {bits[i + 2], bits[i + 1], bits[i]});
  }
  return EncodePng(rgb, image.Width(), image.Height(), false);
}

}  // namespace fw

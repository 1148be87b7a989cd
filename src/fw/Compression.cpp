// zlib's deflate, inflate and Adler-32 for the compressed cache files, with inflate checked
// against the length the file states.
#include "fw/Compression.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>
#include <string>

#include "fw/Strings.h"

namespace fw {
namespace {

// zlib counts in 32-bit units; larger spans are handed over in pieces of at most this size.
constexpr std::size_t kMaxZlibChunk = std::numeric_limits<uInt>::max();

// zlib wants a valid pointer even for no bytes.
const Bytef kNoBytes[1] = {0};

const Bytef* DataOf(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? kNoBytes : bytes.data();
}

std::wstring Number(std::uint64_t value) { return std::to_wstring(value); }

std::wstring ZlibMessage(const z_stream& stream, int code) {
  return FromUtf8(stream.msg != nullptr ? stream.msg : zError(code));
}

// One inflate of a whole stream into a buffer of the expected length, fed to zlib in pieces it
// can count.
class Inflater {
 public:
  using Output = Result<std::vector<std::uint8_t>>;

  Inflater(std::span<const std::uint8_t> input, std::size_t expectedLength)
      : input_(input), output_(expectedLength), status_(inflateInit(&stream_)) {}
  ~Inflater() {
    if (status_ == Z_OK) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  Output Run() {
    if (status_ != Z_OK) return Output::Failure(L"zlib could not start inflating");
    for (;;) {
      TopUpInput();
      if (!TopUpOutput()) return HoldsMore();
      int status = inflate(&stream_, Z_NO_FLUSH);
      if (usingSpare_ && stream_.avail_out == 0) return HoldsMore();
      if (status != Z_OK) return Finish(status);
    }
  }

 private:
  void TopUpInput() {
    if (stream_.avail_in != 0 || inputGiven_ == input_.size()) return;
    std::size_t piece = std::min(input_.size() - inputGiven_, kMaxZlibChunk);
    stream_.next_in = const_cast<Bytef*>(input_.data() + inputGiven_);
    stream_.avail_in = static_cast<uInt>(piece);
    inputGiven_ += piece;
  }

  // False once even the spare byte is used up.
  bool TopUpOutput() {
    if (stream_.avail_out != 0) return true;
    if (outputGiven_ < output_.size()) {
      std::size_t piece = std::min(output_.size() - outputGiven_, kMaxZlibChunk);
      stream_.next_out = output_.data() + outputGiven_;
      stream_.avail_out = static_cast<uInt>(piece);
      outputGiven_ += piece;
      return true;
    }
    if (usingSpare_) return false;
    // One byte beyond the expected ones, so a stream that holds more shows itself.
    stream_.next_out = &spare_;
    stream_.avail_out = 1;
    usingSpare_ = true;
    return true;
  }

  Output HoldsMore() const {
    return Output::Failure(L"the compressed data holds more than the expected " +
                           Number(output_.size()) + L" bytes");
  }

  Output Finish(int status) {
    switch (status) {
      case Z_STREAM_END:
        // Bytes after the end of the stream are ignored, as zlib's one-call inflate does.
        if (stream_.total_out != output_.size()) {
          return Output::Failure(L"the compressed data holds " + Number(stream_.total_out) +
                                 L" bytes; " + Number(output_.size()) + L" were expected");
        }
        return Output::Success(std::move(output_));
      case Z_BUF_ERROR:
        // The output always has room, so inflate stopped for want of input.
        return Output::Failure(L"the compressed data ends early: its " + Number(input_.size()) +
                               L" bytes gave " + Number(stream_.total_out) + L" of the expected " +
                               Number(output_.size()));
      case Z_MEM_ERROR:
        return Output::Failure(L"out of memory while inflating");
      default:
        return Output::Failure(L"the compressed data is damaged (" + ZlibMessage(stream_, status) +
                               L") near byte " + Number(stream_.total_in) + L" of " +
                               Number(input_.size()));
    }
  }

  std::span<const std::uint8_t> input_;
  std::vector<std::uint8_t> output_;
  z_stream stream_{};
  int status_;
  std::size_t inputGiven_ = 0;
  std::size_t outputGiven_ = 0;
  Bytef spare_ = 0;
  bool usingSpare_ = false;
};

}  // namespace

std::size_t CompressBound(std::size_t length) {
  return static_cast<std::size_t>(compressBound(static_cast<uLong>(length)));
}

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> compressed(CompressBound(bytes.size()));
  uLongf compressedLength = static_cast<uLongf>(compressed.size());
  int status = compress2(compressed.data(), &compressedLength, DataOf(bytes),
                         static_cast<uLong>(bytes.size()), Z_DEFAULT_COMPRESSION);
  // With the output sized by compressBound, running out of memory is the only failure left.
  if (status != Z_OK) throw std::bad_alloc();
  compressed.resize(compressedLength);
  return compressed;
}

Result<std::vector<std::uint8_t>> Uncompress(std::span<const std::uint8_t> stream,
                                             std::size_t expectedLength) {
  return Inflater(stream, expectedLength).Run();
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
  uLong checksum = adler32(0L, Z_NULL, 0);
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t piece = std::min(bytes.size() - done, kMaxZlibChunk);
    checksum = adler32(checksum, bytes.data() + done, static_cast<uInt>(piece));
    done += piece;
  }
  return static_cast<std::uint32_t>(checksum);
}

}  // namespace fw

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

// What Finish inflates at a time while it passes over the rest of a stream.
constexpr std::size_t kDrainChunk = 64 * 1024;

// zlib wants a valid pointer even for no bytes.
const Bytef kNoBytes[1] = {0};

const Bytef* DataOf(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? kNoBytes : bytes.data();
}

std::wstring Number(std::uint64_t value) { return std::to_wstring(value); }

std::wstring ZlibMessage(const z_stream& stream, int code) {
  return FromUtf8(stream.msg != nullptr ? stream.msg : zError(code));
}

}  // namespace

// One inflate of a whole stream, fed to zlib in pieces it can count and drawn into whatever
// buffers the reader gives.
struct InflateStream::State {
  std::span<const std::uint8_t> input;
  std::uint64_t expected = 0;
  z_stream stream{};
  int initStatus = Z_OK;
  std::size_t inputGiven = 0;
  std::uint64_t delivered = 0;
  bool ended = false;  // zlib reported the end of the stream

  State(std::span<const std::uint8_t> compressed, std::uint64_t expectedLength)
      : input(compressed), expected(expectedLength), initStatus(inflateInit(&stream)) {}
  ~State() {
    if (initStatus == Z_OK) inflateEnd(&stream);
  }

  void TopUpInput() {
    if (stream.avail_in != 0 || inputGiven == input.size()) return;
    std::size_t piece = std::min(input.size() - inputGiven, kMaxZlibChunk);
    stream.next_in = const_cast<Bytef*>(input.data() + inputGiven);
    stream.avail_in = static_cast<uInt>(piece);
    inputGiven += piece;
  }

  Status Failure(const std::wstring& text) const { return Status::Failure(text); }

  // What an inflate status other than Z_OK means for a stream that should go on.
  Status Stopped(int status) const {
    switch (status) {
      case Z_STREAM_END:
        return Failure(L"the compressed data holds " + Number(stream.total_out) + L" bytes; " +
                       Number(expected) + L" were expected");
      case Z_BUF_ERROR:
        // The output always has room, so inflate stopped for want of input.
        return Failure(L"the compressed data ends early: its " + Number(input.size()) +
                       L" bytes gave " + Number(stream.total_out) + L" of the expected " +
                       Number(expected));
      case Z_MEM_ERROR:
        return Failure(L"out of memory while inflating");
      default:
        return Failure(L"the compressed data is damaged (" + ZlibMessage(stream, status) +
                       L") near byte " + Number(stream.total_in) + L" of " +
                       Number(input.size()));
    }
  }

  // Inflates exactly out.size() bytes (the caller keeps within the expected length).
  Status Fill(std::span<std::uint8_t> out) {
    std::size_t filled = 0;
    while (filled < out.size()) {
      TopUpInput();
      std::size_t piece = std::min(out.size() - filled, kMaxZlibChunk);
      stream.next_out = out.data() + filled;
      stream.avail_out = static_cast<uInt>(piece);
      int status = inflate(&stream, Z_NO_FLUSH);
      filled += piece - stream.avail_out;
      if (status == Z_STREAM_END) ended = true;
      if (status == Z_OK || (status == Z_STREAM_END && filled == out.size())) continue;
      return Stopped(status);
    }
    return Status::Success();
  }

  // After the expected bytes: the stream must end here, with nothing more in it.
  Status CheckEnd() {
    Bytef spare = 0;
    while (!ended) {
      TopUpInput();
      stream.next_out = &spare;
      stream.avail_out = 1;
      int status = inflate(&stream, Z_NO_FLUSH);
      if (stream.avail_out == 0) {
        return Failure(L"the compressed data holds more than the expected " + Number(expected) +
                       L" bytes");
      }
      // Bytes after the end of the stream are ignored, as zlib's one-call inflate does.
      if (status == Z_STREAM_END) ended = true;
      else if (status != Z_OK) return Stopped(status);
    }
    return Status::Success();
  }
};

InflateStream::InflateStream(std::span<const std::uint8_t> compressed,
                             std::uint64_t expectedLength)
    : state_(std::make_unique<State>(compressed, expectedLength)) {}

InflateStream::~InflateStream() = default;

std::uint64_t InflateStream::ExpectedLength() const { return state_->expected; }

std::uint64_t InflateStream::Delivered() const { return state_->delivered; }

Result<std::size_t> InflateStream::Read(std::span<std::uint8_t> out) {
  if (state_->initStatus != Z_OK) {
    return Result<std::size_t>::Failure(L"zlib could not start inflating");
  }
  const std::uint64_t left = state_->expected - state_->delivered;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left));
  if (Status filled = state_->Fill(out.first(wanted)); !filled) {
    return Result<std::size_t>::Failure(filled.Message());
  }
  state_->delivered += wanted;
  return Result<std::size_t>::Success(wanted);
}

Status InflateStream::Finish() {
  if (state_->initStatus != Z_OK) return Status::Failure(L"zlib could not start inflating");
  std::vector<std::uint8_t> scratch;
  while (state_->delivered < state_->expected) {
    scratch.resize(kDrainChunk);
    Result<std::size_t> got = Read(scratch);
    if (!got) return Status::Failure(got.Message());
  }
  return state_->CheckEnd();
}

std::size_t CompressBound(std::size_t length) {
  return static_cast<std::size_t>(compressBound(static_cast<uLong>(length)));
}

void CompressAfter(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                   std::size_t offset) {
  out.resize(offset + CompressBound(bytes.size()));
  uLongf compressedLength = static_cast<uLongf>(out.size() - offset);
  int status = compress2(out.data() + offset, &compressedLength, DataOf(bytes),
                         static_cast<uLong>(bytes.size()), Z_DEFAULT_COMPRESSION);
  // With the output sized by compressBound, running out of memory is the only failure left.
  if (status != Z_OK) throw std::bad_alloc();
  out.resize(offset + compressedLength);
}

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> compressed;
  CompressAfter(bytes, compressed, 0);
  return compressed;
}

Result<std::vector<std::uint8_t>> Uncompress(std::span<const std::uint8_t> stream,
                                             std::size_t expectedLength) {
  using Output = Result<std::vector<std::uint8_t>>;
  InflateStream inflater(stream, expectedLength);
  std::vector<std::uint8_t> output(expectedLength);
  Result<std::size_t> got = inflater.Read(output);
  if (!got) return Output::Failure(got.Message());
  if (Status finished = inflater.Finish(); !finished) return Output::Failure(finished.Message());
  return Output::Success(std::move(output));
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

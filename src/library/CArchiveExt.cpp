// The "akz" container of the cache files: packing a stream on close, inflating a file while the
// archive reads it.
#include "library/CArchiveExt.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "fw/Compression.h"
#include "fw/Strings.h"

namespace library {
namespace {

constexpr std::uint8_t kMagic[6] = {'a', 0, 'k', 0, 'z', 0};
constexpr std::uint8_t kMode = 1;
constexpr std::size_t kModeOffset = 6;
constexpr std::size_t kLengthOffset = 8;
constexpr std::size_t kChecksumOffset = 12;

void PutUInt32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetUInt32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

unsigned long long Wide(std::uint64_t value) { return static_cast<unsigned long long>(value); }

[[noreturn]] void ThrowInvalid(const std::wstring& detail) {
  throw fw::CArchiveException(fw::CArchiveException::genericException, detail);
}

bool StartsWithMagic(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

void CheckStreamLength(std::uint64_t length, std::uint64_t maxStreamBytes) {
  if (length > maxStreamBytes) {
    ThrowInvalid(fw::Format(L"cache stream of %llu bytes exceeds the cap of %llu bytes",
                            Wide(length), Wide(maxStreamBytes)));
  }
}

// The uncompressed length a container states, checked against the cap and against what its
// compressed bytes can expand to.
std::uint64_t CheckContainer(std::span<const std::uint8_t> fileBytes,
                             std::uint64_t maxStreamBytes) {
  if (fileBytes.size() < CArchiveExt::kHeaderBytes) {
    ThrowInvalid(fw::Format(L"compressed cache header needs %llu bytes; the file has %llu",
                            Wide(CArchiveExt::kHeaderBytes), Wide(fileBytes.size())));
  }
  const std::uint64_t statedLength = GetUInt32(&fileBytes[kLengthOffset]);
  const std::uint64_t compressedLength = fileBytes.size() - CArchiveExt::kHeaderBytes;
  if (statedLength > maxStreamBytes) {
    ThrowInvalid(fw::Format(L"compressed cache states %llu uncompressed bytes; the cap is %llu",
                            Wide(statedLength), Wide(maxStreamBytes)));
  }
  if (statedLength > compressedLength * CArchiveExt::kMaxDeflateRatio) {
    ThrowInvalid(fw::Format(
        L"compressed cache states %llu uncompressed bytes from %llu compressed bytes; zlib "
        L"expands at most %llu to 1",
        Wide(statedLength), Wide(compressedLength), Wide(CArchiveExt::kMaxDeflateRatio)));
  }
  return statedLength;
}

}  // namespace

// A container's bytes read as the stream they hold: each read inflates the next bytes straight
// into the reader's buffer. Its length is the stated one, so the archive's checks of sizes
// against the bytes left work as on a plain file. Damaged compressed data throws
// fw::CArchiveException, as an invalid container does.
class CArchiveExt::InflatingFile final : public fw::CFile {
 public:
  InflatingFile(std::vector<std::uint8_t> fileBytes, std::uint64_t statedLength)
      : bytes_(std::move(fileBytes)),
        inflater_(std::span<const std::uint8_t>(bytes_).subspan(kHeaderBytes), statedLength) {}

  void Close() override {}
  bool IsOpen() const override { return true; }
  std::size_t Read(void* buffer, std::size_t count) override {
    fw::Result<std::size_t> got =
        inflater_.Read(std::span<std::uint8_t>(static_cast<std::uint8_t*>(buffer), count));
    if (!got) ThrowInvalid(L"compressed cache: " + got.Message());
    return got.Value();
  }
  void Write(const void*, std::size_t) override {
    throw fw::CFileException(fw::CFileException::accessDenied, {},
                             L"a compressed cache is read only");
  }
  std::uint64_t GetLength() const override { return inflater_.ExpectedLength(); }
  std::uint64_t GetPosition() const override { return inflater_.Delivered(); }
  std::uint64_t SeekTo(std::uint64_t position) override {
    if (position != GetPosition()) {
      throw fw::CFileException(fw::CFileException::badSeek, {},
                               L"a compressed cache is read from its start to its end");
    }
    return position;
  }
  void Flush() override {}

  // Inflates the rest and checks the stream ends at the stated length.
  void Finish() {
    if (fw::Status finished = inflater_.Finish(); !finished) {
      ThrowInvalid(L"compressed cache: " + finished.Message());
    }
  }

 private:
  std::vector<std::uint8_t> bytes_;  // declared before the inflater, which reads them
  fw::InflateStream inflater_;
};

CArchiveExt::CArchiveExt(fw::CFile* file, fw::CArchive::Mode mode, std::size_t bufferSize,
                         bool compress, std::uint64_t maxStreamBytes)
    : file_(file), storing_(mode == fw::CArchive::store), compress_(compress) {
  if (storing_ && compress_) {
    memory_ = std::make_unique<fw::CMemFile>(kMemoryGrowBytes);
    archive_ = std::make_unique<fw::CArchive>(memory_.get(), mode, bufferSize);
  } else if (storing_) {
    archive_ = std::make_unique<fw::CArchive>(file_, mode, bufferSize);
  } else {
    OpenForLoading(bufferSize, maxStreamBytes);
  }
}

void CArchiveExt::OpenForLoading(std::size_t bufferSize, std::uint64_t maxStreamBytes) {
  if (!compress_) {
    const std::uint64_t length = file_->GetLength();
    const std::uint64_t position = file_->GetPosition();
    CheckStreamLength(length > position ? length - position : 0, maxStreamBytes);
    archive_ = std::make_unique<fw::CArchive>(file_, fw::CArchive::load, bufferSize);
    return;
  }
  std::vector<std::uint8_t> bytes = ReadWholeFile(*file_, MaxFileBytes(maxStreamBytes));
  if (StartsWithMagic(bytes)) {
    const std::uint64_t statedLength = CheckContainer(bytes, maxStreamBytes);
    auto inflating = std::make_unique<InflatingFile>(std::move(bytes), statedLength);
    inflating_ = inflating.get();
    loaded_ = std::move(inflating);
  } else {
    CheckStreamLength(bytes.size(), maxStreamBytes);
    loaded_ = std::make_unique<fw::CMemFile>(std::move(bytes));
  }
  archive_ = std::make_unique<fw::CArchive>(loaded_.get(), fw::CArchive::load, bufferSize);
}

CArchiveExt::~CArchiveExt() {
  if (open_) {
    try {
      Close();
    } catch (...) {
      // A destructor reports nothing; whoever needed the result called Close.
    }
  }
  Abort();
}

void CArchiveExt::Close() {
  if (!open_) return;
  open_ = false;
  archive_->Close();
  if (compress_ && storing_) {
    std::vector<std::uint8_t> packed = Pack(memory_->Bytes());
    ReleaseMemory();
    file_->Write(packed.data(), packed.size());
  } else if (inflating_ != nullptr) {
    inflating_->Finish();
  }
  ReleaseMemory();
}

void CArchiveExt::Abort() {
  open_ = false;
  if (archive_) archive_->Abort();
  ReleaseMemory();
}

void CArchiveExt::ReleaseMemory() {
  if (!memory_ && !loaded_) return;
  archive_->Abort();
  archive_.reset();
  inflating_ = nullptr;
  loaded_.reset();
  memory_.reset();
}

std::vector<std::uint8_t> CArchiveExt::Pack(std::span<const std::uint8_t> stream) {
  CheckStreamLength(stream.size(), kMaxStreamBytes);
  std::vector<std::uint8_t> packed;
  fw::CompressAfter(stream, packed, kHeaderBytes);
  std::memcpy(packed.data(), kMagic, sizeof kMagic);
  packed[kModeOffset] = kMode;
  packed[kModeOffset + 1] = 0;
  PutUInt32(&packed[kLengthOffset], static_cast<std::uint32_t>(stream.size()));
  PutUInt32(&packed[kChecksumOffset],
            fw::Adler32(std::span<const std::uint8_t>(packed).subspan(kHeaderBytes)));
  return packed;
}

std::vector<std::uint8_t> CArchiveExt::Unpack(std::vector<std::uint8_t> fileBytes,
                                              std::uint64_t maxStreamBytes) {
  if (!StartsWithMagic(fileBytes)) return fileBytes;
  const std::uint64_t statedLength = CheckContainer(fileBytes, maxStreamBytes);
  auto inflated = fw::Uncompress(std::span<const std::uint8_t>(fileBytes).subspan(kHeaderBytes),
                                 static_cast<std::size_t>(statedLength));
  if (!inflated) ThrowInvalid(L"compressed cache: " + inflated.Message());
  return inflated.TakeValue();
}

std::uint64_t CArchiveExt::MaxFileBytes(std::uint64_t maxStreamBytes) {
  return std::max<std::uint64_t>(maxStreamBytes,
                                 kHeaderBytes + fw::CompressBound(maxStreamBytes));
}

std::vector<std::uint8_t> CArchiveExt::ReadWholeFile(fw::CFile& file, std::uint64_t maxBytes) {
  const std::uint64_t length = file.GetLength();
  const std::uint64_t position = file.GetPosition();
  const std::uint64_t remaining = length > position ? length - position : 0;
  if (remaining > maxBytes) {
    ThrowInvalid(fw::Format(L"cache file of %llu bytes exceeds the cap of %llu bytes",
                            Wide(remaining), Wide(maxBytes)));
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(remaining));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    std::size_t got = file.Read(bytes.data() + filled, bytes.size() - filled);
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace library

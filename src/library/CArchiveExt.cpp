// The "akz" container of the cache files: packing a stream on close, unpacking a file on open.
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

}  // namespace

CArchiveExt::CArchiveExt(fw::CFile* file, fw::CArchive::Mode mode, std::size_t bufferSize,
                         bool compress)
    : file_(file), storing_(mode == fw::CArchive::store), compress_(compress) {
  if (!compress_) {
    archive_ = std::make_unique<fw::CArchive>(file_, mode, bufferSize);
  } else if (storing_) {
    memory_ = std::make_unique<fw::CMemFile>(kMemoryGrowBytes);
    archive_ = std::make_unique<fw::CArchive>(memory_.get(), mode, bufferSize);
  } else {
    std::vector<std::uint8_t> stream = Unpack(ReadWholeFile(*file_));
    memory_ = std::make_unique<fw::CMemFile>(std::span<const std::uint8_t>(stream));
    archive_ = std::make_unique<fw::CArchive>(memory_.get(), mode, bufferSize);
  }
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
  }
  ReleaseMemory();
}

void CArchiveExt::Abort() {
  open_ = false;
  if (archive_) archive_->Abort();
  ReleaseMemory();
}

void CArchiveExt::ReleaseMemory() {
  if (!memory_) return;
  archive_->Abort();
  archive_.reset();
  memory_.reset();
}

std::vector<std::uint8_t> CArchiveExt::Pack(std::span<const std::uint8_t> stream) {
  if (stream.size() > kMaxStreamBytes) {
    ThrowInvalid(fw::Format(L"cache stream of %llu bytes exceeds the cap of %llu bytes",
                            Wide(stream.size()), Wide(kMaxStreamBytes)));
  }
  std::vector<std::uint8_t> compressed = fw::Compress(stream);
  std::vector<std::uint8_t> packed(kHeaderBytes + compressed.size());
  std::memcpy(packed.data(), kMagic, sizeof kMagic);
  packed[kModeOffset] = kMode;
  PutUInt32(&packed[kLengthOffset], static_cast<std::uint32_t>(stream.size()));
  PutUInt32(&packed[kChecksumOffset], fw::Adler32(compressed));
  std::copy(compressed.begin(), compressed.end(), packed.begin() + kHeaderBytes);
  return packed;
}

std::vector<std::uint8_t> CArchiveExt::Unpack(std::vector<std::uint8_t> fileBytes) {
  if (!StartsWithMagic(fileBytes)) return fileBytes;
  if (fileBytes.size() < kHeaderBytes) {
    ThrowInvalid(fw::Format(L"compressed cache header needs %llu bytes; the file has %llu",
                            Wide(kHeaderBytes), Wide(fileBytes.size())));
  }
  const std::uint64_t statedLength = GetUInt32(&fileBytes[kLengthOffset]);
  const std::uint64_t compressedLength = fileBytes.size() - kHeaderBytes;
  if (statedLength > kMaxStreamBytes) {
    ThrowInvalid(fw::Format(L"compressed cache states %llu uncompressed bytes; the cap is %llu",
                            Wide(statedLength), Wide(kMaxStreamBytes)));
  }
  if (statedLength > compressedLength * kMaxDeflateRatio) {
    ThrowInvalid(fw::Format(
        L"compressed cache states %llu uncompressed bytes from %llu compressed bytes; zlib "
        L"expands at most %llu to 1",
        Wide(statedLength), Wide(compressedLength), Wide(kMaxDeflateRatio)));
  }
  auto inflated = fw::Uncompress(std::span<const std::uint8_t>(fileBytes).subspan(kHeaderBytes),
                                 static_cast<std::size_t>(statedLength));
  if (!inflated) ThrowInvalid(L"compressed cache: " + inflated.Message());
  return inflated.Value();
}

std::vector<std::uint8_t> CArchiveExt::ReadWholeFile(fw::CFile& file) {
  const std::uint64_t length = file.GetLength();
  const std::uint64_t position = file.GetPosition();
  const std::uint64_t remaining = length > position ? length - position : 0;
  if (remaining > kMaxFileBytes) {
    ThrowInvalid(fw::Format(L"cache file of %llu bytes exceeds the cap of %llu bytes",
                            Wide(remaining), Wide(kMaxFileBytes)));
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

// Reading parts of a file on disk by offset.
#include "dwgprobe/DrawingFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "fw/Strings.h"

namespace dwgprobe {

DrawingFile::DrawingFile(std::ifstream stream, std::uint64_t size, std::wstring path)
    : stream_(std::move(stream)), size_(size), path_(std::move(path)) {}

fw::Result<std::shared_ptr<DrawingFile>> DrawingFile::Open(const std::wstring& path) {
  using Outcome = fw::Result<std::shared_ptr<DrawingFile>>;
  const std::filesystem::path native(path);
  std::error_code error;
  if (std::filesystem::is_directory(native, error)) {
    return Outcome::Failure(fw::Format(L"%ls is a folder, not a drawing", path.c_str()));
  }
  const auto size = std::filesystem::file_size(native, error);
  std::ifstream stream(native, std::ios::binary);
  if (error || !stream) {
    return Outcome::Failure(fw::Format(L"cannot open %ls", path.c_str()));
  }
  return Outcome::Success(std::shared_ptr<DrawingFile>(new DrawingFile(std::move(stream), size, path)));
}

std::vector<std::uint8_t> DrawingFile::ReadUpTo(std::uint64_t offset, std::size_t count) {
  if (offset >= size_) return {};
  const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  std::vector<std::uint8_t> bytes(available);
  stream_.clear();
  stream_.seekg(static_cast<std::streamoff>(offset));
  stream_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(available));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(stream_.gcount(), 0)));
  return bytes;
}

fw::Result<std::vector<std::uint8_t>> DrawingFile::ReadAt(std::uint64_t offset,
                                                          std::size_t count) {
  using Outcome = fw::Result<std::vector<std::uint8_t>>;
  auto bytes = ReadUpTo(offset, count);
  if (bytes.size() != count) {
    return Outcome::Failure(fw::Format(L"%ls: reading %zu bytes at offset %llu gave %zu",
                                       path_.c_str(), count,
                                       static_cast<unsigned long long>(offset), bytes.size()));
  }
  return Outcome::Success(std::move(bytes));
}

}  // namespace dwgprobe

// Reading parts of a file on disk by offset.
#include "dwgprobe/DrawingFile.h"

#include <algorithm>

#include "fw/Strings.h"

namespace dwgprobe {

DrawingFile::DrawingFile(std::unique_ptr<fw::CFile> file, std::uint64_t size, std::wstring path)
    : file_(std::move(file)), size_(size), path_(std::move(path)) {}

// The size is taken once: a file that shrinks while it is read gives short reads, which ReadAt
// reports, and one that grows is read up to the size it had.
fw::Result<std::shared_ptr<DrawingFile>> DrawingFile::Open(const std::wstring& path) {
  using Outcome = fw::Result<std::shared_ptr<DrawingFile>>;
  auto file = std::make_unique<fw::CFile>();
  fw::CFileException error(fw::CFileException::none, path);
  if (!file->Open(path, fw::CFile::modeRead | fw::CFile::typeBinary, &error)) {
    return Outcome::Failure(fw::Format(L"cannot open %ls: %ls", path.c_str(),
                                       error.Message().c_str()));
  }
  try {
    const std::uint64_t size = file->GetLength();
    return Outcome::Success(
        std::shared_ptr<DrawingFile>(new DrawingFile(std::move(file), size, path)));
  } catch (const fw::CFileException& failed) {
    return Outcome::Failure(failed.Message());
  }
}

std::vector<std::uint8_t> DrawingFile::ReadUpTo(std::uint64_t offset, std::size_t count) {
  if (offset >= size_) return {};
  const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  std::vector<std::uint8_t> bytes(available);
  try {
    file_->SeekTo(offset);
    bytes.resize(file_->Read(bytes.data(), bytes.size()));
  } catch (const fw::CFileException&) {
    bytes.clear();  // a read error is a short read; the callers report it
  }
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

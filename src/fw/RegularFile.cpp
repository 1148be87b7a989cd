// Whole files through the framework's files: read with a limit, appended to and patched.
#include "fw/RegularFile.h"

#include <algorithm>
#include <string>
#include <utility>

#include "fw/File.h"
#include "fw/Strings.h"

namespace fw {
namespace {

Status Opened(CFile& file, std::wstring_view path, unsigned flags) {
  CFileException error(CFileException::none, std::wstring(path));
  if (file.Open(path, flags | CFile::typeBinary, &error)) return Status::Success();
  return Status::Failure(error.Message());
}

}  // namespace

Result<std::vector<std::uint8_t>> ReadRegularFile(std::wstring_view path, std::uint64_t maxBytes) {
  using Outcome = Result<std::vector<std::uint8_t>>;
  CFile file;
  if (Status opened = Opened(file, path, CFile::modeRead); !opened) {
    return Outcome::Failure(opened.Message());
  }
  try {
    const std::uint64_t size = file.GetLength();
    if (size > maxBytes) {
      return Outcome::Failure(
          Format(L"%ls holds %llu bytes; at most %llu are read", std::wstring(path).c_str(),
                 static_cast<unsigned long long>(size), static_cast<unsigned long long>(maxBytes)));
    }
    // One byte more than the size, to notice a file that grew since.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + 1);
    std::size_t used = 0;
    for (;;) {
      if (used == bytes.size()) {
        if (used > maxBytes) {
          return Outcome::Failure(Format(L"%ls grew past %llu bytes while it was read",
                                         std::wstring(path).c_str(),
                                         static_cast<unsigned long long>(maxBytes)));
        }
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(used * 2, maxBytes + 1)));
      }
      const std::size_t got = file.Read(bytes.data() + used, bytes.size() - used);
      if (got == 0) break;
      used += got;
    }
    bytes.resize(used);
    return Outcome::Success(std::move(bytes));
  } catch (const CFileException& error) {
    return Outcome::Failure(error.Message());
  }
}

Status AppendToFile(std::wstring_view path, std::span<const std::uint8_t> bytes,
                    std::uint64_t& offset) {
  CFile file;
  if (Status opened = Opened(file, path, CFile::modeReadWrite); !opened) return opened;
  try {
    offset = file.SeekTo(file.GetLength());
    file.Write(bytes.data(), bytes.size());
    file.Close();
  } catch (const CFileException& error) {
    return Status::Failure(error.Message());
  }
  return Status::Success();
}

Status OverwriteFileAt(std::wstring_view path, std::uint64_t offset,
                       std::span<const std::uint8_t> bytes) {
  CFile file;
  if (Status opened = Opened(file, path, CFile::modeReadWrite); !opened) return opened;
  try {
    const std::uint64_t size = file.GetLength();
    if (offset + bytes.size() > size) {
      return Status::Failure(Format(L"%ls has %llu bytes; %zu bytes at offset %llu lie beyond",
                                    std::wstring(path).c_str(),
                                    static_cast<unsigned long long>(size), bytes.size(),
                                    static_cast<unsigned long long>(offset)));
    }
    file.SeekTo(offset);
    file.Write(bytes.data(), bytes.size());
    file.Close();
  } catch (const CFileException& error) {
    return Status::Failure(error.Message());
  }
  return Status::Success();
}

}  // namespace fw

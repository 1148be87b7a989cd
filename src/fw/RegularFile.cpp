// Reading, writing and patching whole regular files over POSIX descriptors.
#include "fw/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace fw {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }
  // Closes now; false when the last writes may not have reached the file.
  bool Close() { return ::close(std::exchange(descriptor_, -1)) == 0; }

 private:
  int descriptor_;
};

std::wstring ErrnoText(int error) { return FromUtf8(std::generic_category().message(error)); }

std::wstring Failed(const char* what, std::wstring_view path, int error) {
  return Format(L"cannot %hs %ls: %ls", what, std::wstring(path).c_str(), ErrnoText(error).c_str());
}

// Opens an existing file without blocking on a FIFO and checks it is a regular file; the
// descriptor is then switched back to blocking reads and writes.
Result<int> OpenRegular(std::wstring_view path, int flags) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    return Result<int>::Failure(L"the path is empty or holds a NUL character");
  }
  const int descriptor = ::open(NativePath(path).c_str(), flags | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return Result<int>::Failure(Failed("open", path, errno));
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return Result<int>::Failure(Format(L"%ls is no regular file", std::wstring(path).c_str()));
  }
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return Result<int>::Success(descriptor);
}

bool WriteAll(int descriptor, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(descriptor, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(put));
  }
  return true;
}

std::wstring WithExtension(std::wstring_view path, std::wstring_view extension) {
  const CFileName name(path);
  return PathJoin(FolderOf(path), name.Title() + std::wstring(extension));
}

}  // namespace

Result<std::vector<std::uint8_t>> ReadRegularFile(std::wstring_view path, std::uint64_t maxBytes) {
  using Outcome = Result<std::vector<std::uint8_t>>;
  Result<int> opened = OpenRegular(path, O_RDONLY);
  if (!opened) return Outcome::Failure(opened.Message());
  Descriptor input(opened.Value());
  struct stat status {};
  ::fstat(input.Get(), &status);
  const auto size = static_cast<std::uint64_t>(status.st_size);
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
    const ssize_t got = ::read(input.Get(), bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Outcome::Failure(Failed("read", path, errno));
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return Outcome::Success(std::move(bytes));
}

Status WriteFileReplacing(std::wstring_view path, std::span<const std::uint8_t> bytes,
                          bool keepBackup) {
  static std::atomic<unsigned> counter{0};
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    return Status::Failure(L"the path is empty or holds a NUL character");
  }
  const std::wstring temporary =
      std::wstring(path) + Format(L".%d-%u.tmp", static_cast<int>(::getpid()), counter++);
  const std::string nativeTemporary = NativePath(temporary);
  Descriptor output(::open(nativeTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (output.Get() < 0) return Status::Failure(Failed("create", temporary, errno));
  const bool written = WriteAll(output.Get(), bytes);
  const int writeError = errno;
  if (!written || !output.Close()) {
    ::unlink(nativeTemporary.c_str());
    return Status::Failure(Failed("write", temporary, written ? errno : writeError));
  }
  const std::string nativePath = NativePath(path);
  if (keepBackup && ::access(nativePath.c_str(), F_OK) == 0) {
    const std::string backup = NativePath(WithExtension(path, L".bak"));
    if (::rename(nativePath.c_str(), backup.c_str()) != 0) {
      const int error = errno;
      ::unlink(nativeTemporary.c_str());
      return Status::Failure(Failed("keep a backup of", path, error));
    }
  }
  if (::rename(nativeTemporary.c_str(), nativePath.c_str()) != 0) {
    const int error = errno;
    ::unlink(nativeTemporary.c_str());
    return Status::Failure(Failed("replace", path, error));
  }
  return Status::Success();
}

Status AppendToFile(std::wstring_view path, std::span<const std::uint8_t> bytes,
                    std::uint64_t& offset) {
  Result<int> opened = OpenRegular(path, O_WRONLY);
  if (!opened) return Status::Failure(opened.Message());
  Descriptor output(opened.Value());
  const off_t end = ::lseek(output.Get(), 0, SEEK_END);
  if (end < 0) return Status::Failure(Failed("seek in", path, errno));
  offset = static_cast<std::uint64_t>(end);
  if (!WriteAll(output.Get(), bytes) || !output.Close()) {
    return Status::Failure(Failed("append to", path, errno));
  }
  return Status::Success();
}

Status OverwriteFileAt(std::wstring_view path, std::uint64_t offset,
                       std::span<const std::uint8_t> bytes) {
  Result<int> opened = OpenRegular(path, O_WRONLY);
  if (!opened) return Status::Failure(opened.Message());
  Descriptor output(opened.Value());
  struct stat status {};
  ::fstat(output.Get(), &status);
  if (offset + bytes.size() > static_cast<std::uint64_t>(status.st_size)) {
    return Status::Failure(Format(L"%ls has %lld bytes; %zu bytes at offset %llu lie beyond",
                                  std::wstring(path).c_str(),
                                  static_cast<long long>(status.st_size), bytes.size(),
                                  static_cast<unsigned long long>(offset)));
  }
  if (::lseek(output.Get(), static_cast<off_t>(offset), SEEK_SET) < 0 ||
      !WriteAll(output.Get(), bytes) || !output.Close()) {
    return Status::Failure(Failed("write", path, errno));
  }
  return Status::Success();
}

}  // namespace fw

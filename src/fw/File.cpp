// Binary files over POSIX descriptors, growable files in memory, and the texts of the
// framework's file and archive errors.
#include "fw/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"

namespace fw {
namespace {

// The largest transfer handed to one read or write call: Linux moves at most about 2 GiB per
// call, and a gigabyte stays well inside that and inside ssize_t.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

// What the messages say where a file has no name (an archive over memory, a file never opened).
constexpr wchar_t kUnnamedFile[] = L"an unnamed file";

std::wstring WithDetail(std::wstring message, const std::wstring& detail) {
  if (!detail.empty()) message += L"\n" + detail;
  return message;
}

std::wstring SystemErrorText(const char* operation, int error) {
  return FromUtf8(operation) + L": " + FromUtf8(std::generic_category().message(error)) +
         L" (errno " + std::to_wstring(error) + L")";
}

// An empty folder is the current one.
bool FolderExists(const std::wstring& folder) {
  struct stat status {};
  std::string native = folder.empty() ? std::string(".") : NativePath(folder);
  return stat(native.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

CFileException::Cause CauseFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return CFileException::accessDenied;
    case EMFILE:
    case ENFILE:
      return CFileException::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return CFileException::diskFull;
    case EIO:
      return CFileException::hardIO;
    case EBUSY:
    case ETXTBSY:
      return CFileException::sharingViolation;
    case EAGAIN:
      return CFileException::lockViolation;
    case EBADF:
      return CFileException::invalidFile;
    case ESPIPE:
    case EOVERFLOW:
      return CFileException::badSeek;
    default:
      return CFileException::genericException;
  }
}

// A missing file and a missing folder both report ENOENT here; the platform tells them apart,
// and so does the framework's cause, so the folder is looked at.
CFileException::Cause CauseOfOpenError(int error, std::wstring_view path) {
  if (error == ENOENT && !FolderExists(FolderOf(path))) return CFileException::badPath;
  return CauseFromErrno(error);
}

// Opened without blocking: a FIFO or a device named like one of our files would otherwise hold
// the calling thread (the loader, or the host's main thread) until someone writes to it.
int OpenFlagsFor(unsigned flags) {
  int native = O_CLOEXEC | O_NONBLOCK;
  if (flags & CFile::modeReadWrite) {
    native |= O_RDWR;
  } else if (flags & CFile::modeWrite) {
    native |= O_WRONLY;
  } else {
    native |= O_RDONLY;
  }
  if (flags & CFile::modeCreate) {
    native |= O_CREAT | ((flags & CFile::modeCreateNew) ? O_EXCL : O_TRUNC);
  }
  return native;
}

}  // namespace

CFileException::CFileException(Cause cause, std::wstring fileName, std::wstring detail)
    : cause_(cause), fileName_(std::move(fileName)), detail_(std::move(detail)) {}

std::wstring CFileException::Message() const {
  const std::wstring file = fileName_.empty() ? std::wstring(kUnnamedFile) : fileName_;
  std::wstring text;
  switch (cause_) {
    case none:
      text = L"No error occurred.";
      break;
    case genericException:
      text = L"An unexpected error occurred while accessing " + file + L".";
      break;
    case fileNotFound:
      text = file + L" was not found.";
      break;
    case badPath:
      text = file + L" contains an incorrect path.";
      break;
    case tooManyOpenFiles:
      text = file + L" could not be opened because there are too many open files.";
      break;
    case accessDenied:
      text = L"Access to " + file + L" was denied.";
      break;
    case invalidFile:
      text = L"An incorrect file handle was associated with " + file + L".";
      break;
    case removeCurrentDir:
      text = file + L" could not be removed because it is the current directory.";
      break;
    case directoryFull:
      text = file + L" could not be created because the directory is full.";
      break;
    case badSeek:
      text = L"Seek failed on " + file + L".";
      break;
    case hardIO:
      text = L"A hardware I/O error was reported while accessing " + file + L".";
      break;
    case sharingViolation:
      text = L"A sharing violation occurred while accessing " + file + L".";
      break;
    case lockViolation:
      text = L"A locking violation occurred while accessing " + file + L".";
      break;
    case diskFull:
      text = L"There was not enough space on the disk.";
      break;
    case endOfFile:
      text = L"An attempt was made to access " + file + L" past its end.";
      break;
  }
  if (text.empty()) {
    text = L"An unexpected error (cause " + std::to_wstring(static_cast<int>(cause_)) +
           L") occurred while accessing " + file + L".";
  }
  return WithDetail(std::move(text), detail_);
}

void CFileException::ReportError() const { AfxMessageBox(Message(), MB_OK | MB_ICONEXCLAMATION); }

CArchiveException::CArchiveException(Cause cause, std::wstring detail)
    : cause_(cause), detail_(std::move(detail)) {}

std::wstring CArchiveException::Message() const {
  std::wstring text;
  switch (cause_) {
    case none:
      text = L"No error occurred.";
      break;
    case genericException:
    case badIndex:
      text = L"An invalid format was encountered.";
      break;
    case readOnly:
      text = L"An attempt was made to write to an archive that is being read.";
      break;
    case endOfFile:
      text = L"An unexpected end of file was encountered while reading.";
      break;
    case writeOnly:
      text = L"An attempt was made to read from an archive that is being written.";
      break;
    case badClass:
      text = L"An unexpected object was encountered.";
      break;
    case badSchema:
      text = L"An invalid schema (version) was encountered.";
      break;
  }
  if (text.empty()) {
    text = L"An invalid format was encountered (cause " +
           std::to_wstring(static_cast<int>(cause_)) + L").";
  }
  return WithDetail(std::move(text), detail_);
}

void CArchiveException::ReportError() const {
  AfxMessageBox(Message(), MB_OK | MB_ICONEXCLAMATION);
}

CFile::~CFile() {
  // Errors on the way out cannot be reported from a destructor; Close() reports them.
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool CFile::Open(std::wstring_view path, unsigned flags, CFileException* error) {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  path_ = std::wstring(path);
  auto fail = [&](CFileException::Cause cause, std::wstring detail) {
    if (error != nullptr) *error = CFileException(cause, path_, std::move(detail));
    return false;
  };
  // The system would cut a path at a NUL and open another file.
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    return fail(CFileException::badPath, L"the path is empty or holds a NUL character");
  }
  int descriptor = ::open(NativePath(path).c_str(), OpenFlagsFor(flags), 0666);
  if (descriptor < 0) {
    int openError = errno;
    // A FIFO opened for writing without a reader: no file we could ever write.
    if (openError == ENXIO) {
      return fail(CFileException::accessDenied, L"the path names no regular file");
    }
    return fail(CauseOfOpenError(openError, path), SystemErrorText("open", openError));
  }
  // Only regular files are ours: a folder, a FIFO, a socket or a device is refused as the
  // platform refuses a folder, as access denied. Once that is known the descriptor blocks
  // again, as reads of a regular file do anyway.
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    const bool folder = S_ISDIR(status.st_mode);
    ::close(descriptor);
    return fail(CFileException::accessDenied,
                folder ? L"the path names a folder" : L"the path names no regular file");
  }
  const int statusFlags = ::fcntl(descriptor, F_GETFL);
  if (statusFlags >= 0) ::fcntl(descriptor, F_SETFL, statusFlags & ~O_NONBLOCK);
  descriptor_ = descriptor;
  return true;
}

void CFile::Close() {
  if (descriptor_ < 0) return;
  int descriptor = std::exchange(descriptor_, -1);
  // The descriptor is released whatever close reports; a failure can still mean lost data.
  if (::close(descriptor) != 0 && errno != EINTR) {
    int closeError = errno;
    throw CFileException(CauseFromErrno(closeError), path_, SystemErrorText("close", closeError));
  }
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
  if (descriptor_ < 0) throw CFileException(CFileException::invalidFile, path_, L"not open");
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t got = ::read(descriptor_, bytes + done, std::min(count - done, kMaxTransfer));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      int readError = errno;
      throw CFileException(CauseFromErrno(readError), path_, SystemErrorText("read", readError));
    }
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
  if (descriptor_ < 0) throw CFileException(CFileException::invalidFile, path_, L"not open");
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t put = ::write(descriptor_, bytes + done, std::min(count - done, kMaxTransfer));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      // A write that moves nothing without an error is a full device.
      int writeError = put < 0 ? errno : ENOSPC;
      throw CFileException(CauseFromErrno(writeError), path_,
                           SystemErrorText("write", writeError) + L" after " +
                               std::to_wstring(done) + L" of " + std::to_wstring(count) +
                               L" bytes");
    }
    done += static_cast<std::size_t>(put);
  }
}

std::uint64_t CFile::GetLength() const {
  struct stat status {};
  if (::fstat(descriptor_, &status) != 0) {
    int statError = errno;
    throw CFileException(CauseFromErrno(statError), path_, SystemErrorText("fstat", statError));
  }
  return static_cast<std::uint64_t>(status.st_size);
}

std::uint64_t CFile::GetPosition() const {
  off_t position = ::lseek(descriptor_, 0, SEEK_CUR);
  if (position < 0) {
    int seekError = errno;
    throw CFileException(CauseFromErrno(seekError), path_, SystemErrorText("lseek", seekError));
  }
  return static_cast<std::uint64_t>(position);
}

std::uint64_t CFile::SeekTo(std::uint64_t position) {
  if (position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
    throw CFileException(CFileException::badSeek, path_,
                         L"position " + std::to_wstring(position) + L" is beyond any file");
  }
  off_t moved = ::lseek(descriptor_, static_cast<off_t>(position), SEEK_SET);
  if (moved < 0) {
    int seekError = errno;
    throw CFileException(CauseFromErrno(seekError), path_, SystemErrorText("lseek", seekError));
  }
  return static_cast<std::uint64_t>(moved);
}

void CFile::Flush() {
  if (descriptor_ < 0) return;
  // Pipes and some special files cannot be synchronised; there is nothing to flush in them.
  if (::fsync(descriptor_) != 0 && errno != EINVAL && errno != EROFS) {
    int syncError = errno;
    throw CFileException(CauseFromErrno(syncError), path_, SystemErrorText("fsync", syncError));
  }
}

CMemFile::CMemFile(std::size_t growBytes) : growBytes_(growBytes == 0 ? 1024 : growBytes) {}

CMemFile::CMemFile(std::span<const std::uint8_t> bytes)
    : growBytes_(1024), bytes_(bytes.begin(), bytes.end()) {}

CMemFile::CMemFile(std::vector<std::uint8_t>&& bytes)
    : growBytes_(1024), bytes_(std::move(bytes)) {}

std::size_t CMemFile::Read(void* buffer, std::size_t count) {
  std::size_t available = bytes_.size() - position_;
  std::size_t taken = std::min(count, available);
  if (taken > 0) std::memcpy(buffer, bytes_.data() + position_, taken);
  position_ += taken;
  return taken;
}

void CMemFile::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (count > std::numeric_limits<std::size_t>::max() - position_) {
    throw CFileException(CFileException::diskFull, {},
                         L"a memory file cannot grow past the address space");
  }
  std::size_t end = position_ + count;
  if (end > bytes_.capacity()) {
    // Whole steps of growBytes, and at least double, so a large file is not copied once per step.
    std::size_t steps = end / growBytes_ + (end % growBytes_ != 0 ? 1 : 0);
    std::size_t wanted = std::max(end, bytes_.capacity() * 2);
    if (steps <= std::numeric_limits<std::size_t>::max() / growBytes_) {
      wanted = std::max(wanted, steps * growBytes_);
    }
    try {
      bytes_.reserve(wanted);
    } catch (const std::bad_alloc&) {
      throw CFileException(
          CFileException::diskFull, {},
          L"out of memory growing a memory file to " + std::to_wstring(wanted) + L" bytes");
    } catch (const std::length_error&) {
      throw CFileException(CFileException::diskFull, {},
                           L"a memory file cannot grow to " + std::to_wstring(wanted) + L" bytes");
    }
  }
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ = end;
}

// A memory file cannot move past its end: reads there give nothing, and writes would leave a
// gap, so the position stops at the end.
std::uint64_t CMemFile::SeekTo(std::uint64_t position) {
  position_ = static_cast<std::size_t>(std::min<std::uint64_t>(position, bytes_.size()));
  return position_;
}

std::vector<std::uint8_t> CMemFile::Detach() {
  position_ = 0;
  return std::exchange(bytes_, {});
}

// ---------------------------------------------------------------------------------------------
// Replacing a file whole

CReplacingFile::~CReplacingFile() { Abandon(); }

bool CReplacingFile::Open(std::wstring_view path, CFileException* error) {
  Abandon();
  path_ = std::wstring(path);
  if (PathExists(path) && !IsRegularFile(path)) {
    if (error != nullptr) {
      *error = CFileException(CFileException::accessDenied, path_,
                              L"the path names no regular file");
    }
    return false;
  }
  // A temporary left by a crashed process of the same id is not ours to remove: the next name.
  constexpr int kNames = 16;
  const std::wstring prefix = path_ + L".tmp" + std::to_wstring(getpid()) + L"-";
  CFileException openError(CFileException::none, path_);
  for (int attempt = 0; attempt < kNames; ++attempt) {
    temporary_ = prefix + std::to_wstring(attempt);
    if (file_.Open(temporary_, CFile::modeCreate | CFile::modeCreateNew | CFile::modeWrite,
                   &openError)) {
      return true;
    }
    if (!PathExists(temporary_)) break;
  }
  temporary_.clear();
  if (error != nullptr) *error = openError;
  return false;
}

Status CReplacingFile::Commit() {
  if (temporary_.empty()) return Status::Failure(L"nothing to write to " + path_);
  try {
    file_.Close();
  } catch (const CFileException& failure) {
    Abandon();
    return Status::Failure(L"cannot write " + path_ + L": " + failure.Message());
  }
  if (!MoveFile(temporary_, path_, /*replaceExisting=*/true)) {
    const std::wstring temporary = temporary_;
    Abandon();
    return Status::Failure(L"cannot replace " + path_ + L" by " + temporary);
  }
  temporary_.clear();
  return Status::Success();
}

void CReplacingFile::Abandon() {
  if (temporary_.empty()) return;
  try {
    file_.Close();
  } catch (const CFileException&) {
    // The temporary goes anyway.
  }
  DeleteFile(temporary_);
  temporary_.clear();
}

Status WriteFileReplacing(std::wstring_view path, std::span<const std::uint8_t> bytes) {
  CReplacingFile file;
  CFileException error(CFileException::none, std::wstring(path));
  if (!file.Open(path, &error)) {
    return Status::Failure(L"cannot write " + std::wstring(path) + L": " + error.Message());
  }
  try {
    file.File().Write(bytes.data(), bytes.size());
  } catch (const CFileException& failure) {
    return Status::Failure(L"cannot write " + std::wstring(path) + L": " + failure.Message());
  }
  return file.Commit();
}

}  // namespace fw

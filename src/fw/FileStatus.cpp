// File status, the file finder, and moving, copying and deleting files on POSIX file systems.
#include "fw/FileStatus.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"

namespace fw {
namespace {

// The byte path the system calls take. A path with a NUL in it names no file (the system would
// cut it there and act on another one), so it is refused.
std::optional<std::string> NativeBytes(std::wstring_view path) {
  if (path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  return NativePath(path);
}

// The path made absolute against the current folder and cleaned lexically ("." and empty parts
// dropped, ".." taking back the part before it), as the platform's full path names are. Symbolic
// links are left as they are.
std::wstring MakeAbsolute(std::wstring_view path) {
  std::wstring joined = !path.empty() && path.front() == kPathSeparator
                            ? std::wstring(path)
                            : PathJoin(GetCurrentFolder(), path);
  std::vector<std::wstring_view> parts;
  std::wstring_view rest = joined;
  while (!rest.empty()) {
    std::size_t separator = rest.find(kPathSeparator);
    std::wstring_view part = rest.substr(0, separator);
    rest = separator == std::wstring_view::npos ? std::wstring_view() : rest.substr(separator + 1);
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::wstring absolute;
  for (std::wstring_view part : parts) {
    absolute += kPathSeparator;
    absolute += part;
  }
  return absolute.empty() ? std::wstring(1, kPathSeparator) : absolute;
}

bool IsDotsName(std::wstring_view name) { return name == L"." || name == L".."; }

// What the finder and GetFileStatus report of one file.
struct Entry {
  std::wstring name;
  std::int64_t ctime = 0;
  std::int64_t mtime = 0;
  std::int64_t atime = 0;
  std::uint64_t size = 0;
  std::uint32_t attribute = 0;
};

// Reads the status of `nativePath` (following symbolic links; a dangling link reports the link
// itself) into `entry`, whose name decides the hidden attribute. The creation time is the birth
// time where the file system keeps one, else the last status change.
// `folder` is an open folder that a relative `nativePath` is taken from (AT_FDCWD: the current
// one): a finder reads each entry by its name in the folder it lists, without walking the
// folder's path again for every entry.
bool ReadStatus(int folder, const std::string& nativePath, Entry& entry) {
  mode_t mode = 0;
  struct statx extended {};
  unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
  if (statx(folder, nativePath.c_str(), AT_STATX_SYNC_AS_STAT, mask, &extended) == 0 ||
      statx(folder, nativePath.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, mask,
            &extended) == 0) {
    mode = extended.stx_mode;
    entry.size = extended.stx_size;
    entry.mtime = extended.stx_mtime.tv_sec;
    entry.atime = extended.stx_atime.tv_sec;
    entry.ctime = (extended.stx_mask & STATX_BTIME) != 0 ? extended.stx_btime.tv_sec
                                                         : extended.stx_ctime.tv_sec;
  } else {
    // Kernels and sandboxes without statx still have stat.
    struct stat basic {};
    if (fstatat(folder, nativePath.c_str(), &basic, 0) != 0 &&
        fstatat(folder, nativePath.c_str(), &basic, AT_SYMLINK_NOFOLLOW) != 0) {
      return false;
    }
    mode = basic.st_mode;
    entry.size = static_cast<std::uint64_t>(basic.st_size);
    entry.mtime = basic.st_mtim.tv_sec;
    entry.atime = basic.st_atim.tv_sec;
    entry.ctime = basic.st_ctim.tv_sec;
  }

  entry.attribute = 0;
  if (S_ISDIR(mode)) {
    entry.attribute |= kAttributeDirectory;
    entry.size = 0;
  }
  // No write bit at all is read-only even for a user (root) whom access() would let write.
  if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
      faccessat(folder, nativePath.c_str(), W_OK, AT_EACCESS) != 0) {
    entry.attribute |= kAttributeReadOnly;
  }
  if (!entry.name.empty() && entry.name.front() == L'.' && !IsDotsName(entry.name)) {
    entry.attribute |= kAttributeHidden;
  }
  if (entry.attribute == 0) entry.attribute = kAttributeNormal;
  return true;
}

// Matches `name` against a pattern of * (any run, also empty) and ? (one character), both
// already folded to one case. A star remembers where it stood so a failed match backs up to it:
// linear in practice, never exponential.
bool WildcardMatch(std::wstring_view name, std::wstring_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starPattern = std::wstring_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::wstring_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// Copies a regular file's bytes, permissions and modification time. The target is removed again
// when anything fails after it was opened, so no half-written file is left behind.
bool CopyRegularFile(const std::string& from, const std::string& to, bool failIfExists) {
  // Without blocking: a FIFO at `from` is refused below rather than waited on.
  int input = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (input < 0) return false;
  struct stat source {};
  if (fstat(input, &source) != 0 || !S_ISREG(source.st_mode)) {
    close(input);
    return false;
  }
  // Truncating the source itself would destroy it.
  struct stat existing {};
  if (stat(to.c_str(), &existing) == 0 && existing.st_dev == source.st_dev &&
      existing.st_ino == source.st_ino) {
    close(input);
    return false;
  }
  // A FIFO at `to` would block an open for writing, and take the bytes away; it is refused.
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (failIfExists ? O_EXCL : O_TRUNC);
  int output = open(to.c_str(), flags, source.st_mode & 07777);
  struct stat target {};
  if (output >= 0 && (fstat(output, &target) != 0 || !S_ISREG(target.st_mode))) {
    close(output);
    output = -1;
  }
  if (output < 0) {
    close(input);
    return false;
  }

  bool copied = true;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ssize_t got = read(input, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      copied = got == 0;
      break;
    }
    for (ssize_t done = 0; done < got && copied;) {
      ssize_t put = write(output, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) copied = false;
      else done += put;
    }
    if (!copied) break;
  }
  if (copied) {
    fchmod(output, source.st_mode & 07777);  // an existing target takes the source's mode too
    struct timespec times[2] = {source.st_atim, source.st_mtim};
    futimens(output, times);
  }
  close(input);
  if (close(output) != 0) copied = false;
  if (!copied) unlink(to.c_str());
  return copied;
}

// Renames without replacing, where the file system cannot do so in one step: a hard link fails
// when the target exists, and unlinking the source completes the move. Directories and file
// systems without hard links fall back to checking first, which another process could race.
bool RenameWithoutReplacingFallback(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) == 0) {
    if (unlink(from.c_str()) == 0) return true;
    int error = errno;
    unlink(to.c_str());
    errno = error;
    return false;
  }
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK) return false;
  struct stat target {};
  if (lstat(to.c_str(), &target) == 0) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool GetFileStatus(std::wstring_view path, CFileStatus& status) {
  auto native = NativeBytes(path);
  if (!native || native->empty()) return false;
  std::wstring fullName = MakeAbsolute(path);
  Entry entry;
  entry.name = CFileName(fullName).FileName();
  if (!ReadStatus(AT_FDCWD, *native, entry)) return false;
  status.ctime = entry.ctime;
  status.mtime = entry.mtime;
  status.atime = entry.atime;
  status.size = entry.size;
  status.attribute = entry.attribute;
  status.fullName = std::move(fullName);
  return true;
}

bool PathExists(std::wstring_view path) {
  auto native = NativeBytes(path);
  struct stat info {};
  return native && stat(native->c_str(), &info) == 0;
}

bool IsDirectory(std::wstring_view path) {
  auto native = NativeBytes(path);
  struct stat info {};
  return native && stat(native->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(std::wstring_view path) {
  auto native = NativeBytes(path);
  struct stat info {};
  return native && stat(native->c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MoveFile(std::wstring_view from, std::wstring_view to, bool replaceExisting) {
  auto source = NativeBytes(from);
  auto target = NativeBytes(to);
  if (!source || !target || source->empty() || target->empty()) return false;
  if (replaceExisting) {
    if (std::rename(source->c_str(), target->c_str()) == 0) return true;
  } else {
    if (renameat2(AT_FDCWD, source->c_str(), AT_FDCWD, target->c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    // EINVAL: the file system has no no-replace rename; ENOSYS: the kernel has none.
    if ((errno == EINVAL || errno == ENOSYS) &&
        RenameWithoutReplacingFallback(*source, *target)) {
      return true;
    }
  }
  if (errno != EXDEV) return false;
  // Another file system: copy, then delete the source. A source that cannot be deleted leaves
  // the move undone rather than the file in two places.
  if (!CopyRegularFile(*source, *target, !replaceExisting)) return false;
  if (unlink(source->c_str()) == 0) return true;
  unlink(target->c_str());
  return false;
}

bool DeleteFile(std::wstring_view path) {
  auto native = NativeBytes(path);
  return native && !native->empty() && unlink(native->c_str()) == 0;
}

bool CopyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) {
  auto source = NativeBytes(from);
  auto target = NativeBytes(to);
  return source && target && !source->empty() && !target->empty() &&
         CopyRegularFile(*source, *target, failIfExists);
}

bool CreateDirectory(std::wstring_view path) {
  auto native = NativeBytes(path);
  return native && !native->empty() && mkdir(native->c_str(), 0777) == 0;
}

// ---------------------------------------------------------------------------------------------
// CFileFind

struct CFileFind::Context {
  std::wstring folder;  // absolute
  std::vector<Entry> entries;
  // The entry the accessors describe; none until the first FindNextFile.
  std::optional<std::size_t> current;

  const Entry* Current() const { return current ? &entries[*current] : nullptr; }
};

CFileFind::CFileFind() = default;
CFileFind::~CFileFind() = default;

bool CFileFind::FindFile(std::wstring_view pattern) {
  Close();
  std::size_t separator = pattern.find_last_of(kPathSeparator);
  std::wstring_view folder;
  std::wstring_view namePattern = pattern;
  if (separator != std::wstring_view::npos) {
    folder = pattern.substr(0, separator + 1);
    namePattern = pattern.substr(separator + 1);
  }
  if (namePattern.empty()) return false;
  auto nativeFolder = NativeBytes(folder.empty() ? std::wstring_view(L".") : folder);
  if (!nativeFolder) return false;

  auto context = std::make_unique<Context>();
  context->folder = MakeAbsolute(folder);
  std::wstring foldedPattern = ToUpper(namePattern);
  // The platform's "*.*" is every name, with or without a dot.
  if (foldedPattern == L"*.*") foldedPattern = L"*";

  // Each entry is kept with its folded name, the key it is sorted by (the exact name breaks
  // ties, so the order does not depend on the order the folder lists them in).
  std::vector<std::pair<std::wstring, Entry>> found;
  DIR* directory = opendir(nativeFolder->c_str());
  if (directory == nullptr) return false;
  while (const dirent* item = readdir(directory)) {
    std::string nativeName = item->d_name;
    // Lossless: a name that is not UTF-8 converts back to its own bytes when it is opened.
    std::wstring name = FromNativePath(nativeName);
    std::wstring folded = ToUpper(name);
    if (!WildcardMatch(folded, foldedPattern)) continue;
    Entry entry;
    entry.name = std::move(name);
    if (!ReadStatus(dirfd(directory), nativeName, entry)) continue;  // removed meanwhile
    found.emplace_back(std::move(folded), std::move(entry));
  }
  closedir(directory);
  if (found.empty()) return false;

  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
  });
  context->entries.reserve(found.size());
  for (auto& item : found) context->entries.push_back(std::move(item.second));
  context_ = std::move(context);
  return true;
}

bool CFileFind::FindNextFile() {
  if (!context_) return false;
  std::size_t next = context_->current ? *context_->current + 1 : 0;
  if (next >= context_->entries.size()) return false;
  context_->current = next;
  return next + 1 < context_->entries.size();
}

void CFileFind::Close() { context_.reset(); }

std::wstring CFileFind::GetFilePath() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? PathJoin(context_->folder, entry->name) : std::wstring();
}

std::wstring CFileFind::GetFileName() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? entry->name : std::wstring();
}

std::wstring CFileFind::GetFileTitle() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? CFileName(entry->name).Title() : std::wstring();
}

std::uint64_t CFileFind::GetLength() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? entry->size : 0;
}

std::int64_t CFileFind::GetLastWriteTime() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? entry->mtime : 0;
}

std::int64_t CFileFind::GetCreationTime() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry ? entry->ctime : 0;
}

bool CFileFind::IsDirectory() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry && (entry->attribute & kAttributeDirectory) != 0;
}

bool CFileFind::IsReadOnly() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry && (entry->attribute & kAttributeReadOnly) != 0;
}

bool CFileFind::IsDots() const {
  const Entry* entry = context_ ? context_->Current() : nullptr;
  return entry && IsDotsName(entry->name);
}

}  // namespace fw

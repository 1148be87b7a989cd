// The initialisation-file store: the process-wide table of loaded files, the parser and writer of
// the text, and the disk side (reading a file whole, writing it through a renamed temporary).
#include "settings/IniFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace settings {
namespace {

// ---------------------------------------------------------------------------------------------
// Parsing and writing the text

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// White space as the C locale has it, whatever locale the host has set.
bool IsWhiteSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

std::wstring_view Trim(std::wstring_view line) {
  while (!line.empty() && IsWhiteSpace(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsWhiteSpace(line.back())) line.remove_suffix(1);
  return line;
}

// What the parser carries from line to line.
class ParseContext {
 public:
  // False once the text holds more lines than a settings file can (the caller then refuses it).
  bool TakeLine(std::wstring_view rawLine) {
    if (++lines_ > kMaxIniLines) return false;
    std::wstring_view line = Trim(rawLine);
    if (!line.empty() && line.front() == L';') return true;
    if (!line.empty() && line.front() == L'[') {
      TakeHeader(line);
    } else {
      TakeKeyLine(line);
    }
    return true;
  }

  CStringToObMap Finish() { return std::move(sections_); }

 private:
  // A header repeated later replaces the keys of the earlier one and keeps its position. The
  // writer puts exactly one bracket on each side, so exactly one is taken off: a folder
  // "pumps [old]" or a scheme "[v2] Doors" keeps its own brackets.
  void TakeHeader(std::wstring_view line) {
    line.remove_prefix(1);
    if (!line.empty() && line.back() == L']') line.remove_suffix(1);
    current_ = &sections_.SetEmpty(fw::ToLower(line));
  }

  // Lenient where the format is loose: no trimming around "=", and a line without "=" (even an
  // empty one) is a key with an empty value. Key lines before the first header have no section
  // and are dropped.
  void TakeKeyLine(std::wstring_view line) {
    if (current_ == nullptr) return;
    std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
      current_->SetAt(line, {});
    } else {
      current_->SetAt(fw::ToLower(line.substr(0, equals)), line.substr(equals + 1));
    }
  }

  CStringToObMap sections_;
  CStringToStringMap* current_ = nullptr;  // owned by sections_; null before the first header
  std::size_t lines_ = 0;
};

// Parses line by line, each line decoded on its own (a line feed is never part of a UTF-8
// sequence, so this reads as decoding the whole text would), so no wide copy of the whole file
// is made. Nothing when the text has more than kMaxIniLines lines.
std::optional<CStringToObMap> ParseBoundedIniText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  ParseContext context;
  // A line ends at "\n"; text after the last one is a line when it is not empty.
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (!context.TakeLine(fw::FromNativePath(bytes.substr(0, end)))) return std::nullopt;
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return context.Finish();
}

// Appends a name or value; a line feed in it would end the line early and let the rest be read
// as a key or header of its own.
void AppendLinePart(std::wstring& text, std::wstring_view part) {
  for (wchar_t c : part) text += c == L'\n' ? L' ' : c;
}

// ---------------------------------------------------------------------------------------------
// The table of loaded files

struct IniTable {
  std::mutex mutex;
  // Keyed by the full path folded to lower case.
  std::map<std::wstring, CStringToObMap, std::less<>> files;
  // Files whose last load found a file there but refused or failed to read it, by folded path.
  // What they hold was never read, so no flush may replace them (IniForget keeps this mark).
  std::set<std::wstring, std::less<>> refused;
};

IniTable& Table() {
  static IniTable table;
  return table;
}

// A copy of the stored value, or none when the file, section or key is missing.
std::optional<std::wstring> FindValue(std::wstring_view section, std::wstring_view key,
                                      std::wstring_view file) {
  std::wstring foldedFile = fw::ToLower(file);
  std::wstring foldedSection = fw::ToLower(section);
  std::wstring foldedKey = fw::ToLower(key);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto entry = table.files.find(foldedFile);
  if (entry == table.files.end()) return std::nullopt;
  const CStringToStringMap* keys = entry->second.Lookup(foldedSection);
  const std::wstring* value = keys != nullptr ? keys->Lookup(foldedKey) : nullptr;
  if (value == nullptr) return std::nullopt;
  return *value;
}

// ---------------------------------------------------------------------------------------------
// The disk

// The byte path the system calls take. A path with a NUL in it names no file (the system would
// cut it there and act on another one), so it is refused.
std::optional<std::string> NativeBytes(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  return fw::NativePath(path);
}

// Closes a descriptor when it goes; closing also releases an advisory lock taken through it.
class Descriptor {
 public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      if (descriptor_ >= 0) close(descriptor_);
      descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
  }

  int Get() const { return descriptor_; }
  bool IsOpen() const { return descriptor_ >= 0; }
  // Closes now and reports whether the last writes reached the file system.
  bool Close() {
    int descriptor = std::exchange(descriptor_, -1);
    return descriptor < 0 || close(descriptor) == 0;
  }

 private:
  int descriptor_;
};

// What reading the file gave: its bytes, or none; `refused` when something stands at the path
// that was not read (no regular file, too large, unreadable), as opposed to no file at all.
struct IniBytes {
  std::optional<std::string> bytes;
  bool refused = false;
};

// The whole file, or none when it cannot be opened or read, is no regular file, or is larger
// than kMaxIniFileBytes (checked again while reading, since the file may grow meanwhile). It is
// opened without blocking, so a FIFO at its path is refused rather than waited on.
IniBytes ReadIniBytes(std::wstring_view file) {
  auto native = NativeBytes(file);
  if (!native) return {};
  Descriptor input(open(native->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!input.IsOpen()) return {std::nullopt, errno != ENOENT};
  struct stat status {};
  if (fstat(input.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<std::uint64_t>(status.st_size) > kMaxIniFileBytes) {
    return {std::nullopt, true};
  }
  // One byte more than the size, to notice a file that grew since.
  std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (used > kMaxIniFileBytes) return {std::nullopt, true};
      bytes.resize(std::min<std::size_t>(used * 2, kMaxIniFileBytes + 1));
    }
    ssize_t got = read(input.Get(), bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {std::nullopt, true};
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return {std::move(bytes), false};
}

bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = write(descriptor, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// Whether an error means the folder or file refuses us for good, rather than a passing state.
bool IsRefusal(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// How taking the writers' lock ended. Only another writer holding it stops a flush: a lock that
// cannot be had at all (a file system without locks, a lock file that cannot be made) would
// otherwise fail every save, so the file is then written without it.
enum class LockOutcome { kLocked, kHeldByAnother, kUnavailable };

// Takes an exclusive advisory lock on `descriptor`, trying `attempts.count` times in all with
// `attempts.interval` between tries while another writer holds it.
LockOutcome LockExclusively(int descriptor, const IniFlushAttempts& attempts) {
  for (int attempt = 1;; ++attempt) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return LockOutcome::kLocked;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return LockOutcome::kUnavailable;
    if (attempt >= attempts.count) return LockOutcome::kHeldByAnother;
    std::this_thread::sleep_for(attempts.interval);
  }
}

// Opens an existing file for writing without blocking (a FIFO at the name is refused rather than
// waited on) and keeps it only when it is a regular file.
Descriptor OpenRegularForWriting(const std::string& path) {
  Descriptor output(open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status {};
  if (output.IsOpen() && (fstat(output.Get(), &status) != 0 || !S_ISREG(status.st_mode))) {
    return Descriptor();
  }
  return output;
}

// The lock all writers of `file` share, held while `descriptor` is open.
struct WriterLock {
  Descriptor descriptor;
  LockOutcome outcome = LockOutcome::kUnavailable;
  // The lock file could not be created because the folder takes no new files.
  bool refused = false;
};

WriterLock TakeWriterLock(const std::string& file, const IniFlushAttempts& attempts) {
  WriterLock lock;
  std::string lockPath = file + ".lock";
  Descriptor descriptor(open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
  if (!descriptor.IsOpen()) {
    lock.refused = IsRefusal(errno);
    return lock;
  }
  lock.outcome = LockExclusively(descriptor.Get(), attempts);
  if (lock.outcome == LockOutcome::kLocked) lock.descriptor = std::move(descriptor);
  return lock;
}

// Writes `bytes` to a new file at `path`, flushed to the disk, with `permissions` when given.
// On failure nothing is left at `path`, and `refused` tells that the folder takes no new files.
bool WriteNewFile(const std::string& path, std::string_view bytes,
                  std::optional<mode_t> permissions, bool& refused) {
  Descriptor output(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  refused = !output.IsOpen() && IsRefusal(errno);
  if (!output.IsOpen()) return false;
  bool written = (!permissions || fchmod(output.Get(), *permissions) == 0) &&
                 WriteAll(output.Get(), bytes) && fsync(output.Get()) == 0 && output.Close();
  if (!written) unlink(path.c_str());
  return written;
}

// Rewrites an existing file in place, for a folder that takes no new files: a crash or a full
// disk meanwhile can cut the file. `lock` is the writers' lock when it could be taken; without
// it the file's own lock is taken, which is sound here because nothing can be renamed in such a
// folder, so the file keeps its identity.
bool RewriteInPlace(const std::string& path, std::string_view bytes, const Descriptor& lock,
                    const IniFlushAttempts& attempts) {
  Descriptor output = OpenRegularForWriting(path);
  if (!output.IsOpen()) return false;
  if (!lock.IsOpen() && LockExclusively(output.Get(), attempts) == LockOutcome::kHeldByAnother) {
    return false;
  }
  return ftruncate(output.Get(), 0) == 0 && WriteAll(output.Get(), bytes) &&
         fsync(output.Get()) == 0 && output.Close();
}

// Makes a rename in `folder` durable. Best effort: the rename has happened either way.
void SyncFolder(const std::wstring& folder) {
  auto native = NativeBytes(folder.empty() ? std::wstring(L".") : folder);
  if (!native) return;
  Descriptor directory(open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.IsOpen()) fsync(directory.Get());
}

std::wstring BackupName(const fw::CFileName& name, int number) {
  return fw::Format(L"%s%s.bk%d", (name.Drive() + name.Folder()).c_str(), name.Title().c_str(),
                    number);
}

// Backup 9 is dropped, backups 1 to 8 move up one, and the file is copied to backup 1: copied
// rather than moved, so that a settings file is at its path at every moment. A missing backup or
// a step that fails is skipped.
void RotateBackups(std::wstring_view file) {
  fw::CFileName name(file);
  fw::DeleteFile(BackupName(name, 9));
  for (int number = 9; number >= 2; --number) {
    fw::MoveFile(BackupName(name, number - 1), BackupName(name, number), true);
  }
  fw::CopyFile(file, BackupName(name, 1), /*failIfExists=*/false);
}

// The permissions of the file at `path`, for the file that replaces it; none when there is none.
std::optional<mode_t> PermissionsOf(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return status.st_mode & 07777;
}

// A read-only file is kept as it is: the rename would replace it, since only the folder's
// permissions govern a rename.
bool IsReadOnlyOrFolder(std::wstring_view file) {
  fw::CFileStatus status;
  return fw::GetFileStatus(file, status) &&
         (status.attribute & (fw::kAttributeReadOnly | fw::kAttributeDirectory)) != 0;
}

// The file a settings file kept as a symbolic link (into a shared or synchronised folder) names,
// so that the temporary, the backups and the rename happen beside it and the link stays; the
// path itself for anything else, a link that leads nowhere included.
std::wstring ThroughLinks(std::wstring_view file) {
  auto native = NativeBytes(file);
  struct stat status {};
  if (!native || lstat(native->c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
    return std::wstring(file);
  }
  char* resolved = realpath(native->c_str(), nullptr);
  if (resolved == nullptr) return std::wstring(file);
  std::wstring target = fw::FromNativePath(resolved);
  std::free(resolved);
  return target;
}

// Puts `bytes` at `file` as IniFlush describes: lock, write the temporary, rotate, rename.
bool WriteIniBytes(std::wstring_view named, std::string_view bytes, bool backup,
                   const IniFlushAttempts& attempts) {
  const std::wstring target = ThroughLinks(named);
  const std::wstring_view file = target;
  auto native = NativeBytes(file);
  if (!native || IsReadOnlyOrFolder(file)) return false;
  WriterLock lock = TakeWriterLock(*native, attempts);
  if (lock.refused) return RewriteInPlace(*native, bytes, lock.descriptor, attempts);
  if (lock.outcome == LockOutcome::kHeldByAnother) return false;

  std::wstring temporary = std::wstring(file) + L".tmp" + std::to_wstring(getpid());
  bool refused = false;
  auto nativeTemporary = NativeBytes(temporary);
  // A temporary left by a crash of this same process id is ours to replace.
  if (nativeTemporary) unlink(nativeTemporary->c_str());
  if (!nativeTemporary ||
      !WriteNewFile(*nativeTemporary, bytes, PermissionsOf(*native), refused)) {
    return refused && RewriteInPlace(*native, bytes, lock.descriptor, attempts);
  }
  if (backup) RotateBackups(file);
  if (!fw::MoveFile(temporary, file, true)) {
    fw::DeleteFile(temporary);
    return false;
  }
  SyncFolder(fw::FolderOf(file));
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Text

std::optional<CStringToObMap> ParseIniText(std::string_view bytes) {
  return ParseBoundedIniText(bytes);
}

std::string FormatIniText(const CStringToObMap& sections) {
  std::wstring text;
  for (const auto& [name, keys] : sections) {
    text += L'[';
    AppendLinePart(text, name);
    text += L"]\n";
    for (const auto& [key, value] : *keys) {
      AppendLinePart(text, key);
      // A bare key would lose blanks at its end to the trimming of the line.
      if (!value.empty() || (!key.empty() && IsWhiteSpace(key.back()))) {
        text += L'=';
        AppendLinePart(text, value);
      }
      text += L'\n';
    }
  }
  return fw::NativePath(text);
}

// ---------------------------------------------------------------------------------------------
// The store

bool IniLoad(std::wstring_view file) {
  IniBytes read = ReadIniBytes(file);
  std::optional<CStringToObMap> sections;
  if (read.bytes) sections = ParseBoundedIniText(*read.bytes);
  const bool refused = read.refused || (read.bytes && !sections);
  std::wstring folded = fw::ToLower(file);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (refused) {
    table.refused.insert(folded);
  } else {
    table.refused.erase(folded);
  }
  table.files.insert_or_assign(std::move(folded),
                               sections ? std::move(*sections) : CStringToObMap());
  return sections.has_value();
}

bool IniWasRefused(std::wstring_view file) {
  std::wstring folded = fw::ToLower(file);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.refused.contains(folded);
}

bool IniFlush(std::wstring_view file, bool backup) {
  return IniFlush(file, backup, IniFlushAttempts());
}

bool IniFlush(std::wstring_view file, bool backup, const IniFlushAttempts& attempts) {
  std::string bytes;
  {
    std::wstring folded = fw::ToLower(file);
    IniTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto entry = table.files.find(folded);
    if (entry == table.files.end()) return false;
    // What stands there was never read; once it is gone there is nothing left to lose.
    if (table.refused.contains(folded) && fw::PathExists(file)) return false;
    bytes = FormatIniText(entry->second);
  }
  return WriteIniBytes(file, bytes, backup, attempts);
}

bool IniForget(std::wstring_view file) {
  std::wstring folded = fw::ToLower(file);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.files.erase(folded) != 0;
}

std::size_t IniGetString(std::wstring_view section, std::wstring_view key,
                         const wchar_t* defaultValue, std::wstring& out, std::wstring_view file) {
  std::optional<std::wstring> value = FindValue(section, key, file);
  if (value) {
    out = std::move(*value);
  } else {
    out = defaultValue != nullptr ? defaultValue : L"";
  }
  return out.size();
}

std::vector<std::wstring> IniGetKeys(std::wstring_view section, std::wstring_view file) {
  std::wstring foldedFile = fw::ToLower(file);
  std::wstring foldedSection = fw::ToLower(section);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::vector<std::wstring> keys;
  auto entry = table.files.find(foldedFile);
  if (entry == table.files.end()) return keys;
  const CStringToStringMap* found = entry->second.Lookup(foldedSection);
  if (found == nullptr) return keys;
  keys.reserve(found->GetCount());
  for (const auto& [key, value] : *found) keys.push_back(key);
  return keys;
}

std::size_t IniGetStringBuf(std::wstring_view section, std::wstring_view key,
                            const wchar_t* defaultValue, wchar_t* buffer, std::size_t bufferSize,
                            std::wstring_view file) {
  if (buffer == nullptr || bufferSize == 0) return 0;
  std::wstring value;
  std::size_t length = IniGetString(section, key, defaultValue, value, file);
  std::size_t copied = std::min(length + 1, bufferSize);
  std::wmemcpy(buffer, value.c_str(), copied);
  if (copied <= length) buffer[copied - 1] = L'\0';
  return copied;
}

int IniGetInt(std::wstring_view section, std::wstring_view key, int defaultValue,
              std::wstring_view file) {
  std::optional<std::wstring> value = FindValue(section, key, file);
  if (!value) return defaultValue;
  long number = std::wcstol(value->c_str(), nullptr, 10);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

bool IniWriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                    std::wstring_view file) {
  std::wstring foldedFile = fw::ToLower(file);
  std::wstring foldedSection = fw::ToLower(section);
  std::wstring foldedKey = fw::ToLower(key);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.files[foldedFile].GetOrAdd(foldedSection).SetAt(foldedKey, value);
  return true;
}

bool IniWriteInt(std::wstring_view section, std::wstring_view key, long value,
                 std::wstring_view file) {
  return IniWriteString(section, key, fw::Format(L"%ld", value), file);
}

}  // namespace settings

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
#include <cwchar>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
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
  void TakeLine(std::wstring_view rawLine) {
    std::wstring_view line = Trim(rawLine);
    if (!line.empty() && line.front() == L';') return;
    if (!line.empty() && line.front() == L'[') {
      TakeHeader(line);
    } else {
      TakeKeyLine(line);
    }
  }

  CStringToObMap Finish() { return std::move(sections_); }

 private:
  // A header repeated later replaces the keys of the earlier one and keeps its position.
  void TakeHeader(std::wstring_view line) {
    while (!line.empty() && line.front() == L'[') line.remove_prefix(1);
    while (!line.empty() && line.back() == L']') line.remove_suffix(1);
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
};

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
std::optional<std::string> NativePath(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  return fw::ToUtf8(path);
}

// Closes a descriptor when it goes; closing also releases an advisory lock taken through it.
class Descriptor {
 public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  Descriptor& operator=(Descriptor&&) = delete;

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

// The whole file, or none when it cannot be opened or read, is no regular file, or is larger
// than kMaxIniFileBytes (checked again while reading, since the file may grow meanwhile).
std::optional<std::string> ReadIniBytes(std::wstring_view file) {
  auto native = NativePath(file);
  if (!native) return std::nullopt;
  Descriptor input(open(native->c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (!input.IsOpen() || fstat(input.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<std::uint64_t>(status.st_size) > kMaxIniFileBytes) {
    return std::nullopt;
  }
  // One byte more than the size, to notice a file that grew since.
  std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (used > kMaxIniFileBytes) return std::nullopt;
      bytes.resize(std::min<std::size_t>(used * 2, kMaxIniFileBytes + 1));
    }
    ssize_t got = read(input.Get(), bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return bytes;
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

// Takes an exclusive advisory lock on `descriptor`, trying `attempts.count` times in all with
// `attempts.interval` between tries while another writer holds it. False when it was held
// through every attempt or cannot be taken at all.
bool LockExclusively(int descriptor, const IniFlushAttempts& attempts) {
  for (int attempt = 1;; ++attempt) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || attempt >= attempts.count) return false;
    std::this_thread::sleep_for(attempts.interval);
  }
}

// The lock all writers of `file` share, held until the returned descriptor closes; not open when
// it could not be taken. `refused` tells that the lock file could not be created because the
// folder takes no new files.
Descriptor TakeWriterLock(const std::string& file, const IniFlushAttempts& attempts,
                          bool& refused) {
  std::string lockPath = file + ".lock";
  Descriptor lock(open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
  refused = !lock.IsOpen() && IsRefusal(errno);
  if (!lock.IsOpen() || !LockExclusively(lock.Get(), attempts)) {
    return Descriptor();
  }
  return lock;
}

// Writes `bytes` to a new file at `path`, flushed to the disk, with `permissions` when given.
// On failure nothing is left at `path`, and `refused` tells that the folder takes no new files.
bool WriteNewFile(const std::string& path, std::string_view bytes,
                  std::optional<mode_t> permissions, bool& refused) {
  Descriptor output(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
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
  Descriptor output(open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (!output.IsOpen()) return false;
  if (!lock.IsOpen() && !LockExclusively(output.Get(), attempts)) {
    return false;
  }
  return ftruncate(output.Get(), 0) == 0 && WriteAll(output.Get(), bytes) &&
         fsync(output.Get()) == 0 && output.Close();
}

// Makes a rename in `folder` durable. Best effort: the rename has happened either way.
void SyncFolder(const std::wstring& folder) {
  auto native = NativePath(folder.empty() ? std::wstring(L".") : folder);
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

// Puts `bytes` at `file` as IniFlush describes: lock, write the temporary, rotate, rename.
// FIXME: a settings file that is a symbolic link is replaced by a regular file, not written
// through the link.
bool WriteIniBytes(std::wstring_view file, std::string_view bytes, bool backup,
                   const IniFlushAttempts& attempts) {
  auto native = NativePath(file);
  if (!native || IsReadOnlyOrFolder(file)) return false;
  bool refused = false;
  Descriptor lock = TakeWriterLock(*native, attempts, refused);
  if (refused) return RewriteInPlace(*native, bytes, lock, attempts);
  if (!lock.IsOpen()) return false;

  std::wstring temporary = std::wstring(file) + L".tmp" + std::to_wstring(getpid());
  if (!WriteNewFile(fw::ToUtf8(temporary), bytes, PermissionsOf(*native), refused)) {
    return refused && RewriteInPlace(*native, bytes, lock, attempts);
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

CStringToObMap ParseIniText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  std::wstring text = fw::FromUtf8(bytes);
  ParseContext context;
  std::wstring_view rest = text;
  // A line ends at "\n"; text after the last one is a line when it is not empty.
  while (!rest.empty()) {
    std::size_t end = rest.find(L'\n');
    context.TakeLine(rest.substr(0, end));
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
  }
  return context.Finish();
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
  return fw::ToUtf8(text);
}

// ---------------------------------------------------------------------------------------------
// The store

bool IniLoad(std::wstring_view file) {
  std::optional<std::string> bytes = ReadIniBytes(file);
  CStringToObMap sections = bytes ? ParseIniText(*bytes) : CStringToObMap();
  std::wstring folded = fw::ToLower(file);
  IniTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.files.insert_or_assign(std::move(folded), std::move(sections));
  return bytes.has_value();
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

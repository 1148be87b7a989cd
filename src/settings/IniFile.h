// The initialisation-file store: reads a file of sections and keys into memory, answers and
// changes values there, and writes the whole file back in one piece, optionally rotating nine
// backups. Only IniLoad and IniFlush touch the disk.
//
// File layout (UTF-8, the system's narrow code page, with bytes that are not UTF-8 kept as they
// are; "\n" or "\r\n" line ends on reading, "\n" on writing; a UTF-8 byte-order mark at the
// start is skipped):
//   [section]        a header; one leading "[" and one trailing "]" are removed from the name
//   key=value        the key is everything before the first "=", the value everything after
//   key              a line without "=": the key with its case kept, an empty value
//   ; comment        dropped; so are key lines before the first header
// Each line is trimmed of white space (space, tab, CR, LF, VT, FF) at both ends first. Section
// names and keys before "=" are folded to lower case; values keep their case. The format has no
// escapes: a key holding "=", or a key starting with "[" or ";", reads back differently, and a
// line feed inside a name or value is written as a space so it cannot start a line of its own.
//
// Threads: every function may be called from any thread. One lock guards the table of loaded
// files; it is held only for work in memory, never while the disk is read or written.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/CStringToObMap.h"

namespace settings {

// A settings file holds a few KiB, and one listing 3,600 library folders about 1 MiB; these caps
// are far above any file of ours and keep the memory of a parse bounded (each line costs up to
// a few hundred bytes). A file beyond them is refused, and then never replaced (IniFlush).
inline constexpr std::uint64_t kMaxIniFileBytes = std::uint64_t{64} << 20;
inline constexpr std::size_t kMaxIniLines = std::size_t{1} << 21;

// The file's bytes as sections and keys, with the rules above; nothing for a text of more than
// kMaxIniLines lines. Any other bytes give a map: bytes that are not UTF-8 (a folder name from
// elsewhere) are kept as fw/NativePath.h carries them, so FormatIniText writes them back as they
// were. `bytes` is at most kMaxIniFileBytes when it comes from a file.
std::optional<CStringToObMap> ParseIniText(std::string_view bytes);
// The sections as the file's bytes: for each section in order "[name]\n", then per key "key\n"
// when the value is empty, else "key=value\n" (also for an empty value when the key ends in
// white space, which a bare key line would lose).
std::string FormatIniText(const CStringToObMap& sections);

// Replaces the file's entry by the file's contents. False, with an empty entry, when the file
// cannot be opened or read, is no regular file, or is beyond the caps above. It is opened
// without blocking. A file that is there but was not read (everything but a missing file) is
// marked refused until a later IniLoad reads it: IniFlush then refuses to replace it.
bool IniLoad(std::wstring_view file);
// Whether the last IniLoad of the file refused what stands at its path.
bool IniWasRefused(std::wstring_view file);

// How long IniFlush waits for another writer of the same file before giving up.
struct IniFlushAttempts {
  int count = 50;
  std::chrono::milliseconds interval{100};
};

// Writes the file's entry to disk; true when written. False, with the disk untouched, when the
// file has no entry, its last load refused what still stands at its path (IniForget does not
// clear that), the file is read-only (it is kept as it is rather than replaced), or another
// writer holds the lock through every attempt; false also when writing fails, with the previous
// file still in place. The in-memory values are kept in every case.
//
// The text goes to "<file>.tmp<pid>" in the same folder, is flushed to the disk, and is renamed
// over the file, so a crash or a full disk leaves the old file or the new one, never a cut one.
// Writers exclude each other with an advisory lock on "<file>.lock", a file that stays beside
// the settings file: the file itself cannot carry the lock, since the rename puts a new file at
// its path and the rotation moves the old one away, and a writer arriving meanwhile would lock
// a different file. When no lock can be had for another reason than a writer holding it (a
// file system without locks, a lock file that cannot be made), the file is written without.
// With `backup`, the backups "<folder><title>.bk1" (newest) to ".bk9" (oldest) are rotated
// after the new text is safely on disk and before the rename; a backup step that fails is
// skipped. A folder that refuses new files but holds a writable settings file gets the file
// rewritten in place under a lock on the file itself, without backups.
bool IniFlush(std::wstring_view file, bool backup);
bool IniFlush(std::wstring_view file, bool backup, const IniFlushAttempts& attempts);

// Drops the file's entry and all its sections; true when there was one.
bool IniForget(std::wstring_view file);

// The keys of a section in their order (folded to lower case); empty when there is none.
std::vector<std::wstring> IniGetKeys(std::wstring_view section, std::wstring_view file);

// Sets `out` to the stored value, else to `defaultValue`, else (null) to empty; returns the
// length of `out`. Section and key are matched without regard to case.
std::size_t IniGetString(std::wstring_view section, std::wstring_view key,
                         const wchar_t* defaultValue, std::wstring& out, std::wstring_view file);
// As IniGetString, copied into `buffer` of `bufferSize` characters: min(length + 1, bufferSize)
// characters are copied and that count returned. A value that does not fit is cut to
// bufferSize - 1 characters and terminated, so the buffer always holds a terminated string
// (unless bufferSize is 0, when nothing is copied).
std::size_t IniGetStringBuf(std::wstring_view section, std::wstring_view key,
                            const wchar_t* defaultValue, wchar_t* buffer, std::size_t bufferSize,
                            std::wstring_view file);
// The stored value converted by wcstol's rules in base 10 (leading white space and a sign, then
// digits up to the first other character; 0 without digits), else `defaultValue`. A number out
// of range is clamped as wcstol clamps it, and then to the range of int, so it behaves as on
// the platform where long and int are both 32 bits.
int IniGetInt(std::wstring_view section, std::wstring_view key, int defaultValue,
              std::wstring_view file);

// Sets a value in memory, creating the file's entry and the section when missing (a new section
// or key goes to the end of its order). Always true.
bool IniWriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                    std::wstring_view file);
// As IniWriteString with the value formatted by "%ld".
bool IniWriteInt(std::wstring_view section, std::wstring_view key, long value,
                 std::wstring_view file);

}  // namespace settings

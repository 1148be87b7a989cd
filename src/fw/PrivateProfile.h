// Reading a section of a standard initialisation file as the platform's private-profile
// interface does, straight from the disk (the settings store of the module is a separate thing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fw {

// A file larger than this is not an initialisation file a person keeps (an administrator file
// lists a few user names); reading stops there rather than pull an arbitrary file into memory.
inline constexpr std::uint64_t kMaxPrivateProfileBytes = 1024 * 1024;

// Copies the lines of `section` in `file` into `buffer` of `size` characters: each line as one
// entry ended by a NUL, the list ended by an empty entry (a second NUL), so an empty or missing
// section leaves just the terminating NULs. Returns the number of characters copied, the final
// NUL not counted.
//
// The file is read as UTF-8 (a byte-order mark is skipped, invalid bytes become U+FFFD), lines
// end at "\n" or "\r\n". A section starts at a line "[name]" whose name, trimmed, equals
// `section` without regard to case; the first such section counts, up to the next line that
// starts with "[". Its lines are trimmed of white space at both ends; empty lines and comment
// lines (starting with ";") are skipped; every other line, "key=value" included, is one entry
// as written. An entry that does not fit whole is left out, with every entry after it, so a
// cut-off name is never seen. A file that is missing, unreadable, no regular file or larger than
// kMaxPrivateProfileBytes has no sections. With `size` 0 nothing is written. Any thread.
std::size_t GetPrivateProfileSection(std::wstring_view section, wchar_t* buffer, std::size_t size,
                                     std::wstring_view file);

}  // namespace fw

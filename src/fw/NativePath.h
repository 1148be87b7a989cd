// The one conversion between the system's wide path strings and the bytes the operating system
// takes for a file name. Linux file names are any bytes but "/" and NUL; most are UTF-8, but a
// folder copied from elsewhere may hold names in another encoding. Such bytes are carried in the
// wide string as the code points U+DC80..U+DCFF (one per byte that is not part of valid UTF-8),
// so a name read from disk converts back to exactly the bytes it had, and every wide path the
// system builds opens the file it names. Shown to a person, such a code point reads as U+FFFD
// (ToUtf8 turns lone surrogates into it).
#pragma once

#include <string>
#include <string_view>

namespace fw {

// The bytes of a path for the operating system's calls.
std::string NativePath(std::wstring_view path);

// A path or file name as the operating system gave it, decoded as UTF-8 where it is valid; each
// byte of an invalid sequence becomes U+DC00 + the byte.
std::wstring FromNativePath(std::string_view bytes);

// True when the name holds a byte that was not valid UTF-8 on disk.
bool HasUndecodableBytes(std::wstring_view path);

}  // namespace fw

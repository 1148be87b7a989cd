// Text helpers of the framework: printf-style formatting with the wide printf rules of the
// platform the module was written for, UTF-8 conversion, case folding and time formatting.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// The framework's wide-string object. Functions other modules export take it by value where the
// platform's take its string class, so both sides must be built with this definition.
using CString = std::wstring;

// Formats like the wide printf of the module's home platform: in a wide format, %s and %c take
// wide arguments (const wchar_t*, wchar_t) and %S, %C, %hs, %hc narrow ones; %ls and %hs keep
// their explicit widths; every other conversion is the C library's. Any length; never fails
// (a format the C library rejects yields the format text itself).
std::wstring Format(const wchar_t* format, ...);
std::wstring FormatV(const wchar_t* format, va_list arguments);

// The system's narrow code page is UTF-8. Invalid sequences become U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// Simple case folding, as the platform's case-insensitive comparisons of names do.
std::wstring ToLower(std::wstring_view text);
std::wstring ToUpper(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// Without the blanks, tabs and line ends at either end, as CString::Trim leaves a text.
std::wstring Trim(std::wstring_view text);

// Formats seconds since 1970 as local time with strftime rules (%x, %X, ...) in the user's
// locale for LC_TIME (the C locale unless the program chose another).
std::wstring FormatLocalTime(std::int64_t secondsSince1970, const wchar_t* format);
std::int64_t CurrentTime();

}  // namespace fw

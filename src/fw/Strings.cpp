// Text helpers: wide printf with the home platform's argument rules, UTF-8 conversion, case
// folding and local-time formatting.
#include "fw/Strings.h"

#include <locale.h>
#include <wctype.h>

#include <ctime>
#include <cwchar>
#include <cwctype>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

namespace fw {
namespace {

// ---------------------------------------------------------------------------------------------
// Formatting
//
// The format is walked one conversion at a time. Strings and characters are converted and padded
// here, so a narrow argument is always read as UTF-8 whatever the C library's locale; numbers and
// pointers go to swprintf with a conversion rebuilt from the parsed parts, so the C library's
// rules for them (flags, precision, rounding, the locale's decimal point) hold unchanged.

// A field wider than this is a fault in the caller, not text anyone reads; the cap keeps a stray
// width such as INT_MAX from asking for gigabytes.
constexpr long long kMaxFieldWidth = 1 << 24;

enum class Length { kNone, kChar, kShort, kLong, kLongLong, kLongDouble, kIntMax, kSize,
                    kPtrDiff, kWide, kInt32 };

struct Conversion {
  std::wstring flags;
  std::optional<long long> width;      // after `*` was read; negative never remains
  std::optional<long long> precision;  // absent when omitted or negative through `*`
  Length length = Length::kNone;
  wchar_t type = 0;
};

// Reads the digits at `*cursor`; false when they overflow the field cap.
bool ReadNumber(const wchar_t*& cursor, long long& value) {
  value = 0;
  while (*cursor >= L'0' && *cursor <= L'9') {
    value = value * 10 + (*cursor - L'0');
    if (value > kMaxFieldWidth) return false;
    ++cursor;
  }
  return true;
}

bool HasFlag(const Conversion& conversion, wchar_t flag) {
  return conversion.flags.find(flag) != std::wstring::npos;
}

// Parses one conversion after its '%' and fetches `*` widths and precisions from the arguments
// in order. Returns false for a conversion the C library would reject (or that we refuse: %n
// writes through a pointer and is never wanted in text).
bool ParseConversion(const wchar_t*& cursor, va_list* arguments, Conversion& conversion) {
  while (*cursor != 0 && std::wcschr(L"-+ #0", *cursor) != nullptr) {
    if (!HasFlag(conversion, *cursor)) conversion.flags += *cursor;
    ++cursor;
  }
  if (*cursor == L'*') {
    ++cursor;
    long long width = va_arg(*arguments, int);
    if (width < 0) {  // a negative `*` width is a left-justified field
      if (!HasFlag(conversion, L'-')) conversion.flags += L'-';
      width = -width;
    }
    if (width > kMaxFieldWidth) return false;
    conversion.width = width;
  } else if (*cursor >= L'0' && *cursor <= L'9') {
    long long width = 0;
    if (!ReadNumber(cursor, width)) return false;
    conversion.width = width;
  }
  if (*cursor == L'.') {
    ++cursor;
    if (*cursor == L'*') {
      ++cursor;
      long long precision = va_arg(*arguments, int);
      if (precision > kMaxFieldWidth) return false;
      if (precision >= 0) conversion.precision = precision;
    } else {
      long long precision = 0;
      if (!ReadNumber(cursor, precision)) return false;
      conversion.precision = precision;
    }
  }
  switch (*cursor) {
    case L'h':
      ++cursor;
      conversion.length = Length::kShort;
      if (*cursor == L'h') { ++cursor; conversion.length = Length::kChar; }
      break;
    case L'l':
      ++cursor;
      conversion.length = Length::kLong;
      if (*cursor == L'l') { ++cursor; conversion.length = Length::kLongLong; }
      break;
    case L'L': ++cursor; conversion.length = Length::kLongDouble; break;
    case L'q': ++cursor; conversion.length = Length::kLongLong; break;
    case L'j': ++cursor; conversion.length = Length::kIntMax; break;
    case L'z': ++cursor; conversion.length = Length::kSize; break;
    case L't': ++cursor; conversion.length = Length::kPtrDiff; break;
    case L'w': ++cursor; conversion.length = Length::kWide; break;
    case L'I':  // the home platform's I64, I32 and bare I (pointer-sized)
      if (cursor[1] == L'6' && cursor[2] == L'4') {
        cursor += 3;
        conversion.length = Length::kLongLong;
      } else if (cursor[1] == L'3' && cursor[2] == L'2') {
        cursor += 3;
        conversion.length = Length::kInt32;
      } else {
        cursor += 1;
        conversion.length = Length::kSize;
      }
      break;
    default: break;
  }
  conversion.type = *cursor;
  if (conversion.type == 0) return false;
  ++cursor;
  return std::wcschr(L"diouxXeEfFgGaAcCsSp%", conversion.type) != nullptr;
}

// Appends `text` cut to the precision and padded with spaces to the width.
void AppendText(std::wstring& out, const Conversion& conversion, std::wstring_view text) {
  if (conversion.precision && text.size() > static_cast<std::size_t>(*conversion.precision)) {
    text = text.substr(0, static_cast<std::size_t>(*conversion.precision));
  }
  std::size_t width = conversion.width ? static_cast<std::size_t>(*conversion.width) : 0;
  std::size_t padding = width > text.size() ? width - text.size() : 0;
  if (HasFlag(conversion, L'-')) {
    out += text;
    out.append(padding, L' ');
  } else {
    out.append(padding, L' ');
    out += text;
  }
}

// A string or character conversion: %s and %c are wide unless h narrows them; %S and %C are
// narrow unless l or w widens them. Precision counts characters after the narrow text was read as
// UTF-8.
void AppendStringConversion(std::wstring& out, const Conversion& conversion, va_list* arguments) {
  bool upper = conversion.type == L'S' || conversion.type == L'C';
  bool wide = !upper;
  if (conversion.length == Length::kShort) wide = false;
  if (conversion.length == Length::kLong || conversion.length == Length::kWide) wide = true;

  if (conversion.type == L'c' || conversion.type == L'C') {
    int value = va_arg(*arguments, int);  // wchar_t and char both arrive promoted to int
    if (wide) {
      wchar_t character = static_cast<wchar_t>(value);
      AppendText(out, conversion, std::wstring_view(&character, 1));
    } else {
      char character = static_cast<char>(value);
      AppendText(out, conversion, FromUtf8(std::string_view(&character, 1)));
    }
    return;
  }
  if (wide) {
    const wchar_t* text = va_arg(*arguments, const wchar_t*);
    AppendText(out, conversion, text != nullptr ? std::wstring_view(text) : L"(null)");
  } else {
    const char* text = va_arg(*arguments, const char*);
    AppendText(out, conversion, text != nullptr ? FromUtf8(text) : L"(null)");
  }
}

// The conversion rebuilt for swprintf with the widths already resolved.
std::wstring CLibraryConversion(const Conversion& conversion, const wchar_t* lengthModifier) {
  std::wstring format = L"%" + conversion.flags;
  if (conversion.width) format += std::to_wstring(*conversion.width);
  if (conversion.precision) format += L"." + std::to_wstring(*conversion.precision);
  format += lengthModifier;
  format += conversion.type;
  return format;
}

// Formats one value with swprintf, growing the buffer until it fits. vswprintf reports a short
// buffer only as -1, so the growth is bounded: past the widest output the conversion can produce
// (a long double with %Lf has under 5000 digits) a failure is the C library's rejection.
template <typename Value>
bool AppendNumber(std::wstring& out, const Conversion& conversion, const wchar_t* lengthModifier,
                  Value value) {
  std::wstring format = CLibraryConversion(conversion, lengthModifier);
  std::size_t fieldSize = static_cast<std::size_t>(conversion.width.value_or(0)) +
                          static_cast<std::size_t>(conversion.precision.value_or(0));
  std::size_t limit = fieldSize + 8192;
  std::vector<wchar_t> buffer(std::min<std::size_t>(fieldSize + 64, limit));
  for (;;) {
    int written = std::swprintf(buffer.data(), buffer.size(), format.c_str(), value);
    if (written >= 0) {
      out.append(buffer.data(), static_cast<std::size_t>(written));
      return true;
    }
    if (buffer.size() >= limit) return false;
    buffer.resize(std::min(buffer.size() * 4, limit));
  }
}

bool AppendIntegerConversion(std::wstring& out, const Conversion& conversion,
                             va_list* arguments) {
  bool isSigned = conversion.type == L'd' || conversion.type == L'i';
  switch (conversion.length) {
    case Length::kNone:
    case Length::kInt32:
    case Length::kWide:
      return isSigned ? AppendNumber(out, conversion, L"", va_arg(*arguments, int))
                      : AppendNumber(out, conversion, L"", va_arg(*arguments, unsigned));
    case Length::kChar:
      return isSigned ? AppendNumber(out, conversion, L"hh", va_arg(*arguments, int))
                      : AppendNumber(out, conversion, L"hh", va_arg(*arguments, unsigned));
    case Length::kShort:
      return isSigned ? AppendNumber(out, conversion, L"h", va_arg(*arguments, int))
                      : AppendNumber(out, conversion, L"h", va_arg(*arguments, unsigned));
    case Length::kLong:
      return isSigned ? AppendNumber(out, conversion, L"l", va_arg(*arguments, long))
                      : AppendNumber(out, conversion, L"l", va_arg(*arguments, unsigned long));
    case Length::kLongLong:
    case Length::kLongDouble:  // glibc reads %Ld as long long
      return isSigned
                 ? AppendNumber(out, conversion, L"ll", va_arg(*arguments, long long))
                 : AppendNumber(out, conversion, L"ll", va_arg(*arguments, unsigned long long));
    case Length::kIntMax:
      return isSigned ? AppendNumber(out, conversion, L"j", va_arg(*arguments, std::intmax_t))
                      : AppendNumber(out, conversion, L"j", va_arg(*arguments, std::uintmax_t));
    case Length::kSize:
      return isSigned ? AppendNumber(out, conversion, L"z", va_arg(*arguments, std::ptrdiff_t))
                      : AppendNumber(out, conversion, L"z", va_arg(*arguments, std::size_t));
    case Length::kPtrDiff:
      return isSigned ? AppendNumber(out, conversion, L"t", va_arg(*arguments, std::ptrdiff_t))
                      : AppendNumber(out, conversion, L"t", va_arg(*arguments, std::size_t));
  }
  return false;
}

bool AppendConversion(std::wstring& out, const Conversion& conversion, va_list* arguments) {
  switch (conversion.type) {
    case L'%':  // "%5%" is a percent sign too, as the C library prints it
      out += L'%';
      return true;
    case L's': case L'S': case L'c': case L'C':
      AppendStringConversion(out, conversion, arguments);
      return true;
    case L'p':
      return AppendNumber(out, conversion, L"", va_arg(*arguments, void*));
    case L'e': case L'E': case L'f': case L'F': case L'g': case L'G': case L'a': case L'A':
      if (conversion.length == Length::kLongDouble) {
        return AppendNumber(out, conversion, L"L", va_arg(*arguments, long double));
      }
      return AppendNumber(out, conversion, L"", va_arg(*arguments, double));
    default:
      return AppendIntegerConversion(out, conversion, arguments);
  }
}

// ---------------------------------------------------------------------------------------------
// UTF-8

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// ---------------------------------------------------------------------------------------------
// Case folding
//
// The C locale folds only ASCII, and the program may never call setlocale, so names are folded
// with the UTF-8 C locale's tables (kept for the life of the process). Where that locale is not
// installed the current locale's tables are used.
locale_t FoldingLocale() {
  static const locale_t locale = [] {
    locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return made;
  }();
  return locale;
}

// ASCII folds the same in every locale; searches and sorts fold mostly ASCII names.
wchar_t FoldLower(wchar_t c) {
  if (c < 0x80) return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
  locale_t locale = FoldingLocale();
  return static_cast<wchar_t>(locale != nullptr ? towlower_l(static_cast<wint_t>(c), locale)
                                                : std::towlower(static_cast<wint_t>(c)));
}

wchar_t FoldUpper(wchar_t c) {
  if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
  locale_t locale = FoldingLocale();
  return static_cast<wchar_t>(locale != nullptr ? towupper_l(static_cast<wint_t>(c), locale)
                                                : std::towupper(static_cast<wint_t>(c)));
}

}  // namespace

std::wstring Format(const wchar_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::wstring text = FormatV(format, arguments);
  va_end(arguments);
  return text;
}

std::wstring FormatV(const wchar_t* format, va_list arguments) {
  if (format == nullptr) return {};
  va_list remaining;
  va_copy(remaining, arguments);
  std::wstring out;
  bool valid = true;
  for (const wchar_t* cursor = format; *cursor != 0 && valid;) {
    const wchar_t* percent = std::wcschr(cursor, L'%');
    if (percent == nullptr) {
      out += cursor;
      break;
    }
    out.append(cursor, percent);
    cursor = percent + 1;
    if (*cursor == L'%') {
      out += L'%';
      ++cursor;
      continue;
    }
    Conversion conversion;
    valid = ParseConversion(cursor, &remaining, conversion) &&
            AppendConversion(out, conversion, &remaining);
  }
  va_end(remaining);
  return valid ? out : std::wstring(format);
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    // Text read from UTF-16 may still hold its surrogate pairs; a pair is one character, a lone
    // half is not a character at all.
    if (IsHighSurrogate(c) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      char32_t low = static_cast<char32_t>(text[++i]);
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// Decodes strictly (no overlong forms, no encoded surrogates, nothing above U+10FFFF). Each
// maximal invalid subsequence becomes one U+FFFD, the practice Unicode recommends, so a truncated
// sequence costs one replacement and the byte that broke it is read again.
std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    int trailing = 0;
    unsigned char low = 0x80;  // the range the first continuation byte must fall in
    unsigned char high = 0xBF;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trailing = 1;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trailing = 2;
      c = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trailing = 3;
      c = lead & 0x07;
      if (lead == 0xF0) low = 0x90;   // overlong below U+10000
      if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      out += static_cast<wchar_t>(kReplacement);
      ++i;
      continue;
    }
    ++i;
    bool complete = true;
    for (int k = 0; k < trailing; ++k) {
      unsigned char next = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
      if (next < low || next > high) {
        complete = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
      ++i;
      low = 0x80;  // only the first continuation byte has a narrower range
      high = 0xBF;
    }
    out += static_cast<wchar_t>(complete ? c : kReplacement);
  }
  return out;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = FoldLower(c);
  return out;
}

std::wstring ToUpper(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = FoldUpper(c);
  return out;
}

// Compares upper-case forms, as the platform's name comparisons do: that also makes the Greek
// final sigma equal to the other two sigmas.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldUpper(a[i]) != FoldUpper(b[i])) return false;
  }
  return true;
}

std::wstring Trim(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t\r\n\v\f";
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  std::size_t last = text.find_last_not_of(kBlanks);
  return std::wstring(text.substr(first, last - first + 1));
}

// Returns an empty string when the time cannot be shown as a calendar date (far beyond any
// year the C library handles) or the format is null. wcsftime reports both a short buffer and an
// empty result as 0, so the buffer grows up to a bound well past any real expansion.
std::wstring FormatLocalTime(std::int64_t secondsSince1970, const wchar_t* format) {
  if (format == nullptr || *format == 0) return {};
  std::time_t time = static_cast<std::time_t>(secondsSince1970);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return {};
  std::size_t formatLength = std::wcslen(format);
  std::size_t limit = 256 * (formatLength + 1);
  std::vector<wchar_t> buffer(std::min<std::size_t>(256, limit));
  for (;;) {
    std::size_t written = std::wcsftime(buffer.data(), buffer.size(), format, &local);
    if (written > 0) return std::wstring(buffer.data(), written);
    if (buffer.size() >= limit) return {};
    buffer.resize(std::min(buffer.size() * 4, limit));
  }
}

std::int64_t CurrentTime() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace fw

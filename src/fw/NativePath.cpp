// Path bytes to wide strings and back, lossless for names that are not UTF-8.
#include "fw/NativePath.h"

#include <cstdint>

namespace fw {

namespace {

constexpr char32_t kEscapeBase = 0xDC00;
constexpr char32_t kReplacement = 0xFFFD;

bool IsEscapedByte(char32_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF; }
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

// The length of the valid UTF-8 sequence at `text[i]`, or 0 when the bytes there are not one
// (overlong forms, encoded surrogates and values above U+10FFFF are not valid).
std::size_t ValidSequenceAt(std::string_view text, std::size_t i, char32_t& decoded) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    decoded = lead;
    return 1;
  }
  std::size_t trailing = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t c = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k <= trailing; ++k) {
    if (i + k >= text.size()) return 0;
    const auto next = static_cast<unsigned char>(text[i + k]);
    if (next < low || next > high) return 0;
    c = (c << 6) | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  decoded = c;
  return trailing + 1;
}

}  // namespace

std::string NativePath(std::wstring_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    auto c = static_cast<char32_t>(path[i]);
    if (IsEscapedByte(c)) {
      out += static_cast<char>(c - kEscapeBase);
      continue;
    }
    // A path read from a UTF-16 archive may still hold a surrogate pair: one character.
    if (IsHighSurrogate(c) && i + 1 < path.size() &&
        IsLowSurrogate(static_cast<char32_t>(path[i + 1])) &&
        !IsEscapedByte(static_cast<char32_t>(path[i + 1]))) {
      const auto low = static_cast<char32_t>(path[++i]);
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::wstring FromNativePath(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    char32_t decoded = 0;
    const std::size_t length = ValidSequenceAt(bytes, i, decoded);
    if (length == 0) {
      out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]));
      ++i;
    } else {
      out += static_cast<wchar_t>(decoded);
      i += length;
    }
  }
  return out;
}

bool HasUndecodableBytes(std::wstring_view path) {
  for (wchar_t c : path) {
    if (IsEscapedByte(static_cast<char32_t>(c))) return true;
  }
  return false;
}

}  // namespace fw

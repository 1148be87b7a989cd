// Local file:// URIs turned into paths, escape by escape.
#include "FileUri.h"

#include <optional>

#include "fw/NativePath.h"

namespace thumbnailer {
namespace {

using PathResult = fw::Result<std::wstring>;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != prefix[i]) return false;
  }
  return true;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// The bytes the escaped path stands for; nothing for a broken escape or a NUL, escaped or not,
// which would cut the name short.
std::optional<std::string> Unescape(std::string_view escaped) {
  std::string bytes;
  bytes.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '\0') return std::nullopt;
    if (escaped[i] != '%') {
      bytes += escaped[i];
      continue;
    }
    const auto high = i + 2 < escaped.size() ? HexDigit(escaped[i + 1]) : std::nullopt;
    const auto low = i + 2 < escaped.size() ? HexDigit(escaped[i + 2]) : std::nullopt;
    if (!high || !low || (*high == 0 && *low == 0)) return std::nullopt;
    bytes += static_cast<char>(*high * 16 + *low);
    i += 2;
  }
  return bytes;
}

}  // namespace

fw::Result<std::wstring> DrawingPathOf(std::string_view argument) {
  if (!StartsWithNoCase(argument, "file:")) {
    return PathResult::Success(fw::FromNativePath(argument));
  }
  const std::wstring shown = fw::FromNativePath(argument);
  std::string_view rest = argument.substr(5);
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::string_view host = rest.substr(0, rest.find('/'));
    if (!host.empty() && !(host.size() == 9 && StartsWithNoCase(host, "localhost"))) {
      return PathResult::Failure(L"URI " + shown + L" names a file on another machine");
    }
    rest.remove_prefix(host.size());
  }
  if (!rest.starts_with("/")) {
    return PathResult::Failure(L"URI " + shown + L" holds no absolute path");
  }
  if (rest.find_first_of("?#") != std::string_view::npos) {
    return PathResult::Failure(L"URI " + shown + L" holds a query or a fragment");
  }
  const std::optional<std::string> bytes = Unescape(rest);
  if (!bytes) {
    return PathResult::Failure(L"URI " + shown + L" holds a broken percent-escape or a NUL");
  }
  return PathResult::Success(fw::FromNativePath(*bytes));
}

}  // namespace thumbnailer

// The private-profile section reader: the file read whole (under a cap), split into lines, and
// the lines of one section copied out as a NUL-separated list.
#include "fw/PrivateProfile.h"

#include <optional>
#include <string>
#include <vector>

#include "fw/File.h"
#include "fw/Strings.h"

namespace fw {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsWhiteSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The file's bytes, or none when it cannot be read or exceeds the cap. One byte more than the
// cap is asked for, so a larger file shows itself without trusting its reported length.
std::optional<std::string> ReadCappedFile(std::wstring_view file) {
  CFile input;
  if (!input.Open(file, CFile::modeRead | CFile::typeBinary)) return std::nullopt;
  std::string bytes(kMaxPrivateProfileBytes + 1, '\0');
  try {
    bytes.resize(input.Read(bytes.data(), bytes.size()));
    input.Close();
  } catch (const CFileException&) {
    return std::nullopt;
  }
  if (bytes.size() > kMaxPrivateProfileBytes) return std::nullopt;
  return bytes;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find(L'\n');
    lines.push_back(text.substr(0, end));
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The name of a header line "[name]" (trimmed; a missing "]" ends the name at the line's end),
// or none for any other line.
std::optional<std::wstring_view> HeaderName(std::wstring_view line) {
  if (line.empty() || line.front() != L'[') return std::nullopt;
  line.remove_prefix(1);
  return Trim(line.substr(0, line.find(L']')));
}

// The entries of the first section called `section`, in file order.
std::vector<std::wstring_view> SectionEntries(std::wstring_view text, std::wstring_view section) {
  std::vector<std::wstring_view> entries;
  bool inSection = false;
  for (std::wstring_view rawLine : SplitLines(text)) {
    std::wstring_view line = Trim(rawLine);
    if (std::optional<std::wstring_view> name = HeaderName(line)) {
      if (inSection) break;
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (inSection && !line.empty() && line.front() != L';') entries.push_back(line);
  }
  return entries;
}

}  // namespace

std::size_t GetPrivateProfileSection(std::wstring_view section, wchar_t* buffer, std::size_t size,
                                     std::wstring_view file) {
  if (buffer == nullptr || size == 0) return 0;
  std::optional<std::string> bytes = ReadCappedFile(file);
  std::string_view content = bytes ? std::string_view(*bytes) : std::string_view();
  if (content.starts_with(kUtf8ByteOrderMark)) content.remove_prefix(kUtf8ByteOrderMark.size());
  std::wstring text = FromUtf8(content);

  // Room is kept for the entry's NUL and the list's final NUL.
  std::size_t used = 0;
  for (std::wstring_view entry : SectionEntries(text, section)) {
    if (used + entry.size() + 2 > size) break;
    entry.copy(buffer + used, entry.size());
    used += entry.size();
    buffer[used++] = L'\0';
  }
  buffer[used] = L'\0';
  if (used == 0 && size > 1) buffer[1] = L'\0';
  return used;
}

}  // namespace fw

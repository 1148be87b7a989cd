// Reading script and stream lines.
#include "minicad/LineSource.h"

#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace minicad {
namespace {

void DropCarriageReturn(std::wstring& line) {
  if (!line.empty() && line.back() == L'\r') line.pop_back();
}

}  // namespace

ScriptLines::ScriptLines(std::wstring_view text) : text_(text) {
  if (!text_.empty() && text_.front() == L'\uFEFF') position_ = 1;
}

std::optional<std::wstring> ScriptLines::ReadLine() {
  if (position_ >= text_.size()) return std::nullopt;
  std::size_t end = text_.find(L'\n', position_);
  if (end == std::wstring::npos) end = text_.size();
  std::wstring line = text_.substr(position_, end - position_);
  position_ = end + 1;
  DropCarriageReturn(line);
  return line;
}

std::optional<std::wstring> StreamLines::ReadLine() {
  std::string bytes;
  if (!std::getline(in_, bytes)) return std::nullopt;
  if (firstLine_ && bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  firstLine_ = false;
  // Lines may name drawings: bytes that are not UTF-8 are kept as a path's are.
  std::wstring line = fw::FromNativePath(bytes);
  DropCarriageReturn(line);
  return line;
}

}  // namespace minicad

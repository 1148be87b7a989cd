// Reading and writing a directory's section of the settings file.
#include "settings/DirectorySection.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "fw/Strings.h"
#include "library/Directory.h"
#include "settings/IniFile.h"
#include "settings/StoredValues.h"
#include "settings/StoredWords.h"

namespace settings {
namespace {

constexpr const wchar_t* kPromptWord = L"Prompt";
constexpr std::int32_t kLastView = 3;

// The decimal number at the start of `text` (after blanks and an optional sign), read the same
// whatever locale the host has set; 0 when there is none or it is not finite.
double LeadingNumber(std::wstring_view text) {
  std::string narrow = fw::ToUtf8(text);
  std::size_t start = narrow.find_first_not_of(" \t");
  if (start == std::string::npos) return 0;
  if (narrow[start] == '+') ++start;
  double number = 0;
  std::from_chars_result result =
      std::from_chars(narrow.data() + start, narrow.data() + narrow.size(), number);
  if (result.ec != std::errc() || !std::isfinite(number)) return 0;
  return number;
}

void ReadRotation(library::Directory& directory, std::wstring_view value) {
  if (value.empty()) return;
  if (fw::EqualsNoCase(value, kPromptWord)) {
    directory.rotationMode = 1;
    return;
  }
  directory.rotationMode = 0;
  directory.rotationAngle = LeadingNumber(value);
}

void ReadYesNo(std::wstring_view section, std::wstring_view key, bool& field,
               std::wstring_view file) {
  if (std::optional<bool> on = YesNoFromWord(ReadStoredValue(section, key, file))) field = *on;
}

void ReadView(std::wstring_view section, library::Directory& directory, std::wstring_view file) {
  if (ReadStoredValue(section, L"View", file).empty()) return;
  int view = IniGetInt(section, L"View", directory.view, file);
  if (view >= 0 && view <= kLastView) directory.view = view;
}

std::wstring RotationText(const library::Directory& directory) {
  if (directory.rotationMode == 1) return kPromptWord;
  return fw::Format(L"%f", directory.rotationAngle);
}

}  // namespace

void ReadDirectoryDescription(library::Directory& directory, std::wstring_view file) {
  directory.description = ReadStoredValue(directory.path, L"Description", file);
}

void ReadDirectorySettings(library::Directory& directory, std::wstring_view file) {
  const std::wstring& section = directory.path;
  if (auto scale = ScaleModeFromWord(ReadStoredValue(section, L"Scale", file))) {
    directory.scaleMode = *scale;
  }
  ReadRotation(directory, ReadStoredValue(section, L"Rotation", file));
  ReadYesNo(section, L"Explode", directory.explode, file);
  ReadYesNo(section, L"MultipleInsert", directory.multipleInsert, file);
  ReadYesNo(section, L"Repeat", directory.repeat, file);
  ReadYesNo(section, L"ShowInsertionPoints", directory.showInsertionPoints, file);
  ReadYesNo(section, L"UseLargeImages", directory.useLargeImages, file);
  ReadView(section, directory, file);
  if (auto style = SortStyleFromWord(ReadStoredValue(section, L"SortStyle", file))) {
    directory.sortStyle = *style;
  }
  directory.currentScheme = ReadStoredValue(section, L"CurrentScheme", file);
}

void WriteDirectorySection(const library::Directory& directory, std::wstring_view file) {
  const std::wstring& section = directory.path;
  IniWriteString(section, L"Description", directory.description, file);
  IniWriteString(section, L"Scale", ScaleWord(directory.scaleMode), file);
  IniWriteString(section, L"Rotation", RotationText(directory), file);
  IniWriteString(section, L"Explode", YesNoWord(directory.explode), file);
  IniWriteString(section, L"MultipleInsert", YesNoWord(directory.multipleInsert), file);
  IniWriteString(section, L"Repeat", YesNoWord(directory.repeat), file);
  IniWriteString(section, L"ShowInsertionPoints", YesNoWord(directory.showInsertionPoints), file);
  IniWriteString(section, L"UseLargeImages", YesNoWord(directory.useLargeImages), file);
  IniWriteInt(section, L"View", directory.view, file);
  IniWriteString(section, L"SortStyle", SortStyleWord(directory.sortStyle), file);
  IniWriteString(section, L"CurrentScheme", directory.currentScheme, file);
}

}  // namespace settings

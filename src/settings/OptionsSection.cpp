// Reading and writing the section "Quorva Options", the integer options as one table.
#include "settings/OptionsSection.h"

#include <array>

#include "fw/Strings.h"
#include "settings/IniFile.h"

namespace settings {
namespace {

// An integer option: its key, where it lives, and its default when the key is missing.
struct IntegerOption {
  const wchar_t* key;
  int Options::*field;
  // The default is the value in memory rather than `defaultValue`.
  bool keepsValueInMemory;
  int defaultValue;
};

// In the order the section is written.
constexpr std::array<IntegerOption, 9> kIntegerOptions = {{
    {L"BlockInsert", &Options::blockInsert, false, 0},
    {L"ReadDirEveryTime", &Options::readDirEveryTime, false, 0},
    {L"OverlayXRef", &Options::overlayXRef, false, 0},
    {L"DemandLoadCache", &Options::demandLoadCache, false, 0},
    {L"OnlyCacheCurrent", &Options::onlyCacheCurrent, false, 0},
    {L"DelCacheMemoryOnClose", &Options::delCacheMemoryOnClose, false, 0},
    {L"BackupIni", &Options::backupIni, false, 0},
    {L"PrintScale", &Options::printScale, true, 0},
    {L"PrintType", &Options::printType, true, 0},
}};

constexpr const wchar_t* kCacheFileKey = L"CacheFile";

std::wstring ColumnWidthKey(std::size_t index) {
  return fw::Format(L"Column%dWidth", static_cast<int>(index + 1));
}

}  // namespace

void ReadCachePath(std::wstring_view file, std::wstring& cachePath) {
  std::wstring stored;
  IniGetString(kOptionsSection, kCacheFileKey, nullptr, stored, file);
  if (!stored.empty()) cachePath = std::move(stored);
}

void ReadIntegerOptions(std::wstring_view file, Options& options) {
  for (const IntegerOption& option : kIntegerOptions) {
    int& value = options.*option.field;
    value = IniGetInt(kOptionsSection, option.key,
                      option.keepsValueInMemory ? value : option.defaultValue, file);
  }
}

void ReadColumnWidths(std::wstring_view file, Options& options) {
  for (std::size_t i = 0; i < options.columnWidths.size(); ++i) {
    options.columnWidths[i] =
        IniGetInt(kOptionsSection, ColumnWidthKey(i), kDefaultColumnWidths[i], file);
  }
}

void WriteOptionsSection(std::wstring_view file, const Options& options,
                         std::wstring_view cachePath) {
  for (std::size_t i = 0; i < options.columnWidths.size(); ++i) {
    IniWriteInt(kOptionsSection, ColumnWidthKey(i), options.columnWidths[i], file);
  }
  IniWriteString(kOptionsSection, kCacheFileKey, cachePath, file);
  for (const IntegerOption& option : kIntegerOptions) {
    IniWriteInt(kOptionsSection, option.key, options.*option.field, file);
  }
}

}  // namespace settings

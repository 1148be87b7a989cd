// Reading and writing the mapping schemes' sections.
#include "settings/SchemeSections.h"

#include <memory>
#include <optional>
#include <string>

#include "layermap/MapScheme.h"
#include "layermap/SchemeTable.h"
#include "layermap/StoredForms.h"
#include "settings/IniFile.h"
#include "settings/StoredValues.h"
#include "settings/StoredWords.h"

namespace settings {
namespace {

constexpr const wchar_t* kCountKey = L"NumSchemes";
constexpr const wchar_t* kSchemeKeyPrefix = L"Scheme";
constexpr const wchar_t* kMapCountKey = L"NumMaps";
constexpr const wchar_t* kMapKeyPrefix = L"Map";

void ReadMaps(std::wstring_view name, layermap::MapScheme& scheme, std::wstring_view file) {
  for (const std::wstring& stored : ReadNumberedValues(name, kMapCountKey, kMapKeyPrefix, file)) {
    layermap::StoredMap map = layermap::ParseStoredMap(stored);
    // The pattern is split at the first comma, so it holds none and SetMap takes it.
    scheme.SetMap(map.from, map.to);
    if (map.isVariable) scheme.SetVariable(map.from, true);
  }
}

void WriteMaps(std::wstring_view name, const layermap::MapScheme& scheme, std::wstring_view file) {
  IniWriteInt(name, kMapCountKey, static_cast<long>(scheme.MapCount()), file);
  int number = 1;
  for (const layermap::PatternMap& map : scheme.Maps()) {
    IniWriteString(name, NumberedKey(kMapKeyPrefix, number++),
                   layermap::FormatStoredMap(map.from, map.to, scheme.IsVariable(map.from)), file);
  }
}

}  // namespace

void ReadSchemes(std::wstring_view file, layermap::SchemeTable& table) {
  for (const std::wstring& name :
       ReadNumberedValues(kSchemesSection, kCountKey, kSchemeKeyPrefix, file)) {
    if (name.empty()) continue;
    layermap::MapScheme* scheme = table.Add(name, std::make_unique<layermap::MapScheme>());
    ReadSchemeSection(name, *scheme, file);
  }
}

void ReadSchemeSection(std::wstring_view name, layermap::MapScheme& scheme,
                       std::wstring_view file) {
  if (auto kind = layermap::SchemeKindFromStoredName(ReadStoredValue(name, L"Type", file))) {
    scheme.SetKind(*kind);
  }
  std::optional<bool> byLayer = YesNoFromWord(ReadStoredValue(name, L"DefaultToByLayer", file));
  scheme.SetDefaultToByLayer(byLayer.value_or(false));
  if (auto mode =
          layermap::UnknownModeFromStoredName(ReadStoredValue(name, L"UnknownType", file))) {
    scheme.SetUnknownMode(*mode);
  }
  if (scheme.GetUnknownMode() == layermap::UnknownMode::kSpecific) {
    layermap::PrefixedValue value =
        layermap::SplitVariablePrefix(ReadStoredValue(name, L"UnknownVal", file));
    scheme.SetUnknownValue(std::move(value.value));
    scheme.SetUnknownIsVariable(value.isVariable);
  }
  ReadMaps(name, scheme, file);
}

void WriteSchemes(std::wstring_view file, layermap::SchemeTable& table, bool deleteWritten) {
  IniWriteInt(kSchemesSection, kCountKey, static_cast<long>(table.Count()), file);
  int number = 1;
  for (const layermap::SchemeTable::Entry& entry : table.Entries()) {
    IniWriteString(kSchemesSection, NumberedKey(kSchemeKeyPrefix, number++), entry.name, file);
    WriteSchemeSection(entry.name, *entry.scheme, file);
  }
  // Deleting as each one is written would change the table under the walk; nothing reads the
  // table in between, so deleting all of them after the walk is the same.
  if (deleteWritten) table.Clear();
}

void WriteSchemeSection(std::wstring_view name, const layermap::MapScheme& scheme,
                        std::wstring_view file) {
  IniWriteString(name, L"Type", layermap::StoredName(scheme.GetKind()), file);
  IniWriteString(name, L"DefaultToByLayer", YesNoWord(scheme.GetDefaultToByLayer()), file);
  IniWriteString(name, L"UnknownType", layermap::StoredName(scheme.GetUnknownMode()), file);
  if (scheme.GetUnknownMode() == layermap::UnknownMode::kSpecific) {
    IniWriteString(
        name, L"UnknownVal",
        layermap::JoinVariablePrefix(scheme.GetUnknownValue(), scheme.GetUnknownIsVariable()),
        file);
  }
  WriteMaps(name, scheme, file);
}

}  // namespace settings

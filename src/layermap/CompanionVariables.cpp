// The companion application's layer-name variables, as data.
#include "layermap/CompanionVariables.h"

#include "fw/Strings.h"

namespace layermap {
namespace {

constexpr CompanionVariable kCompanionVariables[] = {
    {L"ORVE_S_LYR", L"ORVE PXT3 Object Layer"}, {L"ORVE_C_LYR", L"ORVE PXT3 Center Layer"},
    {L"ORVE_H_LYR", L"ORVE PXT3 Hidden Layer"}, {L"ORVE_DIM_LYR", L"ORVE PXT3 Dimension Layer"},
    {L"S_LYR", L"ORVE PXT Object Layer"},       {L"C_LYR", L"ORVE PXT Center Layer"},
    {L"H_LYR", L"ORVE PXT Hidden Layer"},       {L"DIM_LYR", L"ORVE PXT Dimension Layer"},
};

}  // namespace

std::span<const CompanionVariable> CompanionVariables() { return kCompanionVariables; }

std::optional<std::wstring> CompanionDescription(std::wstring_view variable) {
  for (const CompanionVariable& entry : kCompanionVariables) {
    if (fw::EqualsNoCase(variable, entry.variable)) return entry.description;
  }
  return std::nullopt;
}

std::optional<std::wstring> CompanionVariableOf(std::wstring_view description) {
  for (const CompanionVariable& entry : kCompanionVariables) {
    if (description == entry.description) return entry.variable;
  }
  return std::nullopt;
}

}  // namespace layermap

// The layer-name variables of the companion application: AutoLISP variables whose string
// value is a layer name, which the New Map dialog offers as targets under a description.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace layermap {

struct CompanionVariable {
  const wchar_t* variable;
  const wchar_t* description;
};

// The eight variables in the order the dialog lists them.
std::span<const CompanionVariable> CompanionVariables();

// The description of a variable (its name in any case, as AutoLISP symbols are).
std::optional<std::wstring> CompanionDescription(std::wstring_view variable);
// The variable shown under a description (exactly as shown).
std::optional<std::wstring> CompanionVariableOf(std::wstring_view description);

}  // namespace layermap

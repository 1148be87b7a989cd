// The value of a system variable as the host keeps it, and the set of values one drawing
// keeps for the variables saved in it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace minicad {

using VariablePoint = std::array<double, 3>;
// Real, 16-bit integer, text, point: the alternatives follow SystemVariables::Type.
using VariableValue = std::variant<double, std::int16_t, std::wstring, VariablePoint>;
// Upper-case variable name to value.
using VariableValues = std::map<std::wstring, VariableValue>;

}  // namespace minicad

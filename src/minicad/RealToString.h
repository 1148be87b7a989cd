// Distances written as the host writes them, in its five unit styles.
#pragma once

#include <optional>
#include <string>

namespace minicad {

// `unit` 1 scientific ("1.2500E+01"), 2 decimal ("12.5000"), 3 engineering (feet and decimal
// inches, "1'-0.5000\""), 4 architectural (feet and fractional inches, "1'-0 1/2\""), 5
// fractional ("12 1/2"); `precision` 0-8 decimals, or for fractions the denominator
// 2^precision. Nothing for a unit or precision out of range or a value that is no number.
std::optional<std::wstring> RealToString(double value, int unit, int precision);

}  // namespace minicad

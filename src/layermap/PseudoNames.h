// The From patterns that stand for classes of object rather than for a property value. Only
// the New Map dialog makes them (for Linetype schemes); scheme application gives them their
// meaning, and looks for them in this order, the first present being in force.
#pragma once

#include <string_view>

namespace layermap {

// Single-line text objects, attribute definitions included.
inline constexpr const wchar_t* kTextObjects = L"*TEXT OBJECTS";
// Every dimension object.
inline constexpr const wchar_t* kDimensionObjects = L"*DIMENSION OBJECTS";
// Both.
inline constexpr const wchar_t* kTextAndDimensionObjects = L"*TEXT AND DIMENSION OBJECTS";

inline constexpr const wchar_t* kPseudoNames[] = {kTextObjects, kDimensionObjects,
                                                  kTextAndDimensionObjects};

// Exactly one of the three (they are upper case, as every From pattern is).
inline bool IsPseudoName(std::wstring_view pattern) {
  for (const wchar_t* pseudoName : kPseudoNames) {
    if (pattern == pseudoName) return true;
  }
  return false;
}

}  // namespace layermap

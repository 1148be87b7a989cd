// Layer names as the host takes them, and the two layers that scheme application never erases.
#pragma once

#include <string>
#include <string_view>

namespace layermap {

// Layer "0", which every drawing has, and "DEFPOINTS", which holds the dimensions' definition
// points: neither is ever erased by a mapping.
inline constexpr const wchar_t* kLayerZero = L"0";
inline constexpr const wchar_t* kDefpoints = L"DEFPOINTS";

// The longest symbol name the host takes.
inline constexpr std::size_t kMaxLayerName = 255;

// A character no name typed on the command line may hold: C0 and C1 controls, DEL, and the
// line and paragraph separators.
bool IsControlCharacter(wchar_t c);

// True when the host can make a layer of this name: 1 to 255 characters, no control character
// and none of  < > / \ " : ; ? * | , = `  (a "|" belongs to the names the host makes for the
// layers of external references). A scheme's target that fails this is not a layer to create
// or move objects to.
bool IsValidLayerName(std::wstring_view name);

// The name as a person can read it on the command line or in a message: each control character
// written as \n, \r, \t or \xNN.
std::wstring VisibleName(std::wstring_view name);

}  // namespace layermap

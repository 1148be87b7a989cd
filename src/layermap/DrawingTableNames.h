// The names of the current drawing's layers and linetypes, in table order, which the New Map
// dialog offers. Host main thread.
#pragma once

#include <string>
#include <vector>

namespace layermap {

// Empty when there is no current drawing or its table cannot be opened.
std::vector<std::wstring> CurrentLayerNames();
std::vector<std::wstring> CurrentLinetypeNames();

}  // namespace layermap

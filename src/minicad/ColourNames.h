// Colours as the host's prompts take them: an index, a standard colour's name, or ByLayer and
// ByBlock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace minicad {

// 1-255 for an index or one of red, yellow, green, cyan, blue, magenta, white (any case); 256
// for "BYLAYER" and 0 for "BYBLOCK" when `logical` allows them; nothing otherwise.
std::optional<int> ParseColour(std::wstring_view answer, bool logical);
// How CECOLOR and prompts write a colour: "BYLAYER", "BYBLOCK" or the index.
std::wstring ColourText(int index);

}  // namespace minicad

// The words the settings file stores enumerations and flags as: yes/no, the insertion scale
// and the block list's sort style. Words are written as the tables have them and read without
// regard to case; a word not in a table reads as nothing, so the caller keeps its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace settings {

// "Yes" or "No".
const wchar_t* YesNoWord(bool on);
std::optional<bool> YesNoFromWord(std::wstring_view word);

// Scale modes 0 to 3: "1-to-1", "Drawing", "Prompt", "User". A mode outside the table (only a
// damaged cache holds one) is written as the default's word, "1-to-1".
const wchar_t* ScaleWord(std::int32_t scaleMode);
std::optional<std::int32_t> ScaleModeFromWord(std::wstring_view word);

// Sort styles 0 to 13: "None", "Name", "Type", "Description", "Size", "Modified", "Created",
// then the same with "Rev" before them. "Desc" is also read as Description and "Date" as
// Created; both are written back with the table's word. A style outside the table is written
// as the default's word, "Name".
const wchar_t* SortStyleWord(std::int32_t sortStyle);
std::optional<std::int32_t> SortStyleFromWord(std::wstring_view word);

}  // namespace settings

// The rules of the scheme dialogs that do not depend on their controls: the validation of a new
// scheme's name and of a new map, the turning of a companion description into its variable's
// name, the pseudo-name the Text and Dimension boxes stand for, the colour the colour dialog
// opens at, and the padding that puts the maker's name at the right of a caption.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace layermap {

// The validation messages, shown in a message box with the dialog left open.
inline constexpr const wchar_t* kNotAllFilled = L"Not all fields filled in.";
inline constexpr const wchar_t* kSchemeDefined = L"Scheme already defined.";
inline constexpr const wchar_t* kFromEmpty = L"The 'From' field must not be empty.";
inline constexpr const wchar_t* kMapExists = L"This map already exists.";
inline constexpr const wchar_t* kToEmpty = L"The 'To' field must not be empty.";

// A new scheme: `name` is already trimmed, `kind` is the chosen radio position (-1: none).
// Nothing when it may be added; else the message. Names compare without regard to case, so
// two schemes never differ only in case.
std::optional<std::wstring> SchemeTypeError(const std::wstring& name, int kind,
                                            std::span<const std::wstring> existingNames);

// A new map, From and To already upper-cased and trimmed; `existingFroms` the patterns of the
// scheme (empty when a map is edited). Nothing when it may be stored; else the message.
std::optional<std::wstring> NewMapError(const std::wstring& from, const std::wstring& to,
                                        std::span<const std::wstring> existingFroms);

// The variable an upper-cased companion description ("ORVE PXT3 CENTER LAYER") stands for
// ("ORVE_C_LYR"); nothing for a text that is not one, or whose letter names no variable.
std::optional<std::wstring> CompanionVariableForDescription(std::wstring_view upperDescription);

// The From pattern the Text and Dimension boxes give: "*TEXT OBJECTS", "*DIMENSION OBJECTS",
// "*TEXT AND DIMENSION OBJECTS", or empty when neither is checked.
std::wstring PseudoNameFor(bool text, bool dimension);

// The colour index the colour dialog opens at for the From text: its number, or 7 when that is
// not a colour (not a number above 0, or 256, ByLayer).
int ColorDialogStart(std::wstring_view fromText);

// Caption padding: how many blanks put the maker's name at the right end of a caption bar.
struct CaptionMeasures {
  int windowWidth = 0;
  int titleWidth = 0;
  int makerWidth = 0;
  int blankWidth = 0;
  int frameWidth = 0;   // one dialog frame
  int buttonWidth = 0;  // the caption button
};
// Never negative: a caption too narrow gets no blanks.
int CaptionBlankCount(const CaptionMeasures& measures);

}  // namespace layermap

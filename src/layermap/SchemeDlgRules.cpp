// The scheme dialogs' rules that need no control.
#include "layermap/SchemeDlgRules.h"

#include <algorithm>
#include <charconv>

#include "fw/Strings.h"
#include "layermap/PseudoNames.h"

namespace layermap {
namespace {

constexpr std::wstring_view kCompanionPrefix = L"ORVE PXT";
constexpr int kWhiteColor = 7;
constexpr int kByLayerColor = 256;
// The caption's own margin beside the frames and the button.
constexpr int kCaptionMargin = 4;

std::optional<std::wstring> VariableOfLetter(wchar_t letter) {
  switch (letter) {
    case L'C':
      return L"C_LYR";
    case L'D':
      return L"DIM_LYR";
    case L'H':
      return L"H_LYR";
    case L'O':
      return L"S_LYR";
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::wstring> SchemeTypeError(const std::wstring& name, int kind,
                                            std::span<const std::wstring> existingNames) {
  if (kind < 0 || name.empty()) return kNotAllFilled;
  bool taken =
      std::any_of(existingNames.begin(), existingNames.end(),
                  [&name](const std::wstring& other) { return fw::EqualsNoCase(name, other); });
  if (taken) return kSchemeDefined;
  return std::nullopt;
}

std::optional<std::wstring> NewMapError(const std::wstring& from, const std::wstring& to,
                                        std::span<const std::wstring> existingFroms) {
  if (from.empty()) return kFromEmpty;
  if (std::find(existingFroms.begin(), existingFroms.end(), from) != existingFroms.end()) {
    return kMapExists;
  }
  if (to.empty()) return kToEmpty;
  return std::nullopt;
}

std::optional<std::wstring> CompanionVariableForDescription(std::wstring_view upperDescription) {
  if (!upperDescription.starts_with(kCompanionPrefix)) return std::nullopt;
  std::wstring_view rest = upperDescription.substr(kCompanionPrefix.size());
  // "ORVE PXT3 X..." names the newer variables, "ORVE PXT X..." the older ones.
  if (rest.size() >= 3 && rest[1] == L' ') {
    std::optional<std::wstring> variable = VariableOfLetter(rest[2]);
    if (variable) return L"ORVE_" + *variable;
    return std::nullopt;
  }
  if (rest.size() >= 2 && rest[0] == L' ') return VariableOfLetter(rest[1]);
  return std::nullopt;
}

std::wstring PseudoNameFor(bool text, bool dimension) {
  if (text && dimension) return kTextAndDimensionObjects;
  if (text) return kTextObjects;
  if (dimension) return kDimensionObjects;
  return {};
}

int ColorDialogStart(std::wstring_view fromText) {
  std::string digits = fw::ToUtf8(fw::Trim(fromText));
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  // Like atoi: the leading number counts, anything after it does not.
  if (error != std::errc() || end == digits.data()) return kWhiteColor;
  if (value <= 0 || value >= kByLayerColor) return kWhiteColor;
  return value;
}

int CaptionBlankCount(const CaptionMeasures& m) {
  if (m.blankWidth <= 0) return 0;
  int room = m.windowWidth - m.titleWidth - m.makerWidth - 2 * m.frameWidth - m.buttonWidth -
             kCaptionMargin;
  return room > 0 ? room / m.blankWidth : 0;
}

}  // namespace layermap

// The word tables of the settings file; a word's position in its table is the number it stands
// for.
#include "settings/StoredWords.h"

#include <array>
#include <span>

#include "fw/Strings.h"

namespace settings {
namespace {

constexpr std::array<const wchar_t*, 4> kScaleWords = {L"1-to-1", L"Drawing", L"Prompt", L"User"};
constexpr std::int32_t kDefaultScaleMode = 0;

constexpr std::array<const wchar_t*, 14> kSortStyleWords = {
    L"None",           L"Name",    L"Type",        L"Description", L"Size",
    L"Modified",       L"Created", L"RevNone",     L"RevName",     L"RevType",
    L"RevDescription", L"RevSize", L"RevModified", L"RevCreated"};
constexpr std::int32_t kDefaultSortStyle = 1;

// Words read but never written, with the style they stand for.
struct SortStyleAlias {
  const wchar_t* word;
  std::int32_t style;
};
constexpr std::array<SortStyleAlias, 2> kSortStyleAliases = {{{L"Desc", 3}, {L"Date", 6}}};

const wchar_t* WordAt(std::span<const wchar_t* const> words, std::int32_t number,
                      std::int32_t fallback) {
  bool inTable = number >= 0 && static_cast<std::size_t>(number) < words.size();
  return words[static_cast<std::size_t>(inTable ? number : fallback)];
}

std::optional<std::int32_t> NumberOf(std::span<const wchar_t* const> words,
                                     std::wstring_view word) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (fw::EqualsNoCase(words[i], word)) return static_cast<std::int32_t>(i);
  }
  return std::nullopt;
}

}  // namespace

const wchar_t* YesNoWord(bool on) { return on ? L"Yes" : L"No"; }

std::optional<bool> YesNoFromWord(std::wstring_view word) {
  if (fw::EqualsNoCase(word, L"Yes")) return true;
  if (fw::EqualsNoCase(word, L"No")) return false;
  return std::nullopt;
}

const wchar_t* ScaleWord(std::int32_t scaleMode) {
  return WordAt(kScaleWords, scaleMode, kDefaultScaleMode);
}

std::optional<std::int32_t> ScaleModeFromWord(std::wstring_view word) {
  return NumberOf(kScaleWords, word);
}

const wchar_t* SortStyleWord(std::int32_t sortStyle) {
  return WordAt(kSortStyleWords, sortStyle, kDefaultSortStyle);
}

std::optional<std::int32_t> SortStyleFromWord(std::wstring_view word) {
  if (std::optional<std::int32_t> style = NumberOf(kSortStyleWords, word)) return style;
  for (const SortStyleAlias& alias : kSortStyleAliases) {
    if (fw::EqualsNoCase(alias.word, word)) return alias.style;
  }
  return std::nullopt;
}

}  // namespace settings

// Quick find's pattern and searches.
#include "ui/QuickFind.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>

#include "arx/acutads.h"
#include "fw/ListCtrl.h"
#include "fw/Strings.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/Directory.h"
#include "library/Library.h"

namespace ui {
namespace {

constexpr wchar_t kEscape = L'`';
constexpr std::wstring_view kWildcardCharacters = L"#@.*?~[]`,";

using LibraryHold = std::lock_guard<fw::CriticalSection>;

bool Matches(const std::wstring& pattern, std::wstring_view text) {
  std::wstring lower = fw::ToLower(text);
  return acutWcMatch(lower.c_str(), pattern.c_str()) == RTNORM;
}

// The first matching block of d, when d is loaded and is not `current`.
std::optional<FoundBlock> FindIn(const std::wstring& pattern, library::Directory& d) {
  if (!d.loaded) return std::nullopt;
  const auto& blocks = d.Blocks();
  for (std::size_t index = 0; index < blocks.size(); ++index) {
    if (BlockMatches(pattern, *blocks[index])) return FoundBlock{&d, index};
  }
  return std::nullopt;
}

}  // namespace

std::wstring FindPattern(std::wstring_view typed) {
  std::wstring pattern = L"*";
  pattern.reserve(2 * typed.size() + 2);
  for (wchar_t c : fw::ToLower(typed)) {
    if (kWildcardCharacters.find(c) != std::wstring_view::npos) pattern += kEscape;
    pattern += c;
  }
  pattern += L'*';
  return pattern;
}

bool BlockMatches(const std::wstring& pattern, const library::Block& b) {
  return Matches(pattern, b.name) || Matches(pattern, b.description);
}

int FindInList(const std::wstring& pattern, const fw::ListCtrl& list, int start) {
  library::Library& library = library::TheLibrary();
  // Items leave the list before their blocks are deleted, and that happens under these locks.
  LibraryHold hold(library.Lock());
  std::shared_lock fields(library::BlockFieldsLock());
  std::vector<fw::ItemData> items = list.GetAllItemData();
  for (std::size_t position = static_cast<std::size_t>(std::max(start, 0));
       position < items.size(); ++position) {
    if (items[position] == 0) continue;
    if (BlockMatches(pattern, *reinterpret_cast<const library::Block*>(items[position]))) {
      return static_cast<int>(position);
    }
  }
  return -1;
}

std::optional<FoundBlock> FindInOtherDirectories(const std::wstring& pattern,
                                                 const library::Directory* current) {
  library::Library& library = library::TheLibrary();
  LibraryHold hold(library.Lock());
  std::shared_lock fields(library::BlockFieldsLock());
  const auto& directories = library.Directories();
  std::size_t count = directories.size();
  // Without a current directory (or one no longer in the library) every directory is another.
  std::size_t skipped = count;
  if (current != nullptr) skipped = library.IndexOf(*current).value_or(count);
  // After the current one to the end, then from the first up to it.
  std::size_t first = skipped < count ? skipped + 1 : 0;
  for (std::size_t step = 0; step < count; ++step) {
    std::size_t index = (first + step) % count;
    if (index == skipped) continue;
    if (auto found = FindIn(pattern, *directories[index])) return found;
  }
  return std::nullopt;
}

}  // namespace ui

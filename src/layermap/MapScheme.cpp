// Mapping schemes: the names of kinds and modes, the ordered maps with their variable flags,
// and the resolution of a name to its target layer.
#include "layermap/MapScheme.h"

#include <algorithm>
#include <iterator>

#include "arx/acutads.h"
#include "fw/Strings.h"
#include "layermap/AskNewMap.h"
#include "layermap/ResBuf.h"

namespace layermap {
namespace {

struct KindWords {
  SchemeKind kind;
  const wchar_t* stored;
  const wchar_t* shown;
};

constexpr KindWords kKindWords[] = {
    {SchemeKind::kLayer, L"Layer", L"Layer->Layer"},
    {SchemeKind::kLinetype, L"Linetype", L"Linetype->Layer"},
    {SchemeKind::kColor, L"Color", L"Color->Layer"},
    {SchemeKind::kBlock, L"Block", L"BlockName->Layer"},
};

struct ModeWords {
  UnknownMode mode;
  const wchar_t* stored;
  const wchar_t* label;
};

constexpr ModeWords kModeWords[] = {
    {UnknownMode::kIgnore, L"Ignore", L"Ignore"},
    {UnknownMode::kAsk, L"Ask", L"Ask for new map"},
    {UnknownMode::kSpecific, L"Specific", L"Default to:"},
};

// A value outside the enumeration (our own bug: one cast from an unchecked number) reads as
// the first row rather than past the table.
const KindWords& WordsOf(SchemeKind kind) {
  for (const KindWords& words : kKindWords) {
    if (words.kind == kind) return words;
  }
  return kKindWords[0];
}

const ModeWords& WordsOf(UnknownMode mode) {
  for (const ModeWords& words : kModeWords) {
    if (words.mode == mode) return words;
  }
  return kModeWords[0];
}

}  // namespace

const wchar_t* StoredName(SchemeKind kind) { return WordsOf(kind).stored; }

const wchar_t* ShownName(SchemeKind kind) { return WordsOf(kind).shown; }

std::optional<SchemeKind> SchemeKindFromStoredName(std::wstring_view word) {
  for (const KindWords& words : kKindWords) {
    if (fw::EqualsNoCase(word, words.stored)) return words.kind;
  }
  return std::nullopt;
}

std::optional<SchemeKind> SchemeKindFromValue(int value) {
  if (value < 0 || value >= static_cast<int>(std::size(kKindWords))) return std::nullopt;
  return kKindWords[value].kind;
}

const wchar_t* StoredName(UnknownMode mode) { return WordsOf(mode).stored; }

const wchar_t* DialogLabel(UnknownMode mode) { return WordsOf(mode).label; }

std::optional<UnknownMode> UnknownModeFromStoredName(std::wstring_view word) {
  for (const ModeWords& words : kModeWords) {
    if (fw::EqualsNoCase(word, words.stored)) return words.mode;
  }
  return std::nullopt;
}

// --- Maps ------------------------------------------------------------------------------------

std::vector<PatternMap>::const_iterator MapScheme::FindEntry(const std::wstring& upperFrom) const {
  return std::find_if(maps_.begin(), maps_.end(),
                      [&](const PatternMap& map) { return map.from == upperFrom; });
}

bool MapScheme::SetMap(std::wstring_view from, std::wstring_view to) {
  if (from.find(L',') != std::wstring_view::npos) return false;
  std::wstring upperFrom = fw::ToUpper(from);
  auto found = FindEntry(upperFrom);
  if (found == maps_.end()) {
    maps_.push_back(PatternMap{std::move(upperFrom), std::wstring(to)});
  } else {
    maps_[static_cast<std::size_t>(found - maps_.begin())].to = to;
  }
  return true;
}

bool MapScheme::RemoveMap(std::wstring_view from) {
  std::wstring upperFrom = fw::ToUpper(from);
  auto found = FindEntry(upperFrom);
  if (found == maps_.end()) return false;
  maps_.erase(found);
  variableMaps_.erase(upperFrom);
  return true;
}

const std::wstring* MapScheme::FindMap(std::wstring_view from) const {
  auto found = FindEntry(fw::ToUpper(from));
  return found == maps_.end() ? nullptr : &found->to;
}

bool MapScheme::SetVariable(std::wstring_view from, bool isVariable) {
  std::wstring upperFrom = fw::ToUpper(from);
  if (!isVariable) {
    variableMaps_.erase(upperFrom);
    return true;
  }
  if (FindEntry(upperFrom) == maps_.end()) return false;
  variableMaps_.insert(std::move(upperFrom));
  return true;
}

bool MapScheme::IsVariable(std::wstring_view from) const {
  return variableMaps_.count(fw::ToUpper(from)) != 0;
}

// --- Resolution ------------------------------------------------------------------------------

bool MapScheme::Resolve(std::wstring& name, std::wstring& target) {
  name = fw::ToUpper(name);
  for (const PatternMap& map : maps_) {
    std::wstring pattern = fw::ToUpper(map.from);
    if (acutWcMatch(name.c_str(), pattern.c_str()) == RTNORM) {
      target = EvaluateTarget(map.to, IsVariable(map.from));
      return true;
    }
  }
  switch (unknownMode_) {
    case UnknownMode::kIgnore:
      return false;
    case UnknownMode::kAsk:
      return AskForMap(name, target);
    case UnknownMode::kSpecific:
      target = EvaluateTarget(unknownValue_, unknownIsVariable_);
      return true;
  }
  return false;
}

// The answer becomes a map of the scheme at once, so later names that match it are not asked
// about again. A name that cannot be a From pattern (it holds a comma) still gets the answer
// for this once.
bool MapScheme::AskForMap(const std::wstring& name, std::wstring& target) {
  std::optional<NewMapAnswer> answer = AskNewMap(kind_, name);
  if (!answer) return false;
  const std::wstring pattern = ExactPattern(name);
  if (SetMap(pattern, answer->to)) SetVariable(pattern, answer->isVariable);
  target = EvaluateTarget(answer->to, answer->isVariable);
  return true;
}

std::wstring MapScheme::ExactPattern(std::wstring_view name) {
  constexpr std::wstring_view kWildcardCharacters = L"#@.*?~[]`";
  std::wstring pattern;
  pattern.reserve(name.size());
  for (wchar_t c : name) {
    if (kWildcardCharacters.find(c) != std::wstring_view::npos) pattern += L'`';
    pattern += c;
  }
  return pattern;
}

// A variable counts only when its first element is a string; otherwise its name is the target.
std::wstring MapScheme::EvaluateTarget(const std::wstring& value, bool isVariable) {
  if (!isVariable) return value;
  ResBuf variable;
  std::wstring text;
  if (variable.GetSym(value.c_str()) && variable.GetString(0, text)) return text;
  return value;
}

}  // namespace layermap

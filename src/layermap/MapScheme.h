// A layer mapping scheme: which property of an object it looks at, its maps from name
// patterns to target layers, and the rule for names no map covers; and Resolve, which turns
// one name into its target layer. Host main thread only (dialogs, commands, editor reactors).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace layermap {

// Which property of an object the maps' From patterns match.
enum class SchemeKind : std::int32_t {
  kLayer = 0,     // layer names
  kLinetype = 1,  // linetype names
  kColor = 2,     // colour numbers in decimal, "1" ... "255"
  kBlock = 3,     // the name of the inserted block
};

// What Resolve does with a name that no map covers.
enum class UnknownMode : std::int32_t {
  kIgnore = 0,    // the name is not mapped
  kAsk = 1,       // the user is asked for a new map, which the scheme keeps
  kSpecific = 2,  // the name goes to the scheme's default target
};

// The words of the initialisation file ("Layer", "Linetype", "Color", "Block"), read without
// regard to case; and the words the dialogs show ("Layer->Layer", ..., "BlockName->Layer").
const wchar_t* StoredName(SchemeKind kind);
const wchar_t* ShownName(SchemeKind kind);
std::optional<SchemeKind> SchemeKindFromStoredName(std::wstring_view word);
// The kind of a radio-button position or stored number, 0 to 3.
std::optional<SchemeKind> SchemeKindFromValue(int value);

// "Ignore", "Ask", "Specific" in the file; "Ignore", "Ask for new map", "Default to:" in the
// dialog.
const wchar_t* StoredName(UnknownMode mode);
const wchar_t* DialogLabel(UnknownMode mode);
std::optional<UnknownMode> UnknownModeFromStoredName(std::wstring_view word);

// One map of a scheme: a From pattern in the host's wildcard syntax, always upper case and
// never holding a comma, and the target it sends matching names to: a layer name, or the name
// of an AutoLISP variable whose string value is the layer.
struct PatternMap {
  std::wstring from;
  std::wstring to;
};

class MapScheme {
 public:
  // Kind Layer, mode Ignore, no default target, objects set to ByLayer, no maps.
  MapScheme() = default;

  SchemeKind GetKind() const { return kind_; }
  void SetKind(SchemeKind kind) { kind_ = kind; }
  UnknownMode GetUnknownMode() const { return unknownMode_; }
  void SetUnknownMode(UnknownMode mode) { unknownMode_ = mode; }
  // The target of mode Specific, or the name of the AutoLISP variable that holds it.
  const std::wstring& GetUnknownValue() const { return unknownValue_; }
  void SetUnknownValue(std::wstring value) { unknownValue_ = std::move(value); }
  bool GetUnknownIsVariable() const { return unknownIsVariable_; }
  void SetUnknownIsVariable(bool isVariable) { unknownIsVariable_ = isVariable; }
  // After an object is moved to its target layer, its colour and linetype become ByLayer.
  bool GetDefaultToByLayer() const { return defaultToByLayer_; }
  void SetDefaultToByLayer(bool byLayer) { defaultToByLayer_ = byLayer; }

  // --- Maps ---------------------------------------------------------------------------------
  // From patterns are upper-cased on the way in, so every lookup ignores their case. Maps keep
  // the order in which their From patterns were first set: that is the order Resolve tries
  // them, and the order they are listed and saved in.

  // Sets From -> To; a From already there keeps its place and its variable flag. False, and
  // nothing set, for a From holding a comma (the stored form could not split it).
  bool SetMap(std::wstring_view from, std::wstring_view to);
  // Removes the map and its variable flag; false when there is none.
  bool RemoveMap(std::wstring_view from);
  // The To of a From pattern, or nullptr.
  const std::wstring* FindMap(std::wstring_view from) const;
  const std::vector<PatternMap>& Maps() const { return maps_; }
  std::size_t MapCount() const { return maps_.size(); }
  // Marks or unmarks the To of a map as naming an AutoLISP variable. Marking a From that has
  // no map does nothing and returns false.
  bool SetVariable(std::wstring_view from, bool isVariable);
  bool IsVariable(std::wstring_view from) const;

  // --- Resolution ---------------------------------------------------------------------------

  // Upper-cases `name` in place (callers go on with that form), then finds its target layer:
  // the To of the first map whose pattern matches it (the host's acutWcMatch), else what the
  // unknown-name rule gives. A variable target is read with acedGetSym: its string value when
  // it holds one, else the variable's own name. Mode Ask asks through AskNewMap and keeps the
  // answer as a map of this scheme, under ExactPattern(name). True when the name is mapped;
  // false, leaving `target` alone, when it is not (mode Ignore, or the question was cancelled).
  // Shows nothing itself.
  bool Resolve(std::wstring& name, std::wstring& target);

  // The pattern that matches exactly `name` and nothing else: each character the host's
  // wildcards give a meaning (# @ . * ? ~ [ ] `) escaped with a back-quote. An Ask answer is kept
  // under it, so a layer "~TMP", "A#1" or "A[1]" maps itself rather than a set of names.
  static std::wstring ExactPattern(std::wstring_view name);

 private:
  std::vector<PatternMap>::const_iterator FindEntry(const std::wstring& upperFrom) const;
  static std::wstring EvaluateTarget(const std::wstring& value, bool isVariable);
  bool AskForMap(const std::wstring& name, std::wstring& target);

  UnknownMode unknownMode_ = UnknownMode::kIgnore;
  std::wstring unknownValue_;
  bool unknownIsVariable_ = false;
  bool defaultToByLayer_ = true;
  SchemeKind kind_ = SchemeKind::kLayer;
  // In the order of first entry.
  std::vector<PatternMap> maps_;
  // The From patterns (upper case, each also a From of maps_) whose To names a variable.
  std::set<std::wstring> variableMaps_;
};

}  // namespace layermap

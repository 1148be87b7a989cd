// Mapping schemes: their words, their ordered maps with variable flags, the stored forms, the
// companion variables, and Resolve with every rule, against minicad's host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LayermapTestSupport.h"
#include "fw/Strings.h"
#include "layermap/AskNewMap.h"
#include "layermap/CompanionVariables.h"
#include "layermap/MapScheme.h"
#include "layermap/ResBuf.h"
#include "layermap/StoredForms.h"

namespace layermaptest {
namespace {

using layermap::MapScheme;
using layermap::NewMapAnswer;
using layermap::SchemeKind;
using layermap::UnknownMode;
using Strings = std::vector<std::wstring>;

Strings FromPatterns(const MapScheme& scheme) {
  Strings patterns;
  for (const layermap::PatternMap& map : scheme.Maps()) patterns.push_back(map.from);
  return patterns;
}

TEST(SchemeWords, KindsAndModesReadTheirStoredWordsInAnyCase) {
  const std::tuple<SchemeKind, const wchar_t*, const wchar_t*> kinds[] = {
      {SchemeKind::kLayer, L"Layer", L"Layer->Layer"},
      {SchemeKind::kLinetype, L"Linetype", L"Linetype->Layer"},
      {SchemeKind::kColor, L"Color", L"Color->Layer"},
      {SchemeKind::kBlock, L"Block", L"BlockName->Layer"},
  };
  for (const auto& [kind, stored, shown] : kinds) {
    EXPECT_STREQ(layermap::StoredName(kind), stored);
    EXPECT_STREQ(layermap::ShownName(kind), shown);
    EXPECT_EQ(layermap::SchemeKindFromStoredName(fw::ToUpper(stored)), kind);
    EXPECT_EQ(layermap::SchemeKindFromValue(static_cast<int>(kind)), kind);
  }
  const std::tuple<UnknownMode, const wchar_t*, const wchar_t*> modes[] = {
      {UnknownMode::kIgnore, L"Ignore", L"Ignore"},
      {UnknownMode::kAsk, L"Ask", L"Ask for new map"},
      {UnknownMode::kSpecific, L"Specific", L"Default to:"},
  };
  for (const auto& [mode, stored, label] : modes) {
    EXPECT_STREQ(layermap::StoredName(mode), stored);
    EXPECT_STREQ(layermap::DialogLabel(mode), label);
    EXPECT_EQ(layermap::UnknownModeFromStoredName(fw::ToLower(stored)), mode);
  }
  EXPECT_EQ(layermap::SchemeKindFromStoredName(L"Colour"), std::nullopt);
  EXPECT_EQ(layermap::SchemeKindFromValue(4), std::nullopt);
  EXPECT_EQ(layermap::UnknownModeFromStoredName(L"Default"), std::nullopt);
}

TEST(MapSchemeModel, MapsKeepTheOrderOfFirstEntryAndUpperCaseTheirPatterns) {
  MapScheme scheme;
  EXPECT_EQ(scheme.GetKind(), SchemeKind::kLayer);
  EXPECT_EQ(scheme.GetUnknownMode(), UnknownMode::kIgnore);
  EXPECT_TRUE(scheme.GetDefaultToByLayer());
  scheme.SetMap(L"walls", L"A-WALL");
  scheme.SetMap(L"DOOR*", L"A-DOOR");
  scheme.SetMap(L"Win?", L"mixed Case");
  scheme.SetMap(L"WALLS", L"A-WALL-NEW");
  EXPECT_FALSE(scheme.SetMap(L"A,B", L"LAYER"));
  EXPECT_EQ(FromPatterns(scheme), (Strings{L"WALLS", L"DOOR*", L"WIN?"}));
  EXPECT_EQ(*scheme.FindMap(L"Walls"), L"A-WALL-NEW");
  EXPECT_EQ(*scheme.FindMap(L"WIN?"), L"mixed Case");
  EXPECT_TRUE(scheme.RemoveMap(L"door*"));
  EXPECT_FALSE(scheme.RemoveMap(L"DOOR*"));
  EXPECT_EQ(FromPatterns(scheme), (Strings{L"WALLS", L"WIN?"}));
}

TEST(MapSchemeModel, VariableFlagsBelongToExistingMapsAndGoWithThem) {
  MapScheme scheme;
  EXPECT_FALSE(scheme.SetVariable(L"WALLS", true));
  scheme.SetMap(L"WALLS", L"S_LYR");
  EXPECT_TRUE(scheme.SetVariable(L"walls", true));
  scheme.SetMap(L"WALLS", L"C_LYR");
  EXPECT_TRUE(scheme.IsVariable(L"Walls"));

  MapScheme copy = scheme;
  scheme.RemoveMap(L"WALLS");
  scheme.SetMap(L"WALLS", L"PLAIN");
  EXPECT_FALSE(scheme.IsVariable(L"WALLS"));
  EXPECT_TRUE(copy.IsVariable(L"WALLS"));
  EXPECT_EQ(*copy.FindMap(L"WALLS"), L"C_LYR");
}

TEST(StoredForms, TheVariablePrefixIsFourCharactersInAnyCaseAndMapsSplitAtTheFirstComma) {
  const std::tuple<const wchar_t*, const wchar_t*, bool> prefixes[] = {
      {L"Var:S_LYR", L"S_LYR", true}, {L"VAR:S_LYR", L"S_LYR", true},      {L"var:", L"", true},
      {L"Var", L"Var", false},        {L"Var S_LYR", L"Var S_LYR", false},
  };
  for (const auto& [text, value, isVariable] : prefixes) {
    layermap::PrefixedValue split = layermap::SplitVariablePrefix(text);
    EXPECT_EQ(split.value, value) << text;
    EXPECT_EQ(split.isVariable, isVariable) << text;
  }
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, bool> maps[] = {
      {L"walls,A-WALL", L"WALLS", L"A-WALL", false},
      {L"W*,Var:S_LYR", L"W*", L"S_LYR", true},
      {L"A,B,C", L"A", L"B,C", false},
      {L"NOCOMMA", L"", L"NOCOMMA", false},
  };
  for (const auto& [text, from, to, isVariable] : maps) {
    layermap::StoredMap map = layermap::ParseStoredMap(text);
    EXPECT_EQ(map.from, from) << text;
    EXPECT_EQ(map.to, to) << text;
    EXPECT_EQ(map.isVariable, isVariable) << text;
  }
  EXPECT_EQ(layermap::FormatStoredMap(L"W*", L"S_LYR", true), L"W*,Var:S_LYR");
  EXPECT_EQ(layermap::JoinVariablePrefix(L"OBJECTS", false), L"OBJECTS");
}

TEST(CompanionVariables, EachVariableHasItsDescriptionBothWays) {
  ASSERT_EQ(layermap::CompanionVariables().size(), 8u);
  for (const layermap::CompanionVariable& entry : layermap::CompanionVariables()) {
    EXPECT_EQ(layermap::CompanionVariableOf(entry.description), entry.variable);
  }
  EXPECT_EQ(layermap::CompanionDescription(L"orve_dim_lyr"), L"ORVE PXT3 Dimension Layer");
  EXPECT_EQ(layermap::CompanionDescription(L"S_LYR"), L"ORVE PXT Object Layer");
  EXPECT_EQ(layermap::CompanionVariableOf(L"ORVE PXT Hidden Layer"), L"H_LYR");
  EXPECT_EQ(layermap::CompanionDescription(L"X_LYR"), std::nullopt);
}

// --- Resolve ---------------------------------------------------------------------------------

class ResolveTest : public HostSessionTest {
 protected:
  ~ResolveTest() override { layermap::SetAskNewMapFunction(nullptr); }

  static void SetLispString(const wchar_t* variable, const wchar_t* value) {
    layermap::ResBuf chain;
    chain.AppendString(value);
    ASSERT_TRUE(chain.PutSym(variable));
  }

  // The target of a copy of `name`, or "(unmapped)".
  static std::wstring TargetOf(MapScheme& scheme, std::wstring name) {
    std::wstring target = L"(unmapped)";
    scheme.Resolve(name, target);
    return target;
  }

  // Answers every question with `answer` and records the names asked about.
  void AnswerWith(std::optional<NewMapAnswer> answer) {
    layermap::SetAskNewMapFunction([this, answer](SchemeKind kind, const std::wstring& name) {
      asked_.push_back(name);
      askedKind_ = kind;
      return answer;
    });
  }

  Strings asked_;
  SchemeKind askedKind_ = SchemeKind::kLayer;
};

TEST_F(ResolveTest, NamesInAnyCaseMatchAnUpperCasePatternAndAStar) {
  for (const wchar_t* pattern : {L"WALLS", L"W*"}) {
    MapScheme scheme;
    scheme.SetMap(pattern, L"A-WALL");
    for (const wchar_t* name : {L"walls", L"WALLS", L"Walls"}) {
      EXPECT_EQ(TargetOf(scheme, name), L"A-WALL") << pattern << L" " << name;
    }
    EXPECT_EQ(TargetOf(scheme, L"DOORS"), L"(unmapped)");
  }
  MapScheme scheme;
  std::wstring name = L"doors";
  EXPECT_FALSE(scheme.Resolve(name, name));
  EXPECT_EQ(name, L"DOORS");  // upper-cased in place, target untouched
}

TEST_F(ResolveTest, AColourPatternMatchesItsDigitsOnly) {
  MapScheme scheme;
  scheme.SetKind(SchemeKind::kColor);
  scheme.SetMap(L"1", L"RED");
  EXPECT_EQ(TargetOf(scheme, L"1"), L"RED");
  EXPECT_EQ(TargetOf(scheme, L"10"), L"(unmapped)");
  scheme.SetMap(L"1#", L"TENS");
  EXPECT_EQ(TargetOf(scheme, L"10"), L"TENS");
}

TEST_F(ResolveTest, OfTwoMatchingPatternsTheFirstEnteredWinsOnEveryCall) {
  MapScheme scheme;
  scheme.SetMap(L"W*", L"FIRST");
  scheme.SetMap(L"*S", L"SECOND");
  for (int call = 0; call < 3; ++call) EXPECT_EQ(TargetOf(scheme, L"walls"), L"FIRST");
  scheme.SetMap(L"W*", L"FIRST-AGAIN");  // keeps its place
  EXPECT_EQ(TargetOf(scheme, L"walls"), L"FIRST-AGAIN");
}

TEST_F(ResolveTest, AVariableTargetIsTheVariablesStringOrElseItsName) {
  MapScheme scheme;
  scheme.SetMap(L"WALLS", L"S_LYR");
  scheme.SetVariable(L"WALLS", true);
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"S_LYR");
  SetLispString(L"S_LYR", L"OBJECTS");
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"OBJECTS");
  layermap::ResBuf real;
  real.AppendReal(2.0);
  ASSERT_TRUE(real.PutSym(L"S_LYR"));
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"S_LYR");
}

TEST_F(ResolveTest, ALowerCasePatternLoadedWithAVariableTargetStillEvaluatesIt) {
  SetLispString(L"C_LYR", L"CENTER");
  layermap::StoredMap stored = layermap::ParseStoredMap(L"center*,var:C_LYR");
  MapScheme scheme;
  ASSERT_TRUE(scheme.SetMap(L"center*", stored.to));
  ASSERT_TRUE(scheme.SetVariable(L"center*", stored.isVariable));
  EXPECT_EQ(TargetOf(scheme, L"Center2"), L"CENTER");
}

TEST_F(ResolveTest, IgnoreMapsNothingAndSpecificMapsEverythingElseToTheDefault) {
  MapScheme ignoring;
  ignoring.SetUnknownValue(L"NOT-USED");
  MapScheme defaulting;
  defaulting.SetUnknownMode(UnknownMode::kSpecific);
  defaulting.SetUnknownValue(L"MISC");
  defaulting.SetMap(L"WALLS", L"A-WALL");
  for (const wchar_t* name : {L"DOORS", L"1", L"*TEXT OBJECTS", L""}) {
    EXPECT_EQ(TargetOf(ignoring, name), L"(unmapped)");
    EXPECT_EQ(TargetOf(defaulting, name), L"MISC");
  }
  EXPECT_EQ(TargetOf(defaulting, L"walls"), L"A-WALL");

  defaulting.SetUnknownValue(L"DIM_LYR");
  defaulting.SetUnknownIsVariable(true);
  EXPECT_EQ(TargetOf(defaulting, L"X"), L"DIM_LYR");
  SetLispString(L"DIM_LYR", L"DIMENSIONS");
  EXPECT_EQ(TargetOf(defaulting, L"X"), L"DIMENSIONS");
}

TEST_F(ResolveTest, AnAskAnswerIsKeptAndTheSameNameIsNotAskedAgain) {
  AnswerWith(NewMapAnswer{L"A-DOOR", false});
  MapScheme scheme;
  scheme.SetKind(SchemeKind::kBlock);
  scheme.SetUnknownMode(UnknownMode::kAsk);
  for (const wchar_t* name : {L"doors", L"DOORS", L"Doors"}) {
    EXPECT_EQ(TargetOf(scheme, name), L"A-DOOR");
  }
  EXPECT_EQ(asked_, Strings{L"DOORS"});
  EXPECT_EQ(askedKind_, SchemeKind::kBlock);
  EXPECT_EQ(*scheme.FindMap(L"DOORS"), L"A-DOOR");
  EXPECT_FALSE(scheme.IsVariable(L"DOORS"));

  SetLispString(L"ORVE_S_LYR", L"OBJ");
  AnswerWith(NewMapAnswer{L"ORVE_S_LYR", true});
  EXPECT_EQ(TargetOf(scheme, L"walls"), L"OBJ");
  EXPECT_TRUE(scheme.IsVariable(L"WALLS"));
}

// An answer is kept for exactly the name asked about: wildcard characters in it are literal,
// so the map neither catches other names nor misses the name itself.
TEST_F(ResolveTest, AnAskAnswerMatchesExactlyTheNameItWasGivenFor) {
  struct Case {
    const wchar_t* name;
    const wchar_t* pattern;
    const wchar_t* other;  // a name the answer must not catch
  };
  for (const Case& c : {Case{L"~TMP", L"`~TMP", L"WALLS"}, Case{L"A#1", L"A`#1", L"A51"},
                        Case{L"A[1]", L"A`[1`]", L"A1"}, Case{L"X*.?@", L"X`*`.`?`@", L"XY-ZA"},
                        Case{L"Q`R", L"Q``R", L"QR"}}) {
    asked_.clear();
    AnswerWith(NewMapAnswer{L"TARGET", false});
    MapScheme scheme;
    scheme.SetUnknownMode(UnknownMode::kAsk);
    EXPECT_EQ(TargetOf(scheme, c.name), L"TARGET") << c.name;
    EXPECT_EQ(TargetOf(scheme, c.name), L"TARGET") << c.name;
    EXPECT_EQ(asked_.size(), 1u) << c.name << L" was asked again";
    ASSERT_NE(scheme.FindMap(c.pattern), nullptr) << c.name;
    AnswerWith(std::nullopt);
    EXPECT_EQ(TargetOf(scheme, c.other), L"(unmapped)") << c.name << L" caught " << c.other;
  }
}

TEST_F(ResolveTest, ACancelledQuestionMapsNothingAndAddsNothing) {
  MapScheme scheme;
  scheme.SetUnknownMode(UnknownMode::kAsk);
  // Until the dialogs install the question, every question is cancelled.
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"(unmapped)");
  AnswerWith(std::nullopt);
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"(unmapped)");
  AnswerWith(NewMapAnswer{L"", false});  // no target: cancelled as well
  EXPECT_EQ(TargetOf(scheme, L"WALLS"), L"(unmapped)");
  EXPECT_EQ(asked_.size(), 2u);
  EXPECT_EQ(scheme.MapCount(), 0u);
}

}  // namespace
}  // namespace layermaptest

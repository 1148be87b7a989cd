// The scheme dialogs: their rules (names, maps, the companion variables' letters, the colour
// the colour dialog opens at, the caption padding) and the New Map dialog driven by scripts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "LayermapTestSupport.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "fw/UiScript.h"
#include "layermap/NewMap.h"
#include "layermap/ResBuf.h"
#include "layermap/SchemeDlgRules.h"
#include "layermap/SchemeDlgTemplates.h"

namespace layermaptest {
namespace {

using layermap::SchemeKind;
using Strings = std::vector<std::wstring>;
using Message = std::optional<std::wstring>;

const fw::ModuleResources testResources(&testResources, {layermap::NewMapTemplate()}, {});

TEST(SchemeDialogRules, ANewSchemeNeedsANameAKindAndANameNoSchemeHasInAnyCase) {
  const Strings existing = {L"Walls", L"Doors"};
  struct Case {
    const wchar_t* name;
    int kind;
    Message expected;
  };
  const Case cases[] = {
      {L"Windows", 0, std::nullopt},
      {L"", 2, layermap::kNotAllFilled},
      {L"Windows", -1, layermap::kNotAllFilled},
      {L"WALLS", 1, layermap::kSchemeDefined},
      {L"doors", 3, layermap::kSchemeDefined},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.name));
    EXPECT_EQ(layermap::SchemeTypeError(c.name, c.kind, existing), c.expected);
  }
}

TEST(SchemeDialogRules, ANewMapIsCheckedFromFirstThenDuplicateThenTo) {
  const Strings existing = {L"WALLS", L"*TEXT OBJECTS"};
  struct Case {
    const wchar_t* from;
    const wchar_t* to;
    Message expected;
  };
  const Case cases[] = {
      {L"DOORS", L"A-DOOR", std::nullopt},   {L"", L"", layermap::kFromEmpty},
      {L"WALLS", L"", layermap::kMapExists}, {L"*TEXT OBJECTS", L"TEXT", layermap::kMapExists},
      {L"DOORS", L"", layermap::kToEmpty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.from));
    EXPECT_EQ(layermap::NewMapError(c.from, c.to, existing), c.expected);
  }
}

TEST(SchemeDialogRules, ACompanionDescriptionBecomesItsVariableByItsLetter) {
  struct Case {
    const wchar_t* description;
    std::optional<std::wstring> variable;
  };
  const Case cases[] = {
      {L"ORVE PXT3 CENTER LAYER", L"ORVE_C_LYR"},
      {L"ORVE PXT3 HIDDEN LAYER", L"ORVE_H_LYR"},
      {L"ORVE PXT3 OBJECT LAYER", L"ORVE_S_LYR"},
      {L"ORVE PXT3 DIMENSION LAYER", L"ORVE_DIM_LYR"},
      {L"ORVE PXT OBJECT LAYER", L"S_LYR"},
      {L"ORVE PXT DIMENSION LAYER", L"DIM_LYR"},
      {L"ORVE PXT CENTER LAYER", L"C_LYR"},
      {L"ORVE PXT3 ZIGZAG LAYER", std::nullopt},
      {L"ORVE PXT", std::nullopt},
      {L"ORVE PXT3", std::nullopt},
      {L"WALLS", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.description));
    EXPECT_EQ(layermap::CompanionVariableForDescription(c.description), c.variable);
  }
}

TEST(SchemeDialogRules, TheColourDialogOpensAtTheFromColourOrWhite) {
  struct Case {
    const wchar_t* from;
    int start;
  };
  const Case cases[] = {{L"3", 3},  {L"255", 255}, {L"0", 7},   {L"256", 7},
                        {L"-4", 7}, {L"", 7},      {L"RED", 7}, {L" 12", 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.from));
    EXPECT_EQ(layermap::ColorDialogStart(c.from), c.start);
  }
}

TEST(SchemeDialogRules, ACaptionGetsAsManyBlanksAsFitAndNeverFewerThanNone) {
  struct Case {
    layermap::CaptionMeasures measures;
    int blanks;
  };
  const Case cases[] = {
      // 400 - 120 - 60 - 2*3 - 36 - 4 = 174 pixels of room, 3 a blank.
      {{400, 120, 60, 3, 3, 36}, 58},
      {{200, 120, 60, 3, 3, 36}, 0},
      {{400, 120, 60, 0, 3, 36}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layermap::CaptionBlankCount(c.measures), c.blanks);
  }
}

class NewMapDialog : public HostSessionTest {
 protected:
  // Runs the dialog with the script; returns its end code.
  int Run(layermap::NewMap& dialog, const std::string& script) {
    fw::Result<std::vector<fw::UiStep>> steps = fw::ParseUiScript(script);
    EXPECT_TRUE(steps) << fw::ToUtf8(steps.Message());
    if (steps) driver_.AddSteps(steps.Value());
    int code = dialog.DoModal();
    EXPECT_TRUE(driver_.Finish());
    return code;
  }

  // The dialogs find their template among the resources of the module whose code runs.
  fw::ModuleStateScope moduleState_{fw::ModuleFromAddress(&testResources)};
};

TEST_F(NewMapDialog, TheTargetIsAVariableExactlyWhenTheDialogSaysSo) {
  layermap::ResBuf value;
  ASSERT_TRUE(value.AppendString(L"CENTER"));
  ASSERT_TRUE(value.PutSym(L"ORVE_C_LYR"));
  struct Case {
    const char* script;
    SchemeKind kind;
    int code;
    const wchar_t* from;
    const wchar_t* to;
    bool isVariable;
    Strings messages;
  };
  const Case cases[] = {
      // A companion description picked from the list is stored as its variable.
      {"text 239 \" roofs \"\nchoose 290 \"ORVE PXT3 Center Layer\"\nclick 1\n",
       SchemeKind::kLayer,
       fw::IDOK,
       L"ROOFS",
       L"ORVE_C_LYR",
       true,
       {}},
      // A layer picked from the list is a layer, though the box was checked before.
      {"text 239 \"w*\"\ncheck 288 on\nchoose 290 \"0\"\nclick 1\n",
       SchemeKind::kLayer,
       fw::IDOK,
       L"W*",
       L"0",
       false,
       {}},
      // A typed target is a variable when the box says so.
      {"text 239 \"doors\"\ntext 290 \"my_lyr\"\ncheck 288 on\nclick 1\n",
       SchemeKind::kLayer,
       fw::IDOK,
       L"DOORS",
       L"MY_LYR",
       true,
       {}},
      // A From the scheme has already is refused and the dialog stays open.
      {"text 239 \"Walls\"\ntext 290 \"X\"\nclick 1\nclose\n",
       SchemeKind::kLayer,
       fw::IDCANCEL,
       L"WALLS",
       L"X",
       false,
       {layermap::kMapExists}},
      // The Text and Dimension boxes of a Linetype scheme make the pseudo-name.
      {"click 287\nclick 224\ntext 290 \"notes\"\nclick 1\n",
       SchemeKind::kLinetype,
       fw::IDOK,
       L"*TEXT AND DIMENSION OBJECTS",
       L"NOTES",
       false,
       {}},
      // A Color scheme's From comes from the colour dialog, which opens at white for nothing.
      {"click 240\nanswer color 5\ntext 290 \"red\"\nclick 1\n",
       SchemeKind::kColor,
       fw::IDOK,
       L"5",
       L"RED",
       false,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::size_t shown = driver_.Messages().size();
    layermap::NewMap dialog;
    dialog.kind = c.kind;
    dialog.existingFroms = {L"WALLS"};
    EXPECT_EQ(Run(dialog, c.script), c.code);
    if (c.code == fw::IDOK) {
      EXPECT_EQ(dialog.from, c.from);
      EXPECT_EQ(dialog.to, c.to);
      EXPECT_EQ(dialog.isVariable, c.isVariable);
    }
    Strings messages;
    for (std::size_t i = shown; i < driver_.Messages().size(); ++i) {
      messages.push_back(driver_.Messages()[i].text);
    }
    EXPECT_EQ(messages, c.messages);
  }
}

TEST_F(NewMapDialog, TheAskedFormLocksTheFromAndTheControlsThatWouldChangeIt) {
  // Each step fails on a disabled control, which ends the script.
  for (const char* step : {"text 239 \"3\"\n", "click 240\n"}) {
    SCOPED_TRACE(step);
    fw::HeadlessUiDriver driver;
    fw::SetUiDriver(&driver);
    fw::Result<std::vector<fw::UiStep>> steps = fw::ParseUiScript(step);
    ASSERT_TRUE(steps);
    driver.AddSteps(steps.Value());
    layermap::NewMap asked;
    asked.kind = SchemeKind::kColor;
    asked.asked = true;
    asked.from = L"12";
    asked.DoModal();
    EXPECT_FALSE(driver.Finish());
    EXPECT_EQ(asked.from, L"12");
    fw::SetUiDriver(&driver_);
  }
}

}  // namespace
}  // namespace layermaptest

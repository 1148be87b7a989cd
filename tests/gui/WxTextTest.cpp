// What reaches wx from the model: texts always valid and bounded, and the base units of the
// template font by the platform's rule.
#include <gtest/gtest.h>

#include <string>

#include "gui/DialogUnits.h"
#include "fw/NativePath.h"
#include "gui/WxText.h"

namespace {

TEST(WxText, ShowsEveryTextReadablyAndBounded) {
  const std::wstring longName(100000, L'a');
  struct Case {
    const char* name;
    std::wstring text;
    gui::TextUse use;
    std::wstring shown;
  };
  const Case cases[] = {
      {"plain", L"Hex Bolt M8 \u00e9", gui::TextUse::kLine, L"Hex Bolt M8 \u00e9"},
      // A name's bytes that were not UTF-8 arrive as lone surrogates.
      {"not UTF-8", L"Valve\xDCFF\xDC80.dwg", gui::TextUse::kLine, L"Valve\uFFFD\uFFFD.dwg"},
      {"beyond Unicode", std::wstring(1, static_cast<wchar_t>(0x110000)), gui::TextUse::kLine,
       L"\uFFFD"},
      {"controls", L"a\x01\tb\x7f\x9b", gui::TextUse::kLine, L"a\uFFFD\tb\uFFFD\uFFFD"},
      {"line end in a label", L"a\r\nb", gui::TextUse::kLine, L"a\uFFFD\uFFFDb"},
      {"line end kept", L"a\r\nb\nc", gui::TextUse::kMultiline, L"a\nb\nc"},
      {"huge", longName, gui::TextUse::kLine,
       std::wstring(gui::kMaxShownChars - 1, L'a') + L"\u2026"},
      {"just fits", std::wstring(gui::kMaxShownChars, L'b'), gui::TextUse::kLine,
       std::wstring(gui::kMaxShownChars, L'b')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gui::ShownText(c.text, c.use), c.shown);
    // What wx gets is the same characters, valid throughout.
    EXPECT_EQ(gui::ToWx(c.text, c.use).ToStdWstring(), c.shown);
  }
}

TEST(WxText, PathsKeepTheirBytesThroughWx) {
  // A folder picked in wx must name the same file: a name that is not UTF-8, one with blanks
  // and quotes, and one in another script.
  for (const char* bytes : {"/tmp/Caf\xE9 \"blocks\"/valve.dwg", "/tmp/\xD0\x9A\xD1\x80\xD0\xB0\xD0\xBD",
                            "/tmp/plain"}) {
    SCOPED_TRACE(bytes);
    const std::wstring path = fw::FromNativePath(bytes);
    EXPECT_EQ(fw::NativePath(gui::PathFromWx(gui::PathToWx(path))), bytes);
  }
}

TEST(DialogUnits, BaseUnitsFollowThePlatformsRounding) {
  struct Case {
    int alphabetWidth;
    int charHeight;
    fw::CSize units;
  };
  const Case cases[] = {
      // 8-point sans at 96 dpi: 52 letters in 312 pixels average 6.
      {312, 13, {6, 13}},
      {338, 16, {7, 16}},  // 6.5 rounds up
      {337, 16, {6, 16}},  // just under 6.5 rounds down
      {0, 0, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alphabetWidth);
    EXPECT_EQ(gui::BaseUnitsFromExtent(c.alphabetWidth, c.charHeight), c.units);
  }
}

}  // namespace

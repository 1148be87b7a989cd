// Parsing and writing the text of an initialisation file, without the disk.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "settings/IniFile.h"

namespace {

using settings::CStringToObMap;
using settings::CStringToStringMap;
using settings::FormatIniText;

using Keys = std::vector<std::pair<std::wstring, std::wstring>>;
using Sections = std::vector<std::pair<std::wstring, Keys>>;

Sections Dump(const CStringToObMap& map) {
  Sections sections;
  for (const auto& [name, keys] : map) {
    Keys pairs;
    for (const auto& [key, value] : *keys) pairs.emplace_back(key, value);
    sections.emplace_back(name, std::move(pairs));
  }
  return sections;
}

CStringToObMap ParseIniText(std::string_view bytes) {
  std::optional<CStringToObMap> parsed = settings::ParseIniText(bytes);
  EXPECT_TRUE(parsed.has_value());
  return parsed ? std::move(*parsed) : CStringToObMap();
}

Sections Parse(std::string_view bytes) { return Dump(ParseIniText(bytes)); }

// Parsing what was written gives the same map back.
void ExpectRoundTrip(std::string_view bytes) {
  CStringToObMap parsed = ParseIniText(bytes);
  std::string written = FormatIniText(parsed);
  EXPECT_TRUE(ParseIniText(written) == parsed) << written;
}

TEST(IniText, FoldsSectionAndKeyNamesButNotValues) {
  EXPECT_EQ(Parse("[Quorva Options]\nBlockInsert=Yes Please\n"),
            (Sections{{L"quorva options", {{L"blockinsert", L"Yes Please"}}}}));
  EXPECT_EQ(FormatIniText(ParseIniText("[MiXeD]\nKeY=VaLuE\n")), "[mixed]\nkey=VaLuE\n");
}

TEST(IniText, KeepsEverythingAfterTheFirstEquals) {
  EXPECT_EQ(Parse("[s]\nmap1=A=B,c==d\n"), (Sections{{L"s", {{L"map1", L"A=B,c==d"}}}}));
}

TEST(IniText, KeepsBlanksAroundTheEqualsButTrimsTheLine) {
  EXPECT_EQ(Parse("[s]\n  Key \t=  value  \r\n"), (Sections{{L"s", {{L"key \t", L"  value"}}}}));
}

TEST(IniText, SkipsCommentLinesEvenWhenTheyHoldAnEquals) {
  EXPECT_EQ(Parse("; top\n[s]\n  ;key=value\na=1\n;\n"), (Sections{{L"s", {{L"a", L"1"}}}}));
}

TEST(IniText, KeepsALineWithASemicolonFurtherInAsAKeyWithItsCase) {
  EXPECT_EQ(Parse("[s]\nNot;A Comment\n"), (Sections{{L"s", {{L"Not;A Comment", L""}}}}));
}

TEST(IniText, KeepsTheCaseOfKeyLinesWithoutEquals) {
  EXPECT_EQ(Parse("[s]\nMixedCase\nmixedcase\n"),
            (Sections{{L"s", {{L"MixedCase", L""}, {L"mixedcase", L""}}}}));
}

TEST(IniText, WritesTwoBlankLinesBackAsOneAtThePositionOfTheFirst) {
  CStringToObMap parsed = ParseIniText("[s]\na=1\n\n  \nb=2\n");
  EXPECT_EQ(Dump(parsed), (Sections{{L"s", {{L"a", L"1"}, {L"", L""}, {L"b", L"2"}}}}));
  EXPECT_EQ(FormatIniText(parsed), "[s]\na=1\n\nb=2\n");
}

TEST(IniText, RepeatedHeaderKeepsOnlyItsLastKeysAtItsFirstPosition) {
  EXPECT_EQ(Parse("[A]\nold=1\n[b]\nx=2\n[a]\nnew=3\n"),
            (Sections{{L"a", {{L"new", L"3"}}}, {L"b", {{L"x", L"2"}}}}));
}

TEST(IniText, RepeatedKeyTakesTheLaterValueAtItsFirstPosition) {
  EXPECT_EQ(Parse("[s]\nk=1\nother=2\nK=3\n"), (Sections{{L"s", {{L"k", L"3"}, {L"other", L"2"}}}}));
}

TEST(IniText, DropsKeyLinesBeforeTheFirstHeader) {
  EXPECT_EQ(Parse("stray=1\nLoose\n\n[first]\nkept=2\n"),
            (Sections{{L"first", {{L"kept", L"2"}}}}));
  EXPECT_EQ(Parse("stray=1\n"), Sections{});
}

// The writer puts one bracket on each side, so names ending or starting in brackets (a folder
// "pumps [old]", a scheme "[v2] Doors") come back whole.
TEST(IniText, StripsExactlyOneBracketOnEachSideAndNothingElse) {
  EXPECT_EQ(Parse("[[Name]]\n[ spaced ]\n[open\n[]\n[a]b]]]\n"),
            (Sections{{L"[name]", {}}, {L" spaced ", {}}, {L"open", {}}, {L"", {}}, {L"a]b]]", {}}}));
  for (const char* name : {"/lib/pumps [old]", "[v2] Doors", "Doors [v2]]", "plain"}) {
    const std::string text = std::string("[") + name + "]\nk=v\n";
    EXPECT_EQ(FormatIniText(ParseIniText(text)), fw::NativePath(fw::ToLower(fw::FromNativePath(text))))
        << name;
  }
}

TEST(IniText, TakesAHeaderLineWithAnEqualsAsAHeader) {
  EXPECT_EQ(Parse("[/lib/a=b]\nk=v\n"), (Sections{{L"/lib/a=b", {{L"k", L"v"}}}}));
}

TEST(IniText, AcceptsCrLfLineEndsAndALastLineWithoutOne) {
  EXPECT_EQ(Parse("[s]\r\na=1\r\nb=2"), (Sections{{L"s", {{L"a", L"1"}, {L"b", L"2"}}}}));
}

TEST(IniText, KeepsALoneCarriageReturnInsideALine) {
  EXPECT_EQ(Parse("[s]\na\rb=1\n"), (Sections{{L"s", {{L"a\rb", L"1"}}}}));
}

TEST(IniText, SkipsAByteOrderMarkAtTheStart) {
  EXPECT_EQ(Parse("\xEF\xBB\xBF[s]\na=1\n"), (Sections{{L"s", {{L"a", L"1"}}}}));
}

TEST(IniText, DecodesUtf8AndFoldsNonAsciiNames) {
  EXPECT_EQ(Parse("[\xC3\x84RGER]\n\xC3\x9C=Gr\xC3\xBC\xC3\x9F\n"),
            (Sections{{L"\u00E4rger", {{L"\u00FC", L"Gr\u00FC\u00DF"}}}}));
}

// A folder copied from elsewhere may have a name that is not UTF-8; its section and its path
// must be written back byte for byte.
TEST(IniText, KeepsBytesThatAreNotUtf8AsTheyWere) {
  EXPECT_EQ(Parse("[s]\nk=\xFF\n"), (Sections{{L"s", {{L"k", fw::FromNativePath("\xFF")}}}}));
  ExpectRoundTrip("[/lib/Biblioth\xE8que]\ndescription=caf\xE9\n[Paths]\nPath1=/lib/Biblioth\xE8que\n");
  const std::string text = "[/lib/biblioth\xE8que]\nk=\xC3\n";
  EXPECT_EQ(FormatIniText(ParseIniText(text)), text);
}

TEST(IniText, WritesSectionsAndKeysInOrderWithEmptyValuesAsBareKeys) {
  CStringToObMap map;
  map.GetOrAdd(L"quorva options").SetAt(L"column1width", L"140");
  map.GetOrAdd(L"paths");
  CStringToStringMap& directory = map.GetOrAdd(L"/lib/\u00E9");
  directory.SetAt(L"description", L"");
  directory.SetAt(L"scale", L"Prompt");
  EXPECT_EQ(FormatIniText(map),
            "[quorva options]\ncolumn1width=140\n[paths]\n[/lib/\xC3\xA9]\ndescription\n"
            "scale=Prompt\n");
  EXPECT_EQ(FormatIniText(CStringToObMap()), "");
}

TEST(IniText, WritesTheEqualsOfAnEmptyValueWhenTheKeyEndsInBlanks) {
  CStringToObMap parsed = ParseIniText("[s]\nkey =\n");
  EXPECT_EQ(Dump(parsed), (Sections{{L"s", {{L"key ", L""}}}}));
  EXPECT_EQ(FormatIniText(parsed), "[s]\nkey =\n");
}

TEST(IniText, WritesALineFeedInsideANameOrValueAsASpace) {
  CStringToObMap map;
  map.GetOrAdd(L"s").SetAt(L"description", L"two\nlines\n[paths]");
  EXPECT_EQ(FormatIniText(map), "[s]\ndescription=two lines [paths]\n");
}

TEST(IniText, ReadsBackWhatItWrote) {
  ExpectRoundTrip(
      "; settings\n[Quorva Options]\nColumn1Width=140\nCacheFile=/home/u/qv35.cache\n\n"
      "[Paths]\nNumPaths=1\nPath1=/lib/Doors\n[/lib/Doors]\nDescription\nScale = Prompt\n"
      "[Schemes]\nNumSchemes=1\nScheme1=Walls\n[Walls]\nMap1=W*,Var:wall\n");
}

// Each byte of a small file flipped, zeroed or set to 0xFF, and the file cut at every length:
// every variant parses, and what it writes reads back the same.
TEST(IniText, EveryDamagedVariantOfAFileReadsBackWhatItWrites) {
  const std::string valid =
      "\xEF\xBB\xBF[Opt]\r\nA=1\r\n;c=d\r\n[[P]]\nk\xC3\xA9y = v=w\n\n\nK\n[opt]\nz=9";
  for (std::size_t length = 0; length <= valid.size(); ++length) {
    ExpectRoundTrip(valid.substr(0, length));
  }
  for (std::size_t i = 0; i < valid.size(); ++i) {
    for (char replacement : {static_cast<char>(~valid[i]), '\0', '\xFF', '\n', '[', '='}) {
      std::string damaged = valid;
      damaged[i] = replacement;
      ExpectRoundTrip(damaged);
    }
  }
}

}  // namespace

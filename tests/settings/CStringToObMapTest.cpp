// The sections of one file: first-insertion order, replacement in place and ownership.
#include "settings/CStringToObMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using settings::CStringToObMap;
using settings::CStringToStringMap;

std::vector<std::wstring> Names(const CStringToObMap& map) {
  std::vector<std::wstring> names;
  for (const auto& entry : map) names.push_back(entry.name);
  return names;
}

TEST(CStringToObMap, SetEmptyDropsTheEarlierKeysAndKeepsThePosition) {
  CStringToObMap map;
  map.GetOrAdd(L"first").SetAt(L"old", L"1");
  map.GetOrAdd(L"second");
  CStringToStringMap& replaced = map.SetEmpty(L"first");
  EXPECT_TRUE(replaced.IsEmpty());
  EXPECT_EQ(map.Lookup(L"first"), &replaced);
  EXPECT_EQ(Names(map), (std::vector<std::wstring>{L"first", L"second"}));
}

TEST(CStringToObMap, GetOrAddKeepsAPresentSectionAndAppendsANewOne) {
  CStringToObMap map;
  map.GetOrAdd(L"s").SetAt(L"k", L"v");
  EXPECT_NE(map.GetOrAdd(L"s").Lookup(L"k"), nullptr);
  map.GetOrAdd(L"S");
  EXPECT_EQ(Names(map), (std::vector<std::wstring>{L"s", L"S"}));
}

TEST(CStringToObMap, ASectionStaysWhereItIsWhileOthersAreAdded) {
  CStringToObMap map;
  CStringToStringMap& first = map.GetOrAdd(L"first");
  for (int i = 0; i < 1000; ++i) map.GetOrAdd(std::to_wstring(i));
  first.SetAt(L"k", L"v");  // the address sanitizer reports a section that moved
  EXPECT_EQ(map.Lookup(L"first")->GetCount(), 1u);
}

TEST(CStringToObMap, IsEqualWhenNamesOrderAndKeysAgree) {
  auto made = [](const wchar_t* firstName, const wchar_t* value) {
    CStringToObMap map;
    map.GetOrAdd(firstName).SetAt(L"k", value);
    map.GetOrAdd(firstName == std::wstring(L"a") ? L"b" : L"a");
    return map;
  };
  EXPECT_TRUE(made(L"a", L"1") == made(L"a", L"1"));
  EXPECT_FALSE(made(L"a", L"1") == made(L"a", L"2"));
  EXPECT_FALSE(made(L"a", L"1") == made(L"b", L"1"));
  EXPECT_FALSE(made(L"a", L"1") == CStringToObMap());
}

}  // namespace

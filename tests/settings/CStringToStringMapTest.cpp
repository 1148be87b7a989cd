// The keys of one section: first-insertion order and replacement in place.
#include "settings/CStringToStringMap.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using settings::CStringToStringMap;
using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

CStringToStringMap Made(const Pairs& pairs) {
  CStringToStringMap map;
  for (const auto& [key, value] : pairs) map.SetAt(key, value);
  return map;
}

Pairs InOrder(const CStringToStringMap& map) {
  Pairs pairs;
  for (const auto& [key, value] : map) pairs.emplace_back(key, value);
  return pairs;
}

TEST(CStringToStringMap, IteratesInFirstInsertionOrderAndReplacesInPlace) {
  CStringToStringMap map = Made({{L"zeta", L"1"}, {L"alpha", L"2"}, {L"mid", L"3"}});
  map.SetAt(L"zeta", L"4");
  EXPECT_EQ(InOrder(map), (Pairs{{L"zeta", L"4"}, {L"alpha", L"2"}, {L"mid", L"3"}}));
  ASSERT_NE(map.Lookup(L"alpha"), nullptr);
  EXPECT_EQ(*map.Lookup(L"alpha"), L"2");
  EXPECT_EQ(map.Lookup(L"ALPHA"), nullptr);
}

TEST(CStringToStringMap, IsEqualOnlyWithTheSameOrder) {
  CStringToStringMap first = Made({{L"a", L"1"}, {L"b", L"2"}});
  EXPECT_TRUE(first == Made({{L"a", L"0"}, {L"b", L"2"}, {L"a", L"1"}}));
  EXPECT_FALSE(first == Made({{L"b", L"2"}, {L"a", L"1"}}));
}

}  // namespace

// The scheme table: exact names, the order of entry, replacing in place, ownership.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layermap/SchemeTable.h"

namespace layermaptest {
namespace {

using layermap::MapScheme;
using layermap::SchemeKind;
using layermap::SchemeTable;
using Strings = std::vector<std::wstring>;

std::unique_ptr<MapScheme> SchemeOfKind(SchemeKind kind) {
  auto scheme = std::make_unique<MapScheme>();
  scheme->SetKind(kind);
  return scheme;
}

TEST(SchemeTable, KeepsTheOrderOfEntryAndReplacesASchemeInItsPlace) {
  SchemeTable table;
  table.Add(L"Walls", SchemeOfKind(SchemeKind::kLayer));
  table.Add(L"Colours", SchemeOfKind(SchemeKind::kColor));
  table.Add(L"Blocks", SchemeOfKind(SchemeKind::kBlock));
  MapScheme* replacement = table.Add(L"Walls", SchemeOfKind(SchemeKind::kLinetype));
  EXPECT_EQ(table.Names(), (Strings{L"Walls", L"Colours", L"Blocks"}));
  EXPECT_EQ(table.Find(L"Walls"), replacement);
  EXPECT_EQ(table.Entries().front().scheme->GetKind(), SchemeKind::kLinetype);
  EXPECT_EQ(table.Count(), 3u);
  EXPECT_EQ(table.Add(L"Null", nullptr), nullptr);
  EXPECT_EQ(table.Count(), 3u);
}

TEST(SchemeTable, NamesAreComparedExactly) {
  SchemeTable table;
  table.Add(L"Walls", SchemeOfKind(SchemeKind::kLayer));
  EXPECT_EQ(table.Find(L"WALLS"), nullptr);
  EXPECT_EQ(table.Find(layermap::kNoSchemeName), nullptr);
  table.Add(L"WALLS", SchemeOfKind(SchemeKind::kColor));
  EXPECT_EQ(table.Count(), 2u);
  EXPECT_TRUE(table.Remove(L"Walls"));
  EXPECT_FALSE(table.Remove(L"Walls"));
  EXPECT_EQ(table.Names(), Strings{L"WALLS"});
  table.Clear();
  EXPECT_EQ(table.Count(), 0u);
}

TEST(SchemeTable, TheProcessHasOneTable) {
  layermap::SchemeMap().Add(L"Shared", SchemeOfKind(SchemeKind::kBlock));
  EXPECT_NE(layermap::SchemeMap().Find(L"Shared"), nullptr);
  layermap::SchemeMap().Clear();
}

}  // namespace
}  // namespace layermaptest

// The result-buffer wrapper: type folding, appends and reads, the host calls it makes against
// minicad's host, fills, sublists, removal and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "LayermapTestSupport.h"
#include "arx/acedads.h"
#include "arx/acutads.h"
#include "layermap/ResBuf.h"
#include "minicad/ResultBuffers.h"

namespace layermaptest {
namespace {

using layermap::ResBuf;
using Types = std::vector<int>;

// The type codes by position, after checking that the index holds exactly the elements that
// the links reach, in their order.
Types TypesOf(const ResBuf& chain) {
  std::vector<const resbuf*> linked;
  for (const resbuf* element = chain.Head(); element != nullptr; element = element->rbnext) {
    linked.push_back(element);
  }
  EXPECT_EQ(linked.size(), static_cast<std::size_t>(chain.Count()));
  Types types;
  for (int i = 0; i < chain.Count(); ++i) {
    if (static_cast<std::size_t>(i) < linked.size()) {
      EXPECT_EQ(chain.Element(i), linked[static_cast<std::size_t>(i)]) << "position " << i;
    }
    types.push_back(chain.TypeAt(i));
  }
  return types;
}

// "x" (1 (2) 3) "y"
ResBuf NestedLists() {
  ResBuf chain;
  chain.AppendString(L"x");
  chain.AppendListBegin();
  chain.AppendShort(1);
  chain.AppendListBegin();
  chain.AppendShort(2);
  chain.AppendListEnd();
  chain.AppendShort(3);
  chain.AppendListEnd();
  chain.AppendString(L"y");
  return chain;
}

class ResBufFolding : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(ResBufFolding, FoldsEachCodeIntoItsValueClass) {
  EXPECT_EQ(ResBuf::FoldType(GetParam().first), GetParam().second) << GetParam().first;
}

// Both ends of every row, and codes just outside them, which keep their own value.
INSTANTIATE_TEST_SUITE_P(
    Table, ResBufFolding,
    ::testing::ValuesIn(std::vector<std::pair<int, int>>{
        {RTPICKS, RTENAME}, {RTANG, RTREAL}, {RTORINT, RTREAL}, {RTSTR, RTSTR},
        {RTDXF0, RTDXF0},   {0, 0},          {1, RTSTR},        {9, RTSTR},
        {10, RT3DPOINT},    {17, RT3DPOINT}, {18, 18},          {37, 37},
        {38, RTREAL},       {59, RTREAL},    {60, RTSHORT},     {79, RTSHORT},
        {80, 80},           {90, RTLONG},    {99, RTLONG},      {100, RTENAME},
        {101, 101},         {102, RTSTR},    {140, RTREAL},     {149, RTREAL},
        {170, RTSHORT},     {179, RTSHORT},  {210, RT3DPOINT},  {219, RT3DPOINT},
        {270, RTSHORT},     {289, RTSHORT},  {290, 290},        {300, RTSTR},
        {309, RTSTR},       {310, 310},      {320, RTSTR},      {329, RTSTR},
        {330, RTENAME},     {369, RTENAME},  {370, 370},        {1000, RTSTR},
        {1003, RTSTR},      {1004, 1004},    {1005, RTSTR},     {1010, RT3DPOINT},
        {1013, RT3DPOINT},  {1014, 1014},    {1040, RTREAL},    {1042, RTREAL},
        {1070, RTSHORT},    {1071, RTLONG},  {1072, 1072},      {-1, RTENAME},
        {-2, -2},           {-3, RTSTR},     {-4, RTSTR},       {-5, -5}}));

class ResBufTest : public HostSessionTest {};

TEST_F(ResBufTest, AnEmptyWrapperReadsAsMissingWithoutAMessage) {
  ResBuf chain;
  EXPECT_TRUE(chain.IsOwned());
  EXPECT_FALSE(chain.IsFilling());
  EXPECT_EQ(chain.IntegerAt(0), 2147483647);
  EXPECT_TRUE(std::isinf(chain.RealAt(0)) && chain.RealAt(0) > 0);
  EXPECT_EQ(chain.TypeAt(0), RTNONE);
  std::wstring text = L"untouched";
  EXPECT_FALSE(chain.GetString(0, text));
  EXPECT_EQ(text, L"untouched");
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(ResBufTest, TheElementAtCountShowsTheMessageAndYieldsNull) {
  ResBuf chain;
  chain.AppendShort(1);
  EXPECT_NE(chain.Element(0), nullptr);
  EXPECT_EQ(chain.Element(chain.Count()), nullptr);
  EXPECT_EQ(chain.Element(-1), nullptr);
  EXPECT_EQ(ShownTexts(), (std::vector<std::wstring>(2, L"ResBuf: Index out of range.")));
}

TEST_F(ResBufTest, AppendsKeepTheirCodesAndReadsFoldThem) {
  ads_point corner = {1.0, 2.0, 3.0};
  ads_name entity = {0x1234, 0};
  AcDbObjectId object;
  object.setFromOldId(0x5678);
  ResBuf chain;
  chain.AppendShort(62);
  chain.AppendLong(70000, 1071);
  chain.AppendReal(2.5, RTANG);
  chain.AppendString(L"WALLS", 8);
  chain.AppendPoint(corner, 10);
  chain.AppendPoint(corner, RTPOINT);
  chain.AppendName(entity);
  chain.AppendObjectId(object);
  chain.AppendBool(true);
  chain.AppendNone();
  chain.AppendDottedPair();
  EXPECT_FALSE(chain.AppendString(nullptr));
  EXPECT_FALSE(chain.AppendObjectId(AcDbObjectId::kNull));
  EXPECT_EQ(TypesOf(chain),
            (Types{RTSHORT, 1071, RTANG, 8, 10, RTPOINT, RTENAME, RTENAME, RTT, RTNONE, RTDOTE}));

  EXPECT_EQ(chain.IntegerAt(0), 62);
  EXPECT_EQ(chain.IntegerAt(1), 70000);
  EXPECT_EQ(chain.RealAt(2), 2.5);
  std::wstring layer;
  EXPECT_TRUE(chain.GetString(3, layer));
  EXPECT_EQ(layer, L"WALLS");
  ads_point point = {0, 0, 0};
  EXPECT_TRUE(chain.GetPoint(4, point) && point[Z] == 3.0);
  EXPECT_TRUE(chain.GetPoint(5, point) && point[Y] == 2.0 && point[Z] == 0.0);
  ads_name name = {0, 0};
  EXPECT_TRUE(chain.GetName(6, name) && name[0] == 0x1234);
  EXPECT_TRUE(chain.GetName(7, name) && name[0] == 0x5678);
  bool flag = false;
  EXPECT_TRUE(chain.GetBool(8, flag) && flag);

  // Another class: false, and the output stays as it was.
  double real = -1;
  int integer = -1;
  EXPECT_FALSE(chain.GetReal(3, real) || chain.GetInteger(2, integer) || chain.GetBool(0, flag));
  EXPECT_EQ(real, -1);
  EXPECT_EQ(integer, -1);
  EXPECT_EQ(chain.RealAt(0), ResBuf::kMissingReal);
  EXPECT_EQ(chain.IntegerAt(2), ResBuf::kMissingInteger);
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(ResBufTest, ASixteenBitVariableSavedAndWrittenBackWithItsCodeIsRestoredExactly) {
  ResBuf precision;
  precision.AppendShort(6);
  ASSERT_TRUE(precision.SetVar(L"LUPREC"));
  ResBuf saved;
  ASSERT_TRUE(saved.GetVar(L"luprec"));
  EXPECT_EQ(TypesOf(saved), Types{RTSHORT});

  ResBuf changed;
  changed.AppendShort(2);
  ASSERT_TRUE(changed.SetVar(L"LUPREC"));
  ResBuf restore;
  restore.AppendShort(static_cast<short>(saved.IntegerAt(0)), 5003);
  ASSERT_TRUE(restore.SetVar(L"LUPREC"));
  ResBuf now;
  ASSERT_TRUE(now.GetVar(L"LUPREC"));
  EXPECT_EQ(now.IntegerAt(0), 6);

  ResBuf text;
  text.AppendString(L"6");
  EXPECT_FALSE(text.SetVar(L"LUPREC"));
  EXPECT_FALSE(ResBuf().SetVar(L"LUPREC"));
  EXPECT_FALSE(now.GetVar(L"NOSUCHVAR"));
  EXPECT_EQ(now.Count(), 0);
}

TEST_F(ResBufTest, AnAutoLispVariableHoldingAStringReadsAsThatString) {
  ResBuf value;
  value.AppendString(L"OBJECTS");
  ASSERT_TRUE(value.PutSym(L"S_LYR"));
  EXPECT_EQ(value.Count(), 0);  // the host took a copy; the wrapper let go of its chain

  ResBuf read;
  read.AppendShort(5);
  EXPECT_FALSE(read.GetSym(L"NOT A SYMBOL"));
  EXPECT_EQ(read.IntegerAt(0), 5);  // unchanged after a failed read
  ASSERT_TRUE(read.GetSym(L"S_LYR"));
  std::wstring text;
  EXPECT_TRUE(read.IsString(0) && read.GetString(0, text));
  EXPECT_EQ(text, L"OBJECTS");

  // A symbol never set is nil, which is no string.
  ASSERT_TRUE(read.GetSym(L"NEVER_SET"));
  EXPECT_EQ(TypesOf(read), Types{RTNIL});
}

TEST_F(ResBufTest, CallArgumentsAreWrappedButStayTheHostsAndTheListReturnedIsCopied) {
  EXPECT_FALSE(ResBuf().GetArgs());
  EXPECT_EQ(ResBuf().RetList(), RTERROR);
  ResBuf arguments;
  arguments.AppendString(L"DOORS");
  arguments.AppendShort(3);
  minicad::ResbufChain result = host_.CallLispFunction(
      [] {
        ResBuf given;
        ASSERT_TRUE(given.GetArgs());
        EXPECT_FALSE(given.IsOwned());
        EXPECT_FALSE(given.Remove(0));
        // Nothing may be linked into the host's chain, nor the chain handed to a caller who
        // would release it.
        EXPECT_FALSE(given.AppendShort(4));
        EXPECT_FALSE(given.AppendString(L"more"));
        resbuf* extra = acutNewRb(RTNIL);
        EXPECT_FALSE(given.AppendChain(extra));
        acutRelRb(extra);
        EXPECT_EQ(given.Detach(), nullptr);
        EXPECT_EQ(given.Count(), 2);
        EXPECT_EQ(given.Element(1)->rbnext, nullptr);
        ResBuf answer;
        answer.AppendString(L"DONE");
        EXPECT_EQ(answer.RetList(), RTNORM);
      },
      arguments.Head());
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result->resval.rstring, L"DONE");
}

TEST_F(ResBufTest, WhileAHostCallFillsTheChainEverythingElseIsRefused) {
  ResBuf value;
  value.AppendString(L"FILLED");
  ASSERT_TRUE(value.PutSym(L"FILL_ME"));

  ResBuf chain;
  chain.AppendShort(1);
  resbuf** slot = chain.BeginFillByHost();
  ASSERT_NE(slot, nullptr);
  EXPECT_FALSE(chain.AppendShort(2));
  EXPECT_FALSE(chain.Remove(0));
  EXPECT_EQ(chain.Element(0), nullptr);
  ASSERT_EQ(acedGetSym(L"FILL_ME", slot), RTNORM);
  chain.Reindex();
  EXPECT_FALSE(chain.IsFilling());
  EXPECT_EQ(TypesOf(chain), Types{RTSTR});
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(ResBufTest, AnAdoptedChainIsIndexedAndADetachedOneIsTheCallers) {
  resbuf* tail = acutNewRb(RTSHORT);
  tail->rbnext = acutNewRb(RTREAL);
  tail->rbnext->resval.rreal = 4.5;
  ResBuf chain;
  chain.AppendString(L"_LINE");
  ASSERT_TRUE(chain.AppendChain(tail));
  EXPECT_EQ(TypesOf(chain), (Types{RTSTR, RTSHORT, RTREAL}));
  EXPECT_EQ(chain.RealAt(2), 4.5);

  resbuf* taken = chain.Detach();
  EXPECT_EQ(chain.Count(), 0);
  EXPECT_EQ(chain.Head(), nullptr);
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->rbnext, tail);
  acutRelRb(taken);
}

// How the wrapper keeps each code's value must be how the host releases it: a difference is a
// leak or a double free.
TEST_F(ResBufTest, KeepsEveryCodesValueAsTheHostReleasesIt) {
  for (int code = -5; code <= 1071; ++code) {
    const ResBuf::ValueStorage storage = ResBuf::StorageOf(code);
    EXPECT_EQ(storage == ResBuf::ValueStorage::kString, minicad::HoldsString(code)) << code;
    EXPECT_EQ(storage == ResBuf::ValueStorage::kBinary, minicad::HoldsBinary(code)) << code;
  }
  for (int code : {RTSTR, RTDXF0, RTSHORT, RTREAL, RTENAME, RTPICKS, RT3DPOINT, RTLONG}) {
    EXPECT_EQ(ResBuf::StorageOf(code) == ResBuf::ValueStorage::kString, minicad::HoldsString(code));
  }
}

// Every type code: append every kind of value the wrapper offers, copy, assign, extract the
// list and destroy. Under the address sanitizer a shared string (freed twice) or a string the
// host does not release (leaked) fails here; everywhere, a copy must own its own strings.
TEST_F(ResBufTest, AppendsCopiesExtractsAndDestroysEveryTypeCodeCleanly) {
  const ads_point point = {1, 2, 3};
  const ads_name name = {7, 0};
  for (int code = -5; code <= 1071; ++code) {
    SCOPED_TRACE(code);
    ResBuf chain;
    chain.AppendListBegin();
    const bool string = chain.AppendString(L"text", code);
    EXPECT_EQ(string, ResBuf::StorageOf(code) == ResBuf::ValueStorage::kString);
    const bool plain = ResBuf::StorageOf(code) == ResBuf::ValueStorage::kPlain;
    EXPECT_EQ(chain.AppendReal(1.5, code), plain);
    EXPECT_EQ(chain.AppendShort(7, code), plain);
    EXPECT_EQ(chain.AppendLong(70000, code), plain);
    EXPECT_EQ(chain.AppendPoint(point, code), plain);
    EXPECT_EQ(chain.AppendName(name, code), plain);
    chain.AppendListEnd();

    ResBuf copy(chain);
    ResBuf assigned;
    assigned.AppendString(L"old");
    assigned = chain;
    ResBuf sublist;
    ASSERT_TRUE(chain.ExtractSublist(0, sublist));
    for (const ResBuf* other : {&copy, &assigned, &sublist}) {
      ASSERT_EQ(other->Count(), chain.Count());
      if (!string) continue;
      const resbuf* original = chain.Element(1);
      const resbuf* copied = other->Element(1);
      EXPECT_NE(copied->resval.rstring, original->resval.rstring) << "a shared string";
      EXPECT_STREQ(copied->resval.rstring, L"text");
    }
  }
}

TEST_F(ResBufTest, RemovingUnlinksTheElementWhereverItIs) {
  ResBuf chain;
  for (short value = 0; value < 5; ++value) chain.AppendShort(value);
  EXPECT_TRUE(chain.Remove(2));  // middle
  EXPECT_TRUE(chain.Remove(0));  // head
  EXPECT_TRUE(chain.Remove(2));  // last
  EXPECT_FALSE(chain.Remove(2));
  EXPECT_EQ(TypesOf(chain), (Types{RTSHORT, RTSHORT}));
  EXPECT_EQ(chain.IntegerAt(0), 1);
  EXPECT_EQ(chain.IntegerAt(1), 3);
  EXPECT_TRUE(chain.Remove(1));
  EXPECT_TRUE(chain.Remove(0));
  EXPECT_EQ(chain.Head(), nullptr);
  EXPECT_TRUE(chain.AppendShort(9));
  EXPECT_EQ(chain.IntegerAt(0), 9);
}

TEST_F(ResBufTest, ASublistRunsToTheListEndThatMatchesItsBegin) {
  ResBuf chain = NestedLists();
  ResBuf sublist;
  ASSERT_TRUE(chain.ExtractSublist(1, sublist));
  EXPECT_EQ(TypesOf(sublist), (Types{RTLB, RTSHORT, RTLB, RTSHORT, RTLE, RTSHORT, RTLE}));
  EXPECT_EQ(sublist.IntegerAt(5), 3);
  ASSERT_TRUE(chain.ExtractSublist(3, sublist));
  EXPECT_EQ(TypesOf(sublist), (Types{RTLB, RTSHORT, RTLE}));
  EXPECT_EQ(chain.Count(), 9);

  // No list begins at 0; a list that never ends is no sublist. `sublist` stays as it was.
  ResBuf unclosed;
  unclosed.AppendListBegin();
  EXPECT_FALSE(chain.ExtractSublist(0, sublist) || unclosed.ExtractSublist(0, sublist));
  EXPECT_EQ(TypesOf(sublist), (Types{RTLB, RTSHORT, RTLE}));
}

TEST_F(ResBufTest, CopiesAreDeepAndAssignmentReplacesTheOldChain) {
  ResBuf original = NestedLists();
  original.AppendString(L"LINE", RTDXF0);
  ResBuf copy(original);
  EXPECT_EQ(TypesOf(copy), TypesOf(original));
  EXPECT_NE(copy.Element(9)->resval.rstring, original.Element(9)->resval.rstring);
  EXPECT_STREQ(copy.Element(9)->resval.rstring, L"LINE");
  original.Remove(0);
  std::wstring text;
  EXPECT_TRUE(copy.GetString(0, text));
  EXPECT_EQ(text, L"x");

  ResBuf target;
  target.AppendString(L"OLD");
  target = copy;
  EXPECT_EQ(TypesOf(target), TypesOf(copy));
  const ResBuf& itself = target;
  target = itself;
  EXPECT_EQ(target.Count(), 10);
}

}  // namespace
}  // namespace layermaptest

// The host's value calls: result buffers, system variables, AutoLISP symbols and calls, entity
// names and the support-file search, with who owns each chain before and after each call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostTestSupport.h"
#include "fw/FileStatus.h"
#include "minicad/Host.h"
#include "minicad/ResultBuffers.h"

namespace minicadtest {
namespace {

using minicad::ResbufChain;

resbuf Value(short typeCode) {
  resbuf buffer{};
  buffer.restype = typeCode;
  return buffer;
}
resbuf ShortValue(short value) {
  resbuf buffer = Value(RTSHORT);
  buffer.resval.rint = value;
  return buffer;
}
resbuf RealValue(double value) {
  resbuf buffer = Value(RTREAL);
  buffer.resval.rreal = value;
  return buffer;
}
// Points at the caller's own text: acedSetVar must copy it.
resbuf TextValue(const wchar_t* text) {
  resbuf buffer = Value(RTSTR);
  buffer.resval.rstring = const_cast<wchar_t*>(text);
  return buffer;
}

// A chain made with the host's allocator, as a module makes one.
ResbufChain StringChain(const wchar_t* text, resbuf* next = nullptr) {
  ResbufChain chain(acutNewRb(RTSTR));
  EXPECT_EQ(acutNewString(text, chain->resval.rstring), Acad::eOk);
  chain->rbnext = next;
  return chain;
}
resbuf* CodeChain(short typeCode, resbuf* next = nullptr) {
  resbuf* chain = acutNewRb(typeCode);
  chain->rbnext = next;
  return chain;
}

std::vector<int> TypesOf(const resbuf* chain) {
  std::vector<int> types;
  for (; chain != nullptr; chain = chain->rbnext) types.push_back(chain->restype);
  return types;
}

// The variable's value as text ("R 1.5", "S 4", "T CLAYER"), releasing what the host gave.
std::wstring Variable(const wchar_t* name) {
  resbuf value{};
  if (acedGetVar(name, &value) != RTNORM) return L"(error)";
  switch (value.restype) {
    case RTREAL:
      return L"R " + std::to_wstring(value.resval.rreal);
    case RTSHORT:
      return L"S " + std::to_wstring(value.resval.rint);
    case RTSTR: {
      std::wstring text = L"T " + std::wstring(value.resval.rstring);
      acutDelString(value.resval.rstring);
      return text;
    }
    case RT3DPOINT:
      return L"P " + std::to_wstring(value.resval.rpoint[X]) + L" " +
             std::to_wstring(value.resval.rpoint[Z]);
  }
  return L"(type " + std::to_wstring(value.restype) + L")";
}

TEST(ResultBuffers, NewBuffersAreZeroedAndReleasingAChainReleasesItsText) {
  resbuf* chain = acutNewRb(RTSTR);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->rbnext, nullptr);
  EXPECT_EQ(chain->resval.rstring, nullptr);
  const wchar_t* original = L"WALLS";
  ASSERT_EQ(acutNewString(original, chain->resval.rstring), Acad::eOk);
  EXPECT_NE(chain->resval.rstring, original);
  chain->rbnext = CodeChain(RTREAL, CodeChain(8));
  ASSERT_EQ(acutNewString(L"layer", chain->rbnext->rbnext->resval.rstring), Acad::eOk);
  // LeakSanitizer reports whatever is left behind.
  EXPECT_EQ(acutRelRb(chain), RTNORM);
  EXPECT_EQ(acutRelRb(nullptr), RTNORM);

  ACHAR placeholder[1] = {};
  ACHAR* none = placeholder;
  ACHAR* copy = nullptr;
  EXPECT_EQ(acutNewString(nullptr, none), Acad::eOk);
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(acutNewString(L"x", copy), Acad::eOk);
  EXPECT_EQ(acutDelString(copy), Acad::eOk);
  EXPECT_EQ(copy, nullptr);
}

// --- System variables ------------------------------------------------------------------------

class SystemVariablesTest : public HostTest {
 protected:
  minicad::Host host_;
};

TEST_F(SystemVariablesTest, EachVariableReadsWithItsTypeAndSetValuesReadBackExactly) {
  EXPECT_EQ(Variable(L"DIMSCALE"), L"R 1.000000");
  EXPECT_EQ(Variable(L"userr4"), L"R 0.000000");
  EXPECT_EQ(Variable(L"LUPREC"), L"S 4");
  EXPECT_EQ(Variable(L"ATTREQ"), L"S 1");
  EXPECT_EQ(Variable(L"CLAYER"), L"T 0");
  EXPECT_EQ(Variable(L"ACADVER").substr(0, 4), L"T 23");
  EXPECT_EQ(Variable(L"LASTPOINT"), L"P 0.000000 0.000000");

  resbuf real = RealValue(0.1 + 0.2), integer = ShortValue(7), text = TextValue(L"WALLS");
  resbuf point = Value(RTPOINT);
  point.resval.rpoint[X] = 1;
  point.resval.rpoint[Z] = 99;  // a 2D point has no z
  ASSERT_EQ(acedSetVar(L"dimScale", &real), RTNORM);
  ASSERT_EQ(acedSetVar(L"LUPREC", &integer), RTNORM);
  ASSERT_EQ(acedSetVar(L"CECOLOR", &text), RTNORM);
  ASSERT_EQ(acedSetVar(L"LASTPOINT", &point), RTNORM);
  resbuf exact{};
  ASSERT_EQ(acedGetVar(L"DIMSCALE", &exact), RTNORM);
  EXPECT_EQ(exact.resval.rreal, 0.1 + 0.2);
  EXPECT_EQ(Variable(L"LUPREC"), L"S 7");
  EXPECT_EQ(Variable(L"CECOLOR"), L"T WALLS");
  EXPECT_EQ(Variable(L"LASTPOINT"), L"P 1.000000 0.000000");

  // The caller's buffer is filled in place; its link stays as it was.
  resbuf next = Value(RTNONE), value = Value(RTNONE);
  value.rbnext = &next;
  ASSERT_EQ(acedGetVar(L"USERR4", &value), RTNORM);
  EXPECT_EQ(value.rbnext, &next);
}

TEST_F(SystemVariablesTest, AWrongTypeARangeOrAReadOnlyVariableFailsAndChangesNothing) {
  resbuf longValue = Value(RTLONG);
  longValue.resval.rlong = 3;
  const std::pair<const wchar_t*, resbuf> attempts[] = {
      {L"DIMSCALE", TextValue(L"2")}, {L"DIMSCALE", ShortValue(2)},
      {L"DIMSCALE", RealValue(-1)},   {L"LUPREC", RealValue(2.0)},
      {L"LUPREC", longValue},         {L"LUPREC", ShortValue(9)},
      {L"ATTREQ", ShortValue(2)},     {L"CLAYER", ShortValue(1)},
      {L"CLAYER", Value(RTSTR)},      {L"CLAYER", TextValue(L"")},
      {L"LASTPOINT", RealValue(1)},   {L"ACADVER", TextValue(L"99.0")},
      {L"NOSUCHVAR", ShortValue(1)},
  };
  for (const auto& [name, value] : attempts) EXPECT_EQ(acedSetVar(name, &value), RTERROR) << name;
  EXPECT_EQ(Variable(L"DIMSCALE"), L"R 1.000000");
  EXPECT_EQ(Variable(L"LUPREC"), L"S 4");
  EXPECT_EQ(Variable(L"ATTREQ"), L"S 1");
  EXPECT_EQ(Variable(L"CLAYER"), L"T 0");
  EXPECT_EQ(Variable(L"ACADVER").substr(0, 4), L"T 23");

  resbuf untouched = ShortValue(42);
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &untouched), RTERROR);
  EXPECT_EQ(untouched.resval.rint, 42);
  EXPECT_EQ(acedGetVar(nullptr, &untouched), RTERROR);
  EXPECT_EQ(acedGetVar(L"LUPREC", nullptr), RTERROR);
  EXPECT_EQ(acedSetVar(L"LUPREC", nullptr), RTERROR);
}

TEST_F(SystemVariablesTest, DrawingVariablesBelongToEachDrawingAndSessionOnesToAll) {
  AcApDocument* first = host_.ActiveDocument();
  resbuf scale = RealValue(48.0), noAttributes = ShortValue(0);
  ASSERT_EQ(acedSetVar(L"USERR4", &scale), RTNORM);
  ASSERT_EQ(acedSetVar(L"ATTREQ", &noAttributes), RTNORM);
  host_.NewDocument();
  EXPECT_EQ(Variable(L"USERR4"), L"R 0.000000");
  EXPECT_EQ(Variable(L"ATTREQ"), L"S 0");
  ASSERT_EQ(acDocManager->activateDocument(first), Acad::eOk);
  EXPECT_EQ(Variable(L"USERR4"), L"R 48.000000");
}

// --- AutoLISP symbols and calls --------------------------------------------------------------

class SymbolsTest : public HostTest {
 protected:
  minicad::Host host_;
};

TEST_F(SymbolsTest, TheHostKeepsItsOwnCopyAndEveryReadIsANewChainForTheCaller) {
  resbuf* mine = StringChain(L"OBJECTS").release();
  ASSERT_EQ(acedPutSym(L"S_LYR", mine), RTNORM);
  acutRelRb(mine);  // still the caller's: the symbol keeps its own copy

  resbuf* first = nullptr;
  resbuf* second = nullptr;
  ASSERT_EQ(acedGetSym(L"s_lyr", &first), RTNORM);
  ASSERT_EQ(acedGetSym(L"S_LYR", &second), RTNORM);
  ASSERT_NE(first, second);
  EXPECT_STREQ(first->resval.rstring, L"OBJECTS");
  EXPECT_NE(first->resval.rstring, second->resval.rstring);
  acutRelRb(first);
  acutRelRb(second);

  // (1 (2.5)) comes back as the same list.
  ResbufChain list(CodeChain(
      RTLB,
      CodeChain(RTSHORT, CodeChain(RTLB, CodeChain(RTREAL, CodeChain(RTLE, CodeChain(RTLE)))))));
  list->rbnext->rbnext->rbnext->resval.rreal = 2.5;
  ASSERT_EQ(acedPutSym(L"NESTED", list.get()), RTNORM);
  ResbufChain read;
  resbuf* slot = nullptr;
  ASSERT_EQ(acedGetSym(L"NESTED", &slot), RTNORM);
  read.reset(slot);
  EXPECT_EQ(TypesOf(read.get()), TypesOf(list.get()));
  EXPECT_EQ(read->rbnext->rbnext->rbnext->resval.rreal, 2.5);
}

TEST_F(SymbolsTest, NilAndTheEmptyListUnsetASymbol) {
  ResbufChain text = StringChain(L"X");
  ResbufChain nil(CodeChain(RTNIL));
  ResbufChain emptyList(CodeChain(RTLB, CodeChain(RTLE)));
  for (resbuf* unset : {nil.get(), emptyList.get()}) {
    ASSERT_EQ(acedPutSym(L"TEMP", text.get()), RTNORM);
    ASSERT_EQ(acedPutSym(L"TEMP", unset), RTNORM);
    resbuf* value = nullptr;
    ASSERT_EQ(acedGetSym(L"TEMP", &value), RTNORM);
    EXPECT_EQ(TypesOf(value), std::vector<int>{RTNIL});
    acutRelRb(value);
  }
}

TEST_F(SymbolsTest, BadNamesAndMalformedChainsFailAndChangeNothing) {
  ResbufChain kept = StringChain(L"KEPT");
  ASSERT_EQ(acedPutSym(L"TARGET", kept.get()), RTNORM);
  ResbufChain twoAtoms = StringChain(L"A", CodeChain(RTSHORT));
  ResbufChain unclosed(CodeChain(RTLB, CodeChain(RTSHORT)));
  ResbufChain loneEnd(CodeChain(RTLE));
  ResbufChain trailing(CodeChain(RTLB, CodeChain(RTLE, CodeChain(RTSHORT))));
  for (resbuf* bad : {twoAtoms.get(), unclosed.get(), loneEnd.get(), trailing.get(),
                      static_cast<resbuf*>(nullptr)}) {
    EXPECT_EQ(acedPutSym(L"TARGET", bad), RTERROR);
  }
  for (const wchar_t* badName : {L"", L"TWO WORDS", L"12", L"-1.5", L"(X", L"."}) {
    EXPECT_EQ(acedPutSym(badName, kept.get()), RTERROR) << badName;
    resbuf* untouched = kept.get();
    EXPECT_EQ(acedGetSym(badName, &untouched), RTERROR) << badName;
    EXPECT_EQ(untouched, kept.get());
  }
  EXPECT_EQ(acedGetSym(L"TARGET", nullptr), RTERROR);
  resbuf* value = nullptr;
  ASSERT_EQ(acedGetSym(L"TARGET", &value), RTNORM);
  EXPECT_STREQ(value->resval.rstring, L"KEPT");
  acutRelRb(value);
}

TEST_F(SymbolsTest, ArgumentsBelongToTheHostDuringTheCallAndTheResultIsACopy) {
  EXPECT_EQ(acedGetArgs(), nullptr);
  EXPECT_EQ(acedRetList(nullptr), RTERROR);

  ResbufChain outer = StringChain(L"OUTER");
  ResbufChain inner = StringChain(L"INNER");
  std::vector<std::wstring> seen;
  ResbufChain result = host_.CallLispFunction(
      [&] {
        ResbufChain nested = host_.CallLispFunction(
            [&] { seen.push_back(acedGetArgs()->resval.rstring); }, inner.get());
        EXPECT_EQ(nested, nullptr);  // no acedRetList: nil
        EXPECT_NE(acedGetArgs(), outer.get());
        seen.push_back(acedGetArgs()->resval.rstring);
        ResbufChain first = StringChain(L"FIRST");
        ASSERT_EQ(acedRetList(first.get()), RTNORM);
        resbuf* last = StringChain(L"LAST").release();
        ASSERT_EQ(acedRetList(last), RTNORM);
        acutRelRb(last);  // still the function's
      },
      outer.get());
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"INNER", L"OUTER"}));
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result->resval.rstring, L"LAST");
  EXPECT_EQ(acedGetArgs(), nullptr);
}

// --- Entity names ----------------------------------------------------------------------------

TEST(EntityNames, ANonNullIdBecomesANameAndBackAndNullsFail) {
  AcDbObjectId id, back, none;
  id.setFromOldId(0x1234);
  ads_name name = {0, 0};
  ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
  EXPECT_EQ(back, id);
  EXPECT_TRUE(none.isNull());
  EXPECT_LT(none, id);

  ads_name kept = {7, 7};
  EXPECT_EQ(acdbGetAdsName(kept, AcDbObjectId::kNull), Acad::eInvalidInput);
  EXPECT_EQ(kept[0], 7);
  ads_name nullName = {0, 0};
  EXPECT_EQ(acdbGetObjectId(back, nullName), Acad::eInvalidInput);
  EXPECT_EQ(back, id);
}

// --- The support-file search -----------------------------------------------------------------

class FindFileTest : public HostTest {
 protected:
  FindFileTest() {
    for (const wchar_t* name : {L"drawings", L"support1", L"support2", L"program"}) {
      fw::CreateDirectory(folder_ / name);
    }
    options_.supportFolders = {folder_ / L"support1", folder_ / L"support2"};
    options_.programFolder = folder_ / L"program";
  }
  void Write(const std::wstring& path) { testsupport::WriteFile(folder_ / path, "x"); }
  // The path found, or an empty text.
  static std::wstring Find(const wchar_t* name) {
    ACHAR result[1024] = {};
    return acedFindFile(name, result, 1024) == RTNORM ? result : L"";
  }

  minicad::HostOptions options_;
};

TEST_F(FindFileTest, SearchesTheDrawingFolderThenTheSupportFoldersThenTheProgramFolder) {
  for (const wchar_t* path : {L"program/all.lsp", L"support2/all.lsp", L"support1/all.lsp",
                              L"drawings/all.lsp", L"program/late.lsp", L"support2/late.lsp",
                              L"program/last.lsp", L"support1/Blocks.LSP", L"elsewhere.lsp"}) {
    Write(path);
  }
  minicad::Host host(options_);
  // A drawing never saved has no folder to search.
  EXPECT_EQ(Find(L"all.lsp"), folder_ / L"support1/all.lsp");
  ASSERT_TRUE(host.OpenDocument(MakeDrawing(L"drawings/Plan.dwg")));
  EXPECT_EQ(Find(L"all.lsp"), folder_ / L"drawings/all.lsp");
  EXPECT_EQ(Find(L"late.lsp"), folder_ / L"support2/late.lsp");
  EXPECT_EQ(Find(L"last.lsp"), folder_ / L"program/last.lsp");
  EXPECT_EQ(Find(L"blocks.lsp"), folder_ / L"support1/Blocks.LSP");
  std::wstring absolute = folder_ / L"elsewhere.lsp";
  EXPECT_EQ(Find(absolute.c_str()), absolute);
  EXPECT_EQ(Find(L"elsewhere.lsp"), L"");
  EXPECT_EQ(Find(L"missing.lsp"), L"");
  EXPECT_EQ(Find(L""), L"");
}

TEST_F(FindFileTest, ThePathAndItsNullMustFitTheBuffer) {
  Write(L"support1/fit.lsp");
  minicad::Host host(options_);
  std::wstring path = folder_ / L"support1/fit.lsp";
  int exact = static_cast<int>(path.size()) + 1;
  std::vector<ACHAR> buffer(path.size() + 1, L'#');
  for (int tooSmall : {exact - 1, 0, -5}) {
    EXPECT_EQ(acedFindFile(L"fit.lsp", buffer.data(), tooSmall), RTERROR) << tooSmall;
    EXPECT_EQ(buffer[0], L'#');
  }
  ASSERT_EQ(acedFindFile(L"fit.lsp", buffer.data(), exact), RTNORM);
  EXPECT_EQ(std::wstring(buffer.data()), path);
  EXPECT_EQ(acedFindFile(nullptr, buffer.data(), exact), RTERROR);
}

TEST(ValueCallsWithoutAHost, EverySessionCallFails) {
  resbuf value = ShortValue(1);
  resbuf* chain = nullptr;
  ACHAR path[64] = {};
  EXPECT_EQ(acedGetVar(L"LUPREC", &value), RTERROR);
  EXPECT_EQ(acedSetVar(L"LUPREC", &value), RTERROR);
  EXPECT_EQ(acedGetSym(L"X", &chain), RTERROR);
  EXPECT_EQ(acedPutSym(L"X", &value), RTERROR);
  EXPECT_EQ(acedGetArgs(), nullptr);
  EXPECT_EQ(acedRetList(nullptr), RTERROR);
  EXPECT_EQ(acedFindFile(L"x.lsp", path, 64), RTERROR);
}

}  // namespace
}  // namespace minicadtest

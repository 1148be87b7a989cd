// Scheme application on drawings the host builds and saves: which layers survive, where each
// object ends up, the block definition the current drawing receives, and the current layer of a
// BlockName->Layer scheme.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LayermapTestSupport.h"
#include "arx/arxHeaders.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "layermap/AskNewMap.h"
#include "layermap/BlockNameLayer.h"
#include "layermap/MapScheme.h"
#include "layermap/PrepareMappedBlock.h"
#include "layermap/SchemeApplication.h"
#include "layermap/SchemeTable.h"
#include "layermap/SideDrawing.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/InputText.h"
#include "support/TempFolder.h"

namespace layermaptest {
namespace {

using layermap::MapScheme;
using layermap::SchemeKind;
using Lines = std::vector<std::wstring>;

// Layers 0, WALL (red), DOOR (yellow, HIDDEN), DEFPOINTS and EMPTY (no objects). In model space:
// a ByLayer line on WALL, a ByBlock line on WALL, a circle of colour 5 on DOOR, a text on 0, a
// ByLayer line on DEFPOINTS and a reference to NESTED, whose one line lies on WALL.
constexpr const wchar_t* kLibraryScript =
    L"-LINETYPE\nLoad\nHIDDEN\n\n"
    L"-LAYER\nMake\nWALL\nColor\n1\nWALL\nMake\nDOOR\nColor\n2\nDOOR\nLtype\nHIDDEN\nDOOR\n"
    L"New\nDEFPOINTS,EMPTY\nSet\nWALL\n\n"
    L"LINE\n0,0\n10,0\n\n"
    L"COLOR\nBYBLOCK\n-LINETYPE\nSet\nBYBLOCK\n\nLINE\n0,1\n10,1\n\n"
    L"COLOR\n5\n-LINETYPE\nSet\nBYLAYER\n\n-LAYER\nSet\nDOOR\n\nCIRCLE\n0,0\n2\n"
    L"COLOR\nBYLAYER\n-LAYER\nSet\n0\n\nTEXT\n0,5\n1\n0\nLABEL\n\n"
    L"-LAYER\nSet\nDEFPOINTS\n\nLINE\n0,9\n1,9\n\n"
    L"-LAYER\nSet\nWALL\n\nLINE\n0,2\n5,2\n\n-BLOCK\nNESTED\n0,0\n(entlast)\n\n"
    L"-LAYER\nSet\n0\n\n-INSERT\nNESTED\n20,0\n1\n1\n0\n";

// "NAME(colour,linetype)" for each layer that is not erased, in table order.
std::wstring LayersOf(const AcDbDatabase& database) {
  const AcDbImpDatabase& inside = AcDbImpDatabase::Of(database);
  const auto* table = AcDbImpDatabase::PeekAs<AcDbLayerTable>(inside.Standard().layerTable);
  std::wstring layers;
  for (AcDbObjectId id : AcDbImpDatabase::Records(*table)) {
    if (AcDbImpDatabase::IsErased(id)) continue;
    const auto* layer = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(id);
    const auto* linetype = AcDbImpDatabase::PeekAs<AcDbLinetypeTableRecord>(
        layer->linetypeObjectId().isNull() ? inside.Standard().continuous
                                           : layer->linetypeObjectId());
    layers += fw::Format(L"%s(%u,%s) ", AcDbImpDatabase::Name(*layer).c_str(),
                         static_cast<unsigned>(layer->color().colorIndex()),
                         AcDbImpDatabase::Name(*linetype).c_str());
  }
  return layers;
}

// Each DBLIST line shortened to "[OWNER:]TYPE LAYER COLOUR LINETYPE".
Lines ObjectsOf(const AcDbDatabase& database) {
  Lines objects;
  for (const std::wstring& line : minicad::ListDrawing(AcDbImpDatabase::Of(database))) {
    std::vector<std::wstring> fields;
    for (std::size_t start = 0;;) {
      const std::size_t bar = line.find(L" | ", start);
      fields.push_back(line.substr(start, bar - start));
      if (bar == std::wstring::npos) break;
      start = bar + 3;
    }
    const std::wstring owner = fields[0] == L"*Model_Space" ? L"" : fields[0] + L":";
    objects.push_back(owner + fields[1] + L" " + fields[2].substr(6) + L" " + fields[3].substr(6) +
                      L" " + fields[4].substr(9));
  }
  return objects;
}

class SchemeApplicationTest : public HostSessionTest {
 protected:
  SchemeApplicationTest() {
    library_ = folder_ / L"lib folder/Library.dwg";
    fw::CreateDirectory(folder_ / L"lib folder");
    host_.RunScriptText(std::wstring(kLibraryScript) + L"SAVEAS\n2018\n" +
                        minicad::QuoteName(library_) + L"\nNEW\n");
    acDocManager->lockDocument(acDocManager->curDocument());
  }
  ~SchemeApplicationTest() override { layermap::SchemeMap().Clear(); }

  testsupport::TempFolder folder_;
  std::wstring library_;
};

MapScheme Scheme(SchemeKind kind, std::vector<std::pair<const wchar_t*, const wchar_t*>> maps,
                 bool byLayer, layermap::UnknownMode mode = layermap::UnknownMode::kIgnore) {
  MapScheme scheme;
  scheme.SetUnknownMode(mode);
  scheme.SetKind(kind);
  scheme.SetDefaultToByLayer(byLayer);
  for (const auto& [from, to] : maps) scheme.SetMap(from, to);
  return scheme;
}

TEST_F(SchemeApplicationTest, MovesObjectsKeepsWhatStaysAndErasesTheRest) {
  struct Case {
    const char* name;
    MapScheme scheme;
    std::wstring layers;
    Lines objects;
    const wchar_t* answer = nullptr;  // to every New Map question; nullptr cancels
    std::size_t questions = 0;
  };
  const std::wstring allLayers =
      L"0(7,Continuous) WALL(1,Continuous) DOOR(2,HIDDEN) DEFPOINTS(7,Continuous) "
      L"EMPTY(7,Continuous) ";
  const Lines unchanged = {L"LINE WALL 256 ByLayer",       L"LINE WALL 0 ByBlock",
                           L"CIRCLE DOOR 5 ByLayer",       L"TEXT 0 256 ByLayer",
                           L"LINE DEFPOINTS 256 ByLayer",  L"INSERT 0 256 ByLayer",
                           L"NESTED:LINE WALL 256 ByLayer"};
  Case cases[] = {
      {"layer WALL to a new A-WALL, every object ByLayer",
       Scheme(SchemeKind::kLayer, {{L"WALL", L"A-WALL"}}, true),
       L"0(7,Continuous) DOOR(2,HIDDEN) DEFPOINTS(7,Continuous) EMPTY(7,Continuous) "
       L"A-WALL(7,Continuous) ",
       {L"LINE A-WALL 256 ByLayer", L"LINE A-WALL 256 ByLayer", L"CIRCLE DOOR 256 ByLayer",
        L"TEXT 0 256 ByLayer", L"LINE DEFPOINTS 256 ByLayer", L"INSERT 0 256 ByLayer",
        L"NESTED:LINE A-WALL 256 ByLayer"}},
      {"layer WALL to A-WALL, colours and linetypes kept",
       Scheme(SchemeKind::kLayer, {{L"WALL", L"A-WALL"}}, false),
       L"0(7,Continuous) DOOR(2,HIDDEN) DEFPOINTS(7,Continuous) EMPTY(7,Continuous) "
       L"A-WALL(7,Continuous) ",
       {L"LINE A-WALL 256 ByLayer", L"LINE A-WALL 0 ByBlock", L"CIRCLE DOOR 5 ByLayer",
        L"TEXT 0 256 ByLayer", L"LINE DEFPOINTS 256 ByLayer", L"INSERT 0 256 ByLayer",
        L"NESTED:LINE A-WALL 256 ByLayer"}},
      {"a layer scheme mapping nothing keeps everything", Scheme(SchemeKind::kLayer, {}, false),
       allLayers, unchanged},
      {"a target that cannot be a layer name moves nothing",
       Scheme(SchemeKind::kLayer, {{L"WALL", L"A<B"}}, false), allLayers, unchanged},
      {"colour 1 to red: ByBlock stays, empty layers go, 0 and DEFPOINTS stay",
       Scheme(SchemeKind::kColor, {{L"1", L"red"}}, false),
       L"0(7,Continuous) WALL(1,Continuous) DOOR(2,HIDDEN) DEFPOINTS(7,Continuous) "
       L"RED(7,Continuous) ",
       {L"LINE RED 256 ByLayer", L"LINE WALL 0 ByBlock", L"CIRCLE DOOR 5 ByLayer",
        L"TEXT 0 256 ByLayer", L"LINE DEFPOINTS 256 ByLayer", L"INSERT 0 256 ByLayer",
        L"NESTED:LINE RED 256 ByLayer"}},
      {"linetype HIDDEN and text objects, ByLayer afterwards",
       Scheme(SchemeKind::kLinetype, {{L"HIDDEN", L"H-LINES"}, {L"*TEXT OBJECTS", L"NOTES"}}, true),
       L"0(7,Continuous) WALL(1,Continuous) DEFPOINTS(7,Continuous) H-LINES(7,Continuous) "
       L"NOTES(7,Continuous) ",
       {L"LINE WALL 256 ByLayer", L"LINE WALL 0 ByBlock", L"CIRCLE H-LINES 256 ByLayer",
        L"TEXT NOTES 256 ByLayer", L"LINE DEFPOINTS 256 ByLayer", L"INSERT 0 256 ByLayer",
        L"NESTED:LINE WALL 256 ByLayer"}},
      {"colours asked for, every question cancelled: asked again for the same colour",
       Scheme(SchemeKind::kColor, {}, false, layermap::UnknownMode::kAsk),
       L"0(7,Continuous) WALL(1,Continuous) DOOR(2,HIDDEN) DEFPOINTS(7,Continuous) ", unchanged,
       nullptr, 6},
      {"colours asked for and answered: each colour asked once",
       Scheme(SchemeKind::kColor, {}, false, layermap::UnknownMode::kAsk),
       L"0(7,Continuous) WALL(1,Continuous) DEFPOINTS(7,Continuous) ASKED(7,Continuous) ",
       {L"LINE ASKED 256 ByLayer", L"LINE WALL 0 ByBlock", L"CIRCLE ASKED 5 ByLayer",
        L"TEXT ASKED 256 ByLayer", L"LINE ASKED 256 ByLayer", L"INSERT ASKED 256 ByLayer",
        L"NESTED:LINE ASKED 256 ByLayer"},
       L"asked", 4},
  };
  for (Case& test : cases) {
    SCOPED_TRACE(test.name);
    std::size_t questions = 0;
    layermap::SetAskNewMapFunction([&](SchemeKind, const std::wstring&) {
      ++questions;
      return test.answer == nullptr ? std::nullopt
                                    : std::optional<layermap::NewMapAnswer>({test.answer, false});
    });
    std::unique_ptr<layermap::SideDrawing> side = layermap::SideDrawing::Read(library_);
    ASSERT_NE(side, nullptr);
    ASSERT_TRUE(layermap::SchemeApplication(test.scheme, *side).Apply());
    EXPECT_EQ(LayersOf(side->Database()), test.layers);
    EXPECT_EQ(ObjectsOf(side->Database()), test.objects);
    EXPECT_EQ(questions, test.questions);
  }
  layermap::SetAskNewMapFunction(nullptr);
  EXPECT_TRUE(ShownTexts().empty());
  EXPECT_NE(host_.ConsoleText().find(
                L"Quorva: \"A<B\" cannot be a layer name; nothing is moved to it.\n"),
            std::wstring::npos);
}

TEST_F(SchemeApplicationTest, DefinesTheMappedBlockOrReportsAnUnreadableDrawing) {
  auto* scheme = layermap::SchemeMap().Add(
      L"Walls",
      std::make_unique<MapScheme>(Scheme(SchemeKind::kLayer, {{L"W*", L"A-WALL"}}, true)));
  ASSERT_NE(scheme, nullptr);
  const std::wstring junk = folder_ / L"Junk.dwg";
  testsupport::WriteFile(junk, "AC1032 but nothing after it");
  AcDbDatabase& drawing = *acdbHostApplicationServices()->workingDatabase();

  EXPECT_FALSE(layermap::PrepareMappedBlock(junk, L"JUNK", L"Walls"));
  EXPECT_FALSE(layermap::PrepareMappedBlock(library_, L"LIB", L"No such scheme"));
  EXPECT_TRUE(ObjectsOf(drawing).empty());

  ASSERT_TRUE(layermap::PrepareMappedBlock(library_, L"LIB", L"Walls"));
  const Lines objects = ObjectsOf(drawing);
  ASSERT_GE(objects.size(), 2u);
  EXPECT_EQ(objects[0], L"NESTED:LINE A-WALL 256 ByLayer");
  EXPECT_EQ(objects[1], L"LIB:LINE A-WALL 256 ByLayer");
  EXPECT_NE(LayersOf(drawing).find(L"A-WALL(7,Continuous)"), std::wstring::npos);
  EXPECT_EQ(LayersOf(drawing).find(L"WALL(1"), std::wstring::npos);
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(SchemeApplicationTest, ABlockNameSchemeMakesItsLayerCurrentUntilRestored) {
  struct Case {
    const char* name;
    SchemeKind kind;
    const wchar_t* block;
    std::wstring currentWhileInserting;
    bool pending;
  };
  const Case cases[] = {
      {"mapped to a missing layer, which is created", SchemeKind::kBlock, L"Valve-2", L"P-VALVES",
       true},
      {"mapped to an existing layer", SchemeKind::kBlock, L"valve-9", L"P-VALVES", true},
      {"not mapped", SchemeKind::kBlock, L"Pump", L"0", true},
      {"a target that cannot be a layer", SchemeKind::kBlock, L"Bad", L"0", true},
      {"a scheme of another kind", SchemeKind::kLayer, L"Valve-2", L"0", false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    MapScheme scheme = Scheme(test.kind, {{L"VALVE-#", L"P-VALVES"}, {L"BAD", L"A;B"}}, true);
    layermap::SchemeMap().Add(L"Blocks", std::make_unique<MapScheme>(scheme));
    layermap::LayerRestore restore;
    AcDbDatabase& drawing = *acdbHostApplicationServices()->workingDatabase();

    layermap::SetLayerForBlockName(test.block, L"Blocks", restore);
    const auto* current = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(drawing.clayer());
    EXPECT_EQ(AcDbImpDatabase::Name(*current), test.currentWhileInserting);
    EXPECT_EQ(restore.restoreLayerPending, test.pending);
    layermap::RestoreCurrentLayer(restore);
    current = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(drawing.clayer());
    EXPECT_EQ(AcDbImpDatabase::Name(*current), L"0");
    EXPECT_FALSE(restore.restoreLayerPending);
  }
  AcDbDatabase& drawing = *acdbHostApplicationServices()->workingDatabase();
  EXPECT_EQ(LayersOf(drawing), L"0(7,Continuous) P-VALVES(7,Continuous) ");
  EXPECT_TRUE(ShownTexts().empty());
}

}  // namespace
}  // namespace layermaptest

// The host's drawing commands as a script drives them: what each leaves in the drawing, and the
// host's lines for answers they cannot use.
#include <gtest/gtest.h>

#include <string>

#include "HostTestSupport.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Lines = std::vector<std::wstring>;

const AcDbImpDatabase& Drawing() {
  return AcDbImpDatabase::Of(*acdbHostApplicationServices()->workingDatabase());
}

// The model-space objects' geometry, one short line each.
Lines Geometry() {
  Lines lines;
  const auto* space =
      AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(Drawing().Standard().modelSpace);
  auto n = [](double v) { return minicad::ListNumber(v); };
  for (AcDbObjectId id : AcDbImpDatabase::Entities(*space)) {
    if (AcDbImpDatabase::IsErased(id)) continue;
    const AcDbObject* object = AcDbImpDatabase::Peek(id);
    if (const auto* line = AcDbLine::cast(object)) {
      lines.push_back(L"line " + n(line->startPoint().x) + L"," + n(line->startPoint().y) + L" " +
                      n(line->endPoint().x) + L"," + n(line->endPoint().y));
    } else if (const auto* circle = AcDbCircle::cast(object)) {
      lines.push_back(L"circle " + n(circle->center().x) + L"," + n(circle->center().y) + L" r" +
                      n(circle->radius()));
    } else if (const auto* arc = AcDbArc::cast(object)) {
      lines.push_back(L"arc " + n(arc->center().x) + L"," + n(arc->center().y) + L" r" +
                      n(arc->radius()) + L" " + n(arc->startAngle() * 180 / 3.141592653589793) +
                      L".." + n(arc->endAngle() * 180 / 3.141592653589793));
    } else if (const auto* text = AcDbText::cast(object)) {
      lines.push_back(L"text " + n(text->position().x) + L"," + n(text->position().y) + L" h" +
                      n(text->height()) + L" [" + text->textStringConst() + L"]");
    } else if (const auto* dimension = AcDbRotatedDimension::cast(object)) {
      double measured = 0;
      dimension->measurement(measured);
      lines.push_back(L"dimension " + n(dimension->rotation() * 180 / 3.141592653589793) +
                      L" measures " + n(measured));
    } else {
      lines.push_back(L"other");
    }
  }
  return lines;
}

struct Dialogue {
  const char* what;
  std::wstring script;
  Lines geometry;
  std::wstring shown;  // a piece of the command line, or empty
};

TEST_F(HostTest, DrawingCommandsLeaveWhatTheirAnswersAsk) {
  const Dialogue dialogues[] = {
      {"LINE with Undo, then Close",
       L"LINE\n0,0\n10,0\n10,10\nU\n0,10\n5,5\nC\n",
       {L"line 0,0 10,0", L"line 10,0 0,10", L"line 0,10 5,5", L"line 5,5 0,0"},
       L""},
      {"relative and polar points",
       L"LINE\n1,1\n@2,0\n@3<90\n\n",
       {L"line 1,1 3,1", L"line 3,1 3,4"},
       L""},
      {"CIRCLE by diameter and by a point on it",
       L"CIRCLE\n0,0\nD\n4\nCIRCLE\n1,1\n4,5\n",
       {L"circle 0,0 r2", L"circle 1,1 r5"},
       L""},
      {"ARC through three points drawn clockwise runs counter-clockwise",
       L"ARC\n-10,0\n0,10\n10,0\n",
       {L"arc 0,0 r10 0..180"},
       L""},
      {"ARC by centre", L"ARC\nC\n0,0\n0,5\n5,0\n", {L"arc 0,0 r5 90..0"}, L""},
      {"TEXT takes lines until an empty one",
       L"TEXT\n0,0\n3\n0\nfirst line\nsecond\n\n",
       {L"text 0,0 h3 [first line]", L"text 0,-5 h3 [second]"},
       L""},
      {"DIMLINEAR beside the points measures vertically",
       L"DIMLINEAR\n0,0\n3,4\n10,2\n",
       {L"dimension 90 measures 4"},
       L"Dimension text = 4.0000\n"},
      {"DIMLINEAR told to be rotated",
       L"DIMLINEAR\n0,0\n3,4\nR\n45\n10,10\n",
       {L"dimension 45 measures 4.949747"},
       L""},
      {"ERASE of the last object",
       L"LINE\n0,0\n1,0\n\nCIRCLE\n0,0\n1\nERASE\nL\n\n",
       {L"line 0,0 1,0"},
       L"Select objects: L\n1 found\n"},
      {"a point that is none fails the command",
       L"LINE\n0,0\nnowhere\n",
       {},
       L"Point or option keyword required.\n"},
      {"a radius that is no number fails",
       L"CIRCLE\n0,0\n-3\n",
       {},
       L"Value must be positive and nonzero.\n"},
      {"a selection the host does not know fails",
       L"LINE\n0,0\n1,0\n\nERASE\nW\n",
       {L"line 0,0 1,0"},
       L"*Invalid selection*"},
      {"an expression naming no function fails",
       L"LINE\n0,0\n1,0\n\nERASE\n(ssget)\n",
       {L"line 0,0 1,0"},
       L"; error: no function definition: SSGET\n"},
  };
  for (const Dialogue& d : dialogues) {
    minicad::Host host;
    host.RunScriptText(d.script);
    EXPECT_EQ(Geometry(), d.geometry) << d.what << "\n" << fw::ToUtf8(host.ConsoleText());
    if (!d.shown.empty()) {
      EXPECT_NE(host.ConsoleText().find(d.shown), std::wstring::npos)
          << d.what << "\n"
          << fw::ToUtf8(host.ConsoleText());
    }
  }
}

TEST_F(HostTest, LayerLinetypeAndColourCommandsSetWhatNewObjectsTake) {
  const Dialogue dialogues[] = {
      {"a layer made current with its colour and linetype",
       L"-LINETYPE\nL\nDASH*\n\n-LAYER\nN\n\"Hot Water\"\nC\nred\n\"Hot Water\"\nL\nDASHED\n"
       L"\"Hot Water\"\nS\n\"hot water\"\n\nLINE\n0,0\n1,0\n\n",
       {},
       L"Linetype DASHED loaded.\n"},
      {"a linetype not loaded is refused",
       L"-LAYER\nL\nHIDDEN\n",
       {},
       L"Linetype HIDDEN not found.  Use LINETYPE command to load it.\n"},
      {"a layer that does not exist cannot be set",
       L"-LAYER\nS\nNOWHERE\n",
       {},
       L"Cannot find layer \"NOWHERE\".\n"},
      {"a layer name the host refuses",
       L"-LAYER\nN\n\"a<b\"\n",
       {},
       L"Invalid layer name \"a<b\".\n"},
      {"an unknown option", L"-LAYER\nFreeze\n", {}, L"Invalid option keyword.\n"},
      {"a colour that is none", L"COLOR\npurple\n", {}, L"Invalid color name or number.\n"},
  };
  for (const Dialogue& d : dialogues) {
    minicad::Host host;
    host.RunScriptText(d.script);
    EXPECT_NE(host.ConsoleText().find(d.shown), std::wstring::npos)
        << d.what << "\n"
        << fw::ToUtf8(host.ConsoleText());
  }
  minicad::Host host;
  host.RunScriptText(dialogues[0].script + L"COLOR\n5\n-LINETYPE\nS\nDASHED\n\nLINE\n0,0\n2,0\n\n");
  EXPECT_EQ(minicad::ListDrawing(Drawing()),
            (Lines{L"*Model_Space | LINE | layer Hot Water | color 256 | linetype ByLayer",
                   L"*Model_Space | LINE | layer Hot Water | color 5 | linetype DASHED"}));
  const auto* layer =
      AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(Drawing().Header().currentLayer);
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->color().colorIndex(), 1);
}

TEST_F(HostTest, BlocksNeverPlaceThemselvesAndSaveAsAsksBeforeReplacing) {
  minicad::Host host;
  const std::wstring path = folder_ / L"twice.dwg";
  host.RunScriptText(
      L"LINE\n0,0\n1,0\n\n-BLOCK\nINNER\n0,0\nALL\n\n"
      L"-INSERT\nINNER\n0,0\n\n\n\n-BLOCK\nOUTER\n0,0\nL\n\n"
      L"-INSERT\nOUTER\n0,0\n\n\n\n-BLOCK\nINNER\n_y\n0,0\nL\n\n"
      L"SAVEAS\n2018\n" +
      path + L"\nNEW\nSAVEAS\n2018\n" + path + L"\n_n\n");
  const std::string first = testsupport::ReadFile(path);
  const std::wstring console = host.ConsoleText();
  EXPECT_NE(console.find(L"Block \"INNER\" references itself.\n"), std::wstring::npos)
      << fw::ToUtf8(console);
  EXPECT_NE(console.find(L"A drawing with this name already exists.\nDo you want to replace it? "
                         L"<N>: _n\n"),
            std::wstring::npos);
  EXPECT_EQ(std::wstring(acDocManager->curDocument()->docTitle()), L"Drawing2");
  EXPECT_EQ(minicad::ListDrawing(Drawing()).size(), 0u);

  // Replacing it keeps the drawing it replaces beside it.
  host.RunScriptText(L"SAVEAS\n2018\n" + path + L"\n_y\n");
  EXPECT_EQ(testsupport::ReadFile(folder_ / L"twice.bak"), first);
  EXPECT_EQ(std::wstring(acDocManager->curDocument()->docTitle()), L"twice");
}

}  // namespace
}  // namespace minicadtest

// minicad's drawing files: every table and object kind survives SAVEAS and OPEN in every format,
// and damaged, cut or foreign files are refused cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "HostTestSupport.h"
#include "arx/dbdim.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/RegularFile.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/DrawingFiles.h"
#include "minicad/DwgContainer.h"
#include "minicad/Host.h"
#include "minicad/InputText.h"

namespace minicadtest {
namespace {

using Lines = std::vector<std::wstring>;
using minicad::ListNumber;

std::wstring Point(const AcGePoint3d& p) {
  return ListNumber(p.x) + L"," + ListNumber(p.y) + L"," + ListNumber(p.z);
}

std::wstring Name(AcDbObjectId id) {
  const auto* record = AcDbImpDatabase::PeekAs<AcDbSymbolTableRecord>(id);
  return record == nullptr ? L"?" : AcDbImpDatabase::Name(*record);
}

// Everything a drawing file keeps, one line per record or object.
std::wstring Describe(const AcDbEntity& entity) {
  std::wstring text = Name(entity.layerId()) + L" " + Name(entity.linetypeId()) + L" " +
                      std::to_wstring(entity.colorIndex()) + L" ";
  if (const auto* line = AcDbLine::cast(&entity)) {
    return text + L"line " + Point(line->startPoint()) + L" " + Point(line->endPoint());
  }
  if (const auto* circle = AcDbCircle::cast(&entity)) {
    return text + L"circle " + Point(circle->center()) + L" " + ListNumber(circle->radius());
  }
  if (const auto* arc = AcDbArc::cast(&entity)) {
    return text + L"arc " + Point(arc->center()) + L" " + ListNumber(arc->radius()) + L" " +
           ListNumber(arc->startAngle()) + L" " + ListNumber(arc->endAngle());
  }
  if (const auto* text2 = AcDbText::cast(&entity)) {
    text += L"text " + Point(text2->position()) + L" " + ListNumber(text2->height()) + L" " +
            ListNumber(text2->rotation()) + L" [" + text2->textStringConst() + L"]";
    if (const auto* definition = AcDbAttributeDefinition::cast(&entity)) {
      text += L" tag " + std::wstring(definition->tagConst()) + L" prompt [" +
              definition->promptConst() + L"] " + (definition->isInvisible() ? L"I" : L"-") +
              (definition->isConstant() ? L"C" : L"-") +
              (definition->isVerifiable() ? L"V" : L"-") + (definition->isPreset() ? L"P" : L"-");
    }
    return text;
  }
  if (const auto* dimension = AcDbRotatedDimension::cast(&entity)) {
    ACHAR* override = dimension->dimensionText();
    text += L"dimension " + Point(dimension->xLine1Point()) + L" " +
            Point(dimension->xLine2Point()) + L" " + Point(dimension->dimLinePoint()) + L" " +
            ListNumber(dimension->rotation()) + L" [" + override + L"]";
    acutDelString(override);
    return text;
  }
  const auto& reference = static_cast<const AcDbBlockReference&>(entity);
  const AcGeScale3d scale = reference.scaleFactors();
  return text + L"reference " + Name(reference.blockTableRecord()) + L" " +
         Point(reference.position()) + L" " + ListNumber(scale.sx) + L"," + ListNumber(scale.sy) +
         L"," + ListNumber(scale.sz) + L" " + ListNumber(reference.rotation());
}

Lines Describe(const AcDbImpDatabase& database) {
  const minicad::DrawingHeader& header = database.Header();
  Lines lines{L"base " + Point(header.insertionBase),
              L"current layer " + Name(header.currentLayer)};
  for (const std::wstring& field : header.summary) lines.push_back(L"summary [" + field + L"]");
  const minicad::StandardRecords& standard = database.Standard();
  for (AcDbObjectId table : {standard.linetypeTable, standard.layerTable, standard.blockTable}) {
    for (AcDbObjectId id :
         AcDbImpDatabase::Records(*AcDbImpDatabase::PeekAs<AcDbSymbolTable>(table))) {
      if (AcDbImpDatabase::IsErased(id)) continue;
      std::wstring line = Name(id);
      if (const auto* linetype = AcDbImpDatabase::PeekAs<AcDbLinetypeTableRecord>(id)) {
        ACHAR* description = nullptr;
        linetype->asciiDescription(description);
        line += L" linetype [" + std::wstring(description) + L"] " +
                ListNumber(linetype->patternLength());
        acutDelString(description);
        for (int i = 0; i < linetype->numDashes(); ++i)
          line += L" " + ListNumber(linetype->dashLengthAt(i));
      } else if (const auto* layer = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(id)) {
        line += L" layer " + std::to_wstring(layer->color().colorIndex()) + L" " +
                Name(layer->linetypeObjectId());
      } else if (const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id)) {
        const ACHAR* comments = nullptr;
        const ACHAR* path = nullptr;
        block->comments(comments);
        block->pathName(path);
        line += L" block " + Point(block->origin()) + L" [" + comments + L"] [" + path + L"] " +
                (block->isFromOverlayReference() ? L"overlay" : L"") +
                (AcDbImpDatabase::ForeignContents(*block) ? L"foreign" : L"");
        lines.push_back(line);
        for (AcDbObjectId entity : AcDbImpDatabase::Entities(*block)) {
          if (!AcDbImpDatabase::IsErased(entity)) {
            lines.push_back(L"  " + Describe(*AcDbImpDatabase::PeekAs<AcDbEntity>(entity)));
          }
        }
        continue;
      }
      lines.push_back(line);
    }
  }
  return lines;
}

AcDbImpDatabase& Current() {
  return AcDbImpDatabase::Of(*acdbHostApplicationServices()->workingDatabase());
}

// One of every table record and object kind the host makes, made with its commands.
void DrawEverything(minicad::Host& host, const std::wstring& xref) {
  host.RunScriptText(
      L"-LINETYPE\nLoad\nHIDDEN,DOT\n\n"
      L"-LAYER\nNew\n\"WALL,Pipes \u00e9tage\"\nColor\n1\nWALL\nLtype\nHIDDEN\nWALL\n"
      L"Make\n\"Pipes \u00e9tage\"\n\n"
      L"COLOR\n3\nLINE\n0,0\n10,0\n10,5\n\n"
      L"COLOR\nBYBLOCK\nCIRCLE\n5,5\n2.5\nARC\nC\n0,0\n3,0\n0,3\n"
      L"TEXT\n1,1\n2\n30\nHello \"world\"\n\n"
      L"ATTDEF\nI\nP\n\ntag1\nYour name?\nNobody\n2,2\n1.5\n0\n"
      L"COLOR\nBYLAYER\nDIMLINEAR\n0,0\n10,0\nT\n<>mm\n5,-3\n"
      L"-BLOCK\n\"Valve Body\"\n1,1\n_l\n\n"
      L"-INSERT\n\"Valve Body\"\n_scale\n2\n_rotate\n90\n20,20\n"
      L"-INSERT\n\"Valve Body\"\n30,30\n-1\n1\n0\n"
      L"-XREF\n_overlay\n" +
      minicad::QuoteName(xref) +
      L"\n0,0\n\n\n\n"
      L"DWGPROPS\nComments\nA drawing of everything\nTitle\nEverything\n\n");
}

TEST_F(HostTest, EveryTableAndObjectKindSurvivesSaveAsAndOpenInEveryFormat) {
  minicad::Host host;
  const std::wstring xref = folder_ / L"part.dwg";
  host.RunScriptText(L"LINE\n0,0\n1,1\n\nSAVEAS\n2013\n" + xref + L"\nNEW\n");
  DrawEverything(host, xref);
  const Lines original = Describe(Current());
  ASSERT_GT(original.size(), 25u) << fw::ToUtf8(host.ConsoleText());
  const std::pair<const wchar_t*, const char*> formats[] = {
      {L"R14", "AC1014"},  {L"2000", "AC1015"}, {L"2004", "AC1018"}, {L"2007", "AC1021"},
      {L"2010", "AC1024"}, {L"2013", "AC1027"}, {L"2018", "AC1032"},
  };
  for (const auto& [year, versionString] : formats) {
    const std::wstring path = folder_ / (std::wstring(L"every ") + year + L".dwg");
    host.RunScriptText(L"SAVEAS\n" + std::wstring(year) + L"\n" + minicad::QuoteName(path) +
                       L"\nOPEN\n" + minicad::QuoteName(path) + L"\n");
    EXPECT_EQ(testsupport::ReadFile(path).substr(0, 6), versionString);
    EXPECT_EQ(Describe(Current()), original) << fw::ToUtf8(year);
    EXPECT_EQ(std::wstring(acDocManager->curDocument()->fileName()), path);
    host.RunScriptText(L"CLOSE\n");
  }
}

// A small drawing, saved: the bytes the robustness sweeps change.
std::vector<std::uint8_t> SmallDrawing(const testsupport::TempFolder& folder) {
  minicad::Host host;
  const std::wstring path = folder / L"small.dwg";
  host.RunScriptText(
      L"LINE\n0,0\n10,0\n\nTEXT\n1,1\n2\n0\nHi\n\n-BLOCK\nB\n0,0\n_l\n\n"
      L"-INSERT\nB\n5,5\n\n\n\nSAVEAS\n2018\n" +
      path + L"\n");
  auto bytes = fw::ReadRegularFile(path, 1 << 20);
  EXPECT_TRUE(bytes.Ok());
  return bytes.Value();
}

// A clean outcome: an error with its text and no database, or a database that can be listed.
bool ReadsCleanly(const std::vector<std::uint8_t>& bytes) {
  minicad::DrawingRead read = minicad::ReadDrawingBytes(bytes, L"sweep.dwg");
  if (read.status != Acad::eOk) return !read.error.empty() && read.database == nullptr;
  (void)Describe(AcDbImpDatabase::Of(*read.database));
  return true;
}

// Every byte flipped, zeroed or set to 0xFF gives a clear error or, outside what the reader
// checks (padding, the preview's bytes), a drawing; a changed byte of the version, the marker or
// the body always fails. Every cut fails: a drawing that ends early is never read as a smaller
// one.
TEST_F(HostTest, DamagedAndCutDrawingsAreRefusedCleanly) {
  const std::vector<std::uint8_t> valid = SmallDrawing(folder_);
  ASSERT_EQ(minicad::ReadDrawingBytes(valid, L"valid.dwg").status, Acad::eOk);
  const minicad::ContainerContents contents = minicad::ReadContainer(valid);
  const auto bodyStart = static_cast<std::size_t>(contents.body.data() - valid.data());
  auto checked = [&](std::size_t at) { return at < 6 || (at >= 21 && at < 29) || at >= bodyStart; };
  for (std::size_t at = 0; at < valid.size(); ++at) {
    for (auto change : {+[](std::uint8_t b) { return static_cast<std::uint8_t>(b ^ 0x5A); },
                        +[](std::uint8_t) { return std::uint8_t{0}; },
                        +[](std::uint8_t) { return std::uint8_t{0xFF}; }}) {
      std::vector<std::uint8_t> damaged = valid;
      if (change(damaged[at]) == damaged[at]) continue;
      damaged[at] = change(damaged[at]);
      ASSERT_TRUE(ReadsCleanly(damaged)) << "byte " << at;
      if (checked(at)) {
        ASSERT_NE(minicad::ReadDrawingBytes(damaged, L"d.dwg").status, Acad::eOk) << "byte " << at;
      }
    }
  }
  for (std::size_t size = 0; size < valid.size(); ++size) {
    const std::vector<std::uint8_t> cut(valid.begin(), valid.begin() + static_cast<long>(size));
    ASSERT_NE(minicad::ReadDrawingBytes(cut, L"cut.dwg").status, Acad::eOk) << "cut at " << size;
  }
}

TEST_F(HostTest, DrawingsOfOtherProgramsAreNotReadButOpenEmptyUnderTheirName) {
  std::vector<std::wstring> foreign = {folder_ / L"short.dwg", folder_ / L"text.dwg"};
  testsupport::WriteFile(foreign[0], "AC1032");
  testsupport::WriteFile(foreign[1], "a note, not a drawing");
  const std::filesystem::path shared = QRVA_SHARED_DIR "/dwg";
  if (std::filesystem::is_directory(shared)) {
    for (const auto& entry : std::filesystem::directory_iterator(shared)) {
      if (entry.path().extension() == ".dwg")
        foreign.push_back(fw::FromUtf8(entry.path().string()));
    }
  }
  minicad::Host host;
  for (const std::wstring& path : foreign) {
    AcDbDatabase database(false);
    EXPECT_EQ(database.readDwgFile(path.c_str()), Acad::eInvalidDwgVersion) << fw::ToUtf8(path);
    host.RunScriptText(L"OPEN\n" + minicad::QuoteName(path) + L"\n");
    EXPECT_EQ(std::wstring(acDocManager->curDocument()->docTitle()), fw::CFileName(path).Title());
    EXPECT_TRUE(minicad::ListDrawing(Current()).empty());
    host.RunScriptText(L"CLOSE\n");
  }
  AcDbDatabase database(false);
  EXPECT_EQ(database.readDwgFile((folder_ / L"missing.dwg").c_str()), Acad::eFileNotFound);
  EXPECT_EQ(database.readDwgFile(folder_.Path().c_str()), Acad::eFileAccessErr);
}

// A damaged minicad drawing does not open at all: saving over it would lose what is left.
TEST_F(HostTest, ADamagedDrawingOfOursFailsToOpen) {
  std::vector<std::uint8_t> bytes = SmallDrawing(folder_);
  bytes.resize(bytes.size() - 3);
  const std::wstring path = folder_ / L"damaged.dwg";
  testsupport::WriteFile(path, std::string(bytes.begin(), bytes.end()));
  minicad::Host host;

  host.RunScriptText(L"OPEN\n" + path + L"\n");

  EXPECT_EQ(host.Documents().size(), 1u);
  EXPECT_NE(host.ConsoleText().find(L"The drawing file \"" + path + L"\" cannot be read: "),
            std::wstring::npos);
}

}  // namespace
}  // namespace minicadtest

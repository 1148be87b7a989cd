// Listing a drawing's objects.
#include "minicad/DbList.h"

#include <numbers>

#include "arx/dbdim.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {
namespace {

std::wstring RecordName(AcDbObjectId id) {
  const auto* record = AcDbImpDatabase::PeekAs<AcDbSymbolTableRecord>(id);
  return record == nullptr ? std::wstring() : AcDbImpDatabase::Name(*record);
}

const wchar_t* TypeName(const AcDbEntity& entity) {
  if (AcDbLine::cast(&entity)) return L"LINE";
  if (AcDbCircle::cast(&entity)) return L"CIRCLE";
  if (AcDbArc::cast(&entity)) return L"ARC";
  if (AcDbAttributeDefinition::cast(&entity)) return L"ATTDEF";
  if (AcDbText::cast(&entity)) return L"TEXT";
  if (AcDbDimension::cast(&entity)) return L"DIMENSION";
  return L"INSERT";
}

std::wstring Triple(double x, double y, double z) {
  return ListNumber(x) + L"," + ListNumber(y) + L"," + ListNumber(z);
}

std::wstring Line(const std::wstring& owner, const AcDbEntity& entity) {
  std::wstring line = owner + L" | " + TypeName(entity) + L" | layer " +
                      RecordName(entity.layerId()) +
                      fw::Format(L" | color %u", static_cast<unsigned>(entity.colorIndex())) +
                      L" | linetype " + RecordName(entity.linetypeId());
  if (const auto* reference = AcDbBlockReference::cast(&entity)) {
    const AcGePoint3d at = reference->position();
    const AcGeScale3d scale = reference->scaleFactors();
    line += L" | block " + RecordName(reference->blockTableRecord()) + L" | at " +
            Triple(at.x, at.y, at.z) + L" | scale " + Triple(scale.sx, scale.sy, scale.sz) +
            L" | rotation " + ListNumber(reference->rotation() * 180.0 / std::numbers::pi);
  }
  return line;
}

void ListBlock(AcDbObjectId blockId, std::vector<std::wstring>& lines) {
  const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(blockId);
  const std::wstring& owner = AcDbImpDatabase::Name(*block);
  for (AcDbObjectId id : AcDbImpDatabase::Entities(*block)) {
    if (AcDbImpDatabase::IsErased(id)) continue;
    lines.push_back(Line(owner, *AcDbImpDatabase::PeekAs<AcDbEntity>(id)));
  }
}

}  // namespace

std::wstring ListNumber(double value) {
  std::wstring text = fw::Format(L"%.6f", value);
  text.erase(text.find_last_not_of(L'0') + 1);
  if (text.back() == L'.') text.pop_back();
  return text == L"-0" ? L"0" : text;
}

std::vector<std::wstring> ListDrawing(const AcDbImpDatabase& database) {
  std::vector<std::wstring> lines;
  const StandardRecords& standard = database.Standard();
  if (standard.modelSpace.isNull()) return lines;
  ListBlock(standard.modelSpace, lines);
  const auto* table = AcDbImpDatabase::PeekAs<AcDbBlockTable>(standard.blockTable);
  for (AcDbObjectId id : AcDbImpDatabase::Records(*table)) {
    if (AcDbImpDatabase::IsErased(id) ||
        AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id)->isLayout()) {
      continue;
    }
    ListBlock(id, lines);
  }
  return lines;
}

}  // namespace minicad

// The document, database and model space of a drawing command.
#include "minicad/CommandContext.h"

#include <variant>

#include "fw/Strings.h"
#include "minicad/CommandProcessor.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/Host.h"
#include "minicad/OpenedObject.h"
#include "minicad/SystemVariables.h"

namespace minicad {
namespace {

std::wstring TextVariable(Host& host, std::wstring_view name) {
  std::optional<VariableValue> value = host.Variables().Value(name);
  const auto* text = value ? std::get_if<std::wstring>(&*value) : nullptr;
  return text == nullptr ? std::wstring() : *text;
}

// CECOLOR: "BYLAYER", "BYBLOCK" or an index.
Adesk::UInt16 CurrentColour(Host& host) {
  const std::wstring colour = fw::ToUpper(TextVariable(host, L"CECOLOR"));
  if (colour == L"BYBLOCK") return AcCmColor::kByBlock;
  wchar_t* end = nullptr;
  const long index = std::wcstol(colour.c_str(), &end, 10);
  if (end == colour.c_str() || *end != L'\0' || index < 1 || index > 255) {
    return AcCmColor::kByLayer;
  }
  return static_cast<Adesk::UInt16>(index);
}

}  // namespace

CommandContext::CommandContext(Host& host)
    : host_(host), input_(host), document_(host.Processor().CommandDocument()) {}

AcDbDatabase& CommandContext::Database() { return document_->Database(); }

void CommandContext::Refused(Acad::ErrorStatus status, std::wstring_view what) {
  input_.Fail(fw::Format(L"%ls: the drawing refused the change (status %d).",
                         std::wstring(what).c_str(), static_cast<int>(status)));
}

bool CommandContext::Append(AcDbObjectId block, std::unique_ptr<AcDbEntity> entity,
                            AcDbObjectId* id) {
  Opened<AcDbBlockTableRecord> space;
  Acad::ErrorStatus status = space.Open(block, AcDb::kForWrite);
  AcDbObjectId added;
  if (status == Acad::eOk) status = space->appendAcDbEntity(added, entity.get());
  if (status != Acad::eOk) {
    Refused(status, L"Adding an object");
    return false;
  }
  entity.release()->close();
  if (id != nullptr) *id = added;
  return true;
}

bool CommandContext::AddToModelSpace(std::unique_ptr<AcDbEntity> entity, AcDbObjectId* id) {
  (void)entity->setDatabaseDefaults(&Database());
  (void)entity->setColorIndex(CurrentColour(host_));
  const std::wstring linetype = TextVariable(host_, L"CELTYPE");
  if (!linetype.empty()) (void)entity->setLinetype(linetype.c_str());
  return Append(Inside().Standard().modelSpace, std::move(entity), id);
}

}  // namespace minicad

// EXPLODE, ERASE and DBLIST.
#include <memory>

#include "fw/Strings.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/CommandContext.h"
#include "minicad/DbList.h"
#include "minicad/ExplodedReference.h"
#include "minicad/Host.h"
#include "minicad/ObjectSelection.h"
#include "minicad/OpenedObject.h"

namespace minicad {
namespace {

// Each chosen block reference gives way to the objects of its block, placed as it placed them;
// other objects, and references that cannot be exploded, stay and are counted.
void ExplodeCommand(Host& host) {
  CommandContext context(host);
  std::optional<std::vector<AcDbObjectId>> selection = SelectObjects(context);
  if (!selection) return;
  std::size_t refused = 0;
  for (AcDbObjectId id : *selection) {
    Opened<AcDbBlockReference> reference;
    if (reference.Open(id, AcDb::kForWrite) != Acad::eOk) {
      ++refused;
      continue;
    }
    auto pieces = ExplodeReference(*reference.Get());
    if (!pieces) {
      ++refused;
      continue;
    }
    const AcDbObjectId owner = reference->ownerId();
    for (std::unique_ptr<AcDbEntity>& piece : *pieces) {
      if (!context.Append(owner, std::move(piece))) return;
    }
    (void)reference->erase();
  }
  if (refused > 0) {
    context.Input().Print(fw::Format(L"%zu was not able to be exploded.\n", refused));
  }
}

void EraseCommand(Host& host) {
  CommandContext context(host);
  std::optional<std::vector<AcDbObjectId>> selection = SelectObjects(context);
  if (!selection) return;
  for (AcDbObjectId id : *selection) {
    Opened<AcDbEntity> entity;
    Acad::ErrorStatus status = entity.Open(id, AcDb::kForWrite);
    if (status == Acad::eOk) status = entity->erase();
    if (status != Acad::eOk) return context.Refused(status, L"Erasing the object");
  }
}

void DblistCommand(Host& host) {
  CommandContext context(host);
  for (const std::wstring& line : ListDrawing(context.Inside())) {
    context.Input().Print(line + L"\n");
  }
}

}  // namespace

void AddEditCommands(Host& host) {
  AddHostCommand(host, L"EXPLODE", ACRX_CMD_MODAL, ExplodeCommand);
  AddHostCommand(host, L"ERASE", ACRX_CMD_MODAL, EraseCommand);
  AddHostCommand(host, L"DBLIST", ACRX_CMD_MODAL, DblistCommand);
}

}  // namespace minicad

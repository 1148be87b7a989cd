// Selecting objects by keyword or expression.
#include "minicad/ObjectSelection.h"

#include <algorithm>

#include "fw/Strings.h"
#include "minicad/CommandContext.h"
#include "minicad/LispExpression.h"

namespace minicad {
namespace {

std::vector<AcDbObjectId> AllEntities(const AcDbImpDatabase& database) {
  std::vector<AcDbObjectId> all;
  const auto* space = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(database.Standard().modelSpace);
  for (AcDbObjectId id : AcDbImpDatabase::Entities(*space)) {
    if (!AcDbImpDatabase::IsErased(id)) all.push_back(id);
  }
  return all;
}

// An object named by an expression counts when it is drawn in this drawing's model space.
bool InModelSpace(const AcDbImpDatabase& database, AcDbObjectId id) {
  const AcDbObject* object = AcDbImpDatabase::Peek(id);
  return object != nullptr && database.Owns(id) && !AcDbImpDatabase::IsErased(id) &&
         object->ownerId() == database.Standard().modelSpace;
}

}  // namespace

std::optional<std::vector<AcDbObjectId>> SelectObjects(CommandContext& context) {
  CommandInput& input = context.Input();
  const AcDbImpDatabase& database = context.Inside();
  static constexpr const wchar_t* kOptions[] = {L"Last", L"ALL"};
  std::vector<AcDbObjectId> selected;
  for (;;) {
    std::optional<std::wstring> answer = input.Word(L"Select objects: ");
    if (!answer) return std::nullopt;
    if (answer->empty()) return selected;
    std::vector<AcDbObjectId> found;
    if (answer->front() == L'(') {
      fw::Result<LispValue> value = EvaluateLisp(*answer, database);
      if (!value) {
        input.Fail(value.Message());
        return std::nullopt;
      }
      if (value.Value().nil || !InModelSpace(database, value.Value().entity)) {
        input.Fail(L"*Invalid selection*");
        return std::nullopt;
      }
      found.push_back(value.Value().entity);
    } else {
      switch (CommandInput::MatchKeyword(*answer, kOptions)) {
        case 0:
          if (AcDbObjectId last = LastEntity(database); !last.isNull()) found.push_back(last);
          break;
        case 1:
          found = AllEntities(database);
          break;
        default:
          input.Fail(L"*Invalid selection*\nExpects Last, ALL or an object's name");
          return std::nullopt;
      }
    }
    input.Print(fw::Format(L"%zu found\n", found.size()));
    for (AcDbObjectId id : found) {
      if (std::find(selected.begin(), selected.end(), id) == selected.end()) selected.push_back(id);
    }
  }
}

}  // namespace minicad

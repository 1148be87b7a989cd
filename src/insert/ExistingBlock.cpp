// The existence test and the existing-block question.
#include "insert/ExistingBlock.h"

#include <algorithm>

#include "arx/dbapserv.h"
#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"

namespace insert {

ExistingBlockMode ExistingBlockModeOf(int blockInsert) {
  switch (blockInsert) {
    case 1:
      return ExistingBlockMode::kAskOncePerDrawing;
    case 2:
      return ExistingBlockMode::kAlwaysUpdate;
    default:
      return ExistingBlockMode::kAsk;
  }
}

bool IsBlockDefined(const std::wstring& name) {
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* opened = nullptr;
  if (drawing == nullptr || drawing->getBlockTable(opened, AcDb::kForRead) != Acad::eOk) {
    return false;
  }
  AcDbObjectPointer<AcDbBlockTable> table;
  (void)table.acquire(opened);
  return table->has(name.c_str());
}

bool ShouldUpdateBlock(const std::wstring& name, ExistingBlockMode mode,
                       std::vector<std::wstring>& askedNames) {
  switch (mode) {
    case ExistingBlockMode::kAlwaysUpdate:
      return true;
    case ExistingBlockMode::kAskOncePerDrawing: {
      const bool asked =
          std::any_of(askedNames.begin(), askedNames.end(),
                      [&](const std::wstring& n) { return fw::EqualsNoCase(n, name); });
      if (asked) return true;
      askedNames.push_back(name);
      break;
    }
    case ExistingBlockMode::kAsk:
      break;
  }
  const std::wstring question =
      fw::Format(L"%s already exists, do you wish to overwrite?", name.c_str());
  return fw::AfxMessageBox(question, fw::MB_YESNO | fw::MB_ICONQUESTION) == fw::IDYES;
}

}  // namespace insert

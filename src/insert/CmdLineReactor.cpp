// Finishing insertions when the host's commands end.
#include "insert/CmdLineReactor.h"

#include "arx/dbapserv.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "insert/HostCommand.h"
#include "insert/InsertionState.h"
#include "layermap/BlockNameLayer.h"
#include "layermap/SymbolTableWalk.h"

namespace insert {
namespace {

constexpr const wchar_t* kBrowserCommand = L"quorva\n";

// Global names, compared exactly as the host reports them.
bool IsInsertion(std::wstring_view name) { return name == L"-INSERT" || name == L"-XREF"; }
bool IsStep(std::wstring_view name) { return IsInsertion(name) || name == L"EXPLODE"; }

std::wstring_view NameOf(const ACHAR* cmdStr) {
  return cmdStr == nullptr ? std::wstring_view() : std::wstring_view(cmdStr);
}

}  // namespace

const wchar_t* CmdLineReactor::ExplodeCommand(std::wstring_view hostProgram) {
  return hostProgram == L"aclt.exe" ? L"._explode _l\n\n" : L"._explode (entlast)\n\n";
}

// The first rule that applies is carried out.
void CmdLineReactor::commandEnded(const ACHAR* cmdStr) {
  const std::wstring_view name = NameOf(cmdStr);
  InsertionState& s = state_;
  if (!s.reactorArmed) return;
  if (s.explodePending && IsInsertion(name)) {
    (void)SendCommand(ExplodeCommand(HostProgramName()), false);
    if (!s.multipleInsertActive) s.explodePending = false;
    s.blockExisted = true;
  } else if (s.multipleInsertActive && IsStep(name)) {
    (void)SendCommand(s.repeatCommand, false);
    s.blockExisted = true;
  } else if (s.reopenDialogPending && IsStep(name)) {
    s.reactorArmed = false;
    layermap::RestoreCurrentLayer(s.layer);
    (void)SendCommand(kBrowserCommand, false);
    s.reopenDialogPending = false;
    s.blockExisted = true;
  } else if (IsStep(name)) {
    s.blockExisted = true;
    layermap::RestoreCurrentLayer(s.layer);
    s.reactorArmed = false;
  }
}

void CmdLineReactor::commandCancelled(const ACHAR* cmdStr) { EndedEarly(NameOf(cmdStr), true); }

// A failed command keeps the block definition it made.
void CmdLineReactor::commandFailed(const ACHAR* cmdStr) { EndedEarly(NameOf(cmdStr), false); }

// Whatever command is cancelled or fails while armed ends the insertion.
void CmdLineReactor::EndedEarly(std::wstring_view name, bool removeNewDefinition) {
  InsertionState& s = state_;
  if (!s.reactorArmed) return;
  if (s.explodePending && IsInsertion(name)) s.explodePending = false;
  if (s.multipleInsertActive && IsStep(name)) s.multipleInsertActive = false;
  if (removeNewDefinition && !s.blockExisted) RemoveInsertedDefinition();
  // The insertion is over: a later cancel must not remove this name again, whatever defines
  // it by then.
  s.blockExisted = true;
  if (s.reopenDialogPending) {
    (void)SendCommand(kBrowserCommand, false);
    s.reopenDialogPending = false;
  }
  // A cancelled explode leaves explodePending set by the rules above; nothing of this insertion
  // may carry over into the next one, which sets only the flags its own options ask for.
  s.explodePending = false;
  s.multipleInsertActive = false;
  s.reactorArmed = false;
  layermap::RestoreCurrentLayer(s.layer);
}

// The first record whose name equals the inserted block's, without regard to case; a record
// the host will not erase (one still placed somewhere) stays, silently.
void CmdLineReactor::RemoveInsertedDefinition() {
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  if (drawing == nullptr || state_.insertedBlockName.empty()) return;
  (void)layermap::ForEachRecord<AcDbBlockTableRecord>(
      *drawing, &AcDbDatabase::getBlockTable, [this](AcDbBlockTableRecord& block) {
        const ACHAR* name = nullptr;
        if (block.getName(name) != Acad::eOk || !fw::EqualsNoCase(name, state_.insertedBlockName)) {
          return true;
        }
        if (block.upgradeOpen() == Acad::eOk) (void)block.erase();
        return false;
      });
}

}  // namespace insert

// Inserting, attaching and opening library drawings.
#include "insert/InsertCommands.h"

#include <optional>

#include "arx/acedCmdNF.h"
#include "arx/adscodes.h"
#include "fw/FileStatus.h"
#include "fw/UiDriver.h"
#include "insert/CommandText.h"
#include "insert/HostCommand.h"
#include "insert/InsertionOptions.h"
#include "insert/InsertionState.h"
#include "layermap/BlockNameLayer.h"
#include "layermap/PrepareMappedBlock.h"
#include "layermap/ResBuf.h"
#include "library/Block.h"
#include "library/Directory.h"

namespace insert {
namespace {

constexpr const wchar_t* kInsertCommand = L"._-insert ";

// The answers -INSERT's block-name prompt may get for one library block, each checked and
// quoted before anything is done.
struct InsertTargets {
  std::wstring name;          // the definition in the drawing
  std::wstring file;          // the drawing file (internal blocks: the name)
  std::wstring redefinition;  // name=file
};

std::optional<InsertTargets> TypedTargets(const std::wstring& name, const std::wstring* file) {
  std::optional<std::wstring> typedName = TypedName(name);
  if (file == nullptr) {
    if (!typedName) return std::nullopt;
    return InsertTargets{*typedName, *typedName, *typedName};
  }
  std::optional<std::wstring> typedFile = TypedName(*file);
  std::optional<std::wstring> typedRedefinition = TypedName(name + L"=" + *file);
  if (!typedName || !typedFile || !typedRedefinition) return std::nullopt;
  return InsertTargets{*typedName, *typedFile, *typedRedefinition};
}

// Nothing was sent: the reactor stays idle and the layer a scheme made current goes back.
void Disarm(InsertionState& state) {
  state.reactorArmed = false;
  state.explodePending = false;
  state.multipleInsertActive = false;
  state.reopenDialogPending = false;
  state.blockExisted = true;
  layermap::RestoreCurrentLayer(state.layer);
}

// What the insert command names as its block for a library block, with the definition brought
// up to date as the insertion options ask; sets whether "_y" must answer the redefinition
// question.
std::wstring LibraryTarget(const library::Directory& directory, const std::wstring& name,
                           const std::wstring& file, const InsertTargets& typed,
                           ExistingBlockMode mode, InsertionState& state,
                           std::vector<std::wstring>& askedNames, bool& redefinition) {
  state.insertedBlockName = name;
  state.blockExisted = IsBlockDefined(name);
  std::wstring target = typed.name;
  if (state.blockExisted) {
    if (ShouldUpdateBlock(name, mode, askedNames) &&
        !layermap::PrepareMappedBlock(file, name, directory.currentScheme)) {
      target = typed.redefinition;
      redefinition = true;
    }
  } else if (!layermap::PrepareMappedBlock(file, name, directory.currentScheme)) {
    target = typed.file;
  }
  layermap::SetLayerForBlockName(name, directory.currentScheme, state.layer);
  return target;
}

}  // namespace

std::wstring DrawingFile(const library::Directory& directory, const library::Block& block) {
  const std::wstring path = directory.DrawingPath(block);
  return fw::FindFileNoCase(path).value_or(path);
}

void InsertBlock(const library::Directory& directory, const library::Block& block,
                 ExistingBlockMode mode, bool fromDialog, InsertionState& state,
                 std::vector<std::wstring>& askedNames) {
  const bool internal = directory.IsInternal();
  const std::wstring file = internal ? std::wstring() : DrawingFile(directory, block);
  std::optional<InsertTargets> typed = TypedTargets(block.name, internal ? nullptr : &file);
  if (!typed) {
    fw::AfxMessageBox(UnsafeNameMessage(internal ? block.name : file, L"inserted"));
    return;
  }
  bool redefinition = false;
  const std::wstring target = internal ? typed->name
                                       : LibraryTarget(directory, block.name, file, *typed, mode,
                                                       state, askedNames, redefinition);

  state.repeatCommand =
      kInsertCommand + typed->name + L"\n" + RepeatScaleAndRotation(directory) + L"\n";
  std::wstring command = kInsertCommand + target + L"\n";
  if (redefinition) command += L"_y\n";
  command += InsertScaleAndRotation(directory) + L"\n";
  ArmForInsert(directory, fromDialog, state);
  if (!SendCommand(command, false)) Disarm(state);
}

void AttachBlock(const library::Directory& directory, const library::Block& block, bool overlay,
                 InsertionState& state) {
  if (directory.IsInternal()) return;
  const std::wstring file = DrawingFile(directory, block);
  std::optional<std::wstring> typedFile = TypedName(file);
  if (!typedFile) {
    fw::AfxMessageBox(UnsafeNameMessage(file, overlay ? L"overlaid" : L"attached"));
    return;
  }
  layermap::SetLayerForBlockName(block.name, directory.currentScheme, state.layer);

  // Each element is one answer, blanks and all, so the file goes as it is.
  layermap::ResBuf tokens;
  bool made = tokens.AppendString(L"._-xref") &&
              tokens.AppendString(overlay ? L"_overlay" : L"_attach") &&
              tokens.AppendString(file.c_str()) && AppendXrefScaleAndRotation(directory, tokens) &&
              tokens.AppendString(L"\\");
  state.repeatCommand = std::wstring(overlay ? L"._-xref _o " : L"._-xref _a ") + *typedFile +
                        L"\n" + RepeatScaleAndRotation(directory) + L"\n";
  ArmForXref(directory, state);
  const int result = made ? acedCmdS(tokens.Head()) : RTERROR;
  if (!made) Disarm(state);
  // A cancel is the user's choice; only a failure says the file cannot be attached.
  if (result != RTNORM && result != RTCAN) fw::AfxMessageBox(L"This file cannot be xrefed");
  layermap::RestoreCurrentLayer(state.layer);
}

void OpenBlock(const library::Directory& directory, const library::Block& block,
               std::wstring& pendingOpenPath) {
  if (directory.IsInternal()) return;
  pendingOpenPath = DrawingFile(directory, block);
  (void)SendCommand(L"trvxqvopen ", true);
}

}  // namespace insert

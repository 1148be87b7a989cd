// -BLOCK, -INSERT and -XREF: defining blocks from the drawing's objects or from drawing files,
// and placing references to them.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fw/FileName.h"
#include "fw/Strings.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/CommandContext.h"
#include "minicad/DatabaseInsert.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/DrawingFiles.h"
#include "minicad/FileSearch.h"
#include "minicad/Host.h"
#include "minicad/InsertionPrompts.h"
#include "minicad/ObjectSelection.h"
#include "minicad/OpenedObject.h"
#include "minicad/RecordMaking.h"
#include "minicad/SymbolNames.h"

namespace minicad {
namespace {

AcDbObjectId FindBlock(CommandContext& context, std::wstring_view name) {
  AcDbImpDatabase& inside = context.Inside();
  return inside.FindRecord(inside.Standard().blockTable, name);
}

const AcDbBlockTableRecord* BlockOf(AcDbObjectId id) {
  return AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id);
}

bool HasExtension(const std::wstring& name) { return !fw::CFileName(name).Extension().empty(); }

// Where the host looks for a drawing named without a folder: the drawing's own folder, the
// support folders, the program's folder.
std::vector<std::wstring> DrawingFolders(CommandContext& context) {
  std::vector<std::wstring> folders;
  if (!context.GetDocument().IsNewDrawing()) {
    folders.push_back(fw::FolderOf(context.GetDocument().fileName()));
  }
  Host& host = context.GetHost();
  folders.insert(folders.end(), host.SupportFolders().begin(), host.SupportFolders().end());
  folders.push_back(host.ProgramFolder());
  return folders;
}

// The drawing file a typed name means: a path as it is (".dwg" added when it has no
// extension, the extension's case not mattering), a bare name searched for on the search path.
std::optional<std::wstring> FindDrawing(CommandContext& context, const std::wstring& typed) {
  const std::wstring name = HasExtension(typed) ? typed : typed + L".dwg";
  if (typed.find(fw::kPathSeparator) != std::wstring::npos) return FindDrawingFile(name);
  return FindFileInFolders(name, DrawingFolders(context));
}

// Defines `name` from `file`: its model space, or for a drawing of another program a definition
// without objects. False, with the host's line printed, when that cannot be done.
bool DefineFromFile(CommandContext& context, const std::wstring& name, const std::wstring& file,
                    const BlockSource& kind, AcDbObjectId& blockId) {
  CommandInput& input = context.Input();
  DrawingRead read = ReadDrawingFile(file);
  Acad::ErrorStatus status = Acad::eOk;
  if (read.status == Acad::eOk) {
    status =
        CopyAsBlock(context.Inside(), name, AcDbImpDatabase::Of(*read.database), kind, blockId);
  } else if (read.status == Acad::eInvalidDwgVersion) {
    status = MakeForeignBlock(context.Inside(), name, kind, blockId);
  } else if (read.status == Acad::eFileNotFound) {
    input.Fail(fw::Format(L"Cannot find the drawing file \"%s\".", file.c_str()));
    return false;
  } else {
    input.Fail(fw::Format(L"The drawing file \"%s\" cannot be read: %s", file.c_str(),
                          read.error.c_str()));
    return false;
  }
  if (status == Acad::eSelfReference) {
    input.Fail(fw::Format(L"Block \"%s\" references itself.", name.c_str()));
    return false;
  }
  if (status != Acad::eOk) {
    context.Refused(status, L"Defining the block");
    return false;
  }
  return true;
}

// Places a reference to `block` as the insertion prompts ask, on the current layer.
void PlaceReference(CommandContext& context, AcDbObjectId block) {
  std::optional<InsertPlacement> placement = AskInsertPlacement(context);
  if (!placement) return;
  auto reference = std::make_unique<AcDbBlockReference>(placement->position, block);
  (void)reference->setScaleFactors(placement->scale);
  (void)reference->setRotation(placement->rotation);
  context.AddToModelSpace(std::move(reference));
}

// What an answer at the block-name prompt asks for: a block by name, a drawing file (whose
// title names the block), or "name=file" (the block `name` defined from the file).
struct InsertTarget {
  std::wstring name;
  std::optional<std::wstring> file;
  bool typedFile = false;  // a file given, or "name=file"
};

std::optional<InsertTarget> ResolveInsertTarget(CommandContext& context,
                                                const std::wstring& answer) {
  CommandInput& input = context.Input();
  InsertTarget target;
  const std::size_t equals = answer.find(L'=');
  const bool looksLikeFile = answer.find(fw::kPathSeparator) != std::wstring::npos ||
                             fw::EqualsNoCase(fw::CFileName(answer).Extension(), L".dwg");
  if (equals != std::wstring::npos && !(looksLikeFile && FindDrawingFile(answer))) {
    target.name = answer.substr(0, equals);
    const std::wstring file = answer.substr(equals + 1);
    target.file = FindDrawing(context, file.empty() ? target.name : file);
    target.typedFile = true;
    if (!target.file) {
      input.Fail(fw::Format(L"\"%s\": Can't find file in search path.",
                            (file.empty() ? target.name + L".dwg" : file).c_str()));
      return std::nullopt;
    }
  } else if (looksLikeFile) {
    target.file = FindDrawing(context, answer);
    target.name = fw::CFileName(answer).Title();
    target.typedFile = true;
    if (!target.file) {
      input.Fail(fw::Format(L"Cannot find the drawing file \"%s\".", answer.c_str()));
      return std::nullopt;
    }
  } else {
    target.name = answer;
    if (FindBlock(context, answer).isNull()) {
      target.file = FindDrawing(context, answer);
      if (!target.file) {
        input.Fail(fw::Format(L"\"%s.dwg\": Can't find file in search path.", answer.c_str()));
        return std::nullopt;
      }
    }
  }
  if (!IsValidSymbolName(target.name)) {
    input.Fail(L"Invalid block name.");
    return std::nullopt;
  }
  return target;
}

void InsertCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<std::wstring> answer = input.Name(L"Enter block name: ");
  if (!answer) return;
  if (answer->empty()) return input.Fail(L"Invalid block name.");
  std::optional<InsertTarget> target = ResolveInsertTarget(context, *answer);
  if (!target) return;
  AcDbObjectId block = FindBlock(context, target->name);
  if (!block.isNull() && BlockOf(block)->isFromExternalReference()) {
    return input.Fail(
        fw::Format(L"\"%s\" is an external reference, not a block.", target->name.c_str()));
  }
  bool define = block.isNull() && target->file;
  if (!block.isNull() && target->typedFile) {
    std::optional<bool> redefine =
        input.YesNo(fw::Format(L"Block \"%s\" already exists. Redefine it? [Yes/No] <N>: ",
                               target->name.c_str()),
                    false);
    if (!redefine) return;
    define = *redefine;
  }
  if (define && !DefineFromFile(context, target->name, *target->file, BlockSource{}, block)) {
    return;
  }
  PlaceReference(context, block);
}

void XrefCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  static constexpr const wchar_t* kOptions[] = {L"Attach", L"Overlay"};
  std::optional<std::wstring> option = input.Word(L"Enter an option [Attach/Overlay] <Attach>: ");
  if (!option) return;
  const int chosen = option->empty() ? 0 : CommandInput::MatchKeyword(*option, kOptions);
  if (chosen < 0) return input.Fail(L"Invalid option keyword.");
  const bool overlay = chosen == 1;
  std::optional<std::wstring> typed =
      input.Name(overlay ? L"Enter name of file to overlay: " : L"Enter name of file to attach: ");
  if (!typed) return;
  if (typed->empty()) return input.Fail(L"Invalid file name.");
  std::optional<std::wstring> file = FindDrawing(context, *typed);
  if (!file) return input.Fail(fw::Format(L"Cannot find the drawing file \"%s\".", typed->c_str()));
  const std::wstring name = fw::CFileName(*file).Title();
  if (!IsValidSymbolName(name)) return input.Fail(L"Invalid block name.");

  AcDbObjectId block = FindBlock(context, name);
  if (!block.isNull() && !BlockOf(block)->isFromExternalReference()) {
    return input.Fail(
        fw::Format(L"Block \"%s\" already exists and is not an external reference.", name.c_str()));
  }
  if (!block.isNull()) {
    input.Print(fw::Format(L"Xref \"%s\" has already been loaded.\n", name.c_str()));
  } else {
    input.Print(fw::Format(L"%s Xref \"%s\": %s\n", overlay ? L"Overlay" : L"Attach", name.c_str(),
                           file->c_str()));
    if (!DefineFromFile(context, name, *file, BlockSource{*file, overlay}, block)) return;
    input.Print(fw::Format(L"\"%s\" loaded.\n", name.c_str()));
  }
  PlaceReference(context, block);
}

// A redefinition may not take in a reference to a block that places the block itself.
bool SelectionPlacesBlock(CommandContext& context, AcDbObjectId block,
                          const std::vector<AcDbObjectId>& selection) {
  if (block.isNull()) return false;
  const std::vector<AcDbObjectId> placing = context.Inside().BlocksPlacing(block);
  for (AcDbObjectId id : selection) {
    const auto* reference = AcDbImpDatabase::PeekAs<AcDbBlockReference>(id);
    if (reference == nullptr) continue;
    for (AcDbObjectId place : placing) {
      if (place == reference->blockTableRecord()) return true;
    }
  }
  return false;
}

// The record of `name`: made, or emptied of its old objects.
bool PrepareBlock(CommandContext& context, const std::wstring& name, const AcGePoint3d& base,
                  AcDbObjectId& block) {
  Opened<AcDbBlockTableRecord> record;
  const Acad::ErrorStatus status = OpenEmptiedBlock(context.Inside(), name, record, block);
  if (status != Acad::eOk) {
    context.Refused(status, L"Defining the block");
    return false;
  }
  (void)record->setOrigin(base);
  return true;
}

// The chosen objects move from model space into the block, as the host's -BLOCK takes them out
// of the drawing.
void BlockCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<std::wstring> name = input.Name(L"Enter block name: ");
  if (!name) return;
  if (!IsValidSymbolName(*name)) return input.Fail(L"Invalid block name.");
  AcDbObjectId block = FindBlock(context, *name);
  if (!block.isNull()) {
    if (BlockOf(block)->isFromExternalReference() || BlockOf(block)->isLayout()) {
      return input.Fail(fw::Format(L"Block \"%s\" cannot be redefined.", name->c_str()));
    }
    std::optional<bool> redefine = input.YesNo(
        fw::Format(L"Block \"%s\" already exists. Redefine it? [Yes/No] <N>: ", name->c_str()),
        false);
    if (!redefine || !*redefine) return;
  }
  std::optional<AcGePoint3d> base = input.Point(L"Specify insertion base point: ");
  if (!base) return;
  std::optional<std::vector<AcDbObjectId>> selection = SelectObjects(context);
  if (!selection) return;
  if (SelectionPlacesBlock(context, block, *selection)) {
    return input.Fail(fw::Format(L"Block \"%s\" references itself.", name->c_str()));
  }
  if (!PrepareBlock(context, *name, *base, block)) return;
  for (AcDbObjectId id : *selection) {
    Opened<AcDbEntity> original;
    if (Acad::ErrorStatus status = original.Open(id, AcDb::kForWrite); status != Acad::eOk) {
      return context.Refused(status, L"Taking the object");
    }
    std::unique_ptr<AcDbEntity> copy(static_cast<AcDbEntity*>(original->clone()));
    if (!context.Append(block, std::move(copy))) return;
    (void)original->erase();
  }
}

}  // namespace

void AddBlockCommands(Host& host) {
  AddHostCommand(host, L"-BLOCK", ACRX_CMD_MODAL, BlockCommand);
  AddHostCommand(host, L"-INSERT", ACRX_CMD_MODAL, InsertCommand);
  AddHostCommand(host, L"-XREF", ACRX_CMD_MODAL, XrefCommand);
}

}  // namespace minicad

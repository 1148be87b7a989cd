// Actions and the closing procedure: an action stores what is to be done and closes; the
// closing work runs once per showing, on the worker StopLoader starts, after the loader ended.
#include <mutex>
#include <utility>

#include "fw/ImageList.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
#include "insert/InsertCommands.h"
#include "layermap/LayerNames.h"
#include "library/Block.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/DialogLoaderView.h"
#include "ui/OptionControls.h"

namespace ui {
namespace {

const wchar_t* ActionName(PendingAction action) {
  switch (action) {
    case PendingAction::kNone:
      return L"none";
    case PendingAction::kInsert:
      return L"Insert";
    case PendingAction::kOpen:
      return L"Open";
    case PendingAction::kXref:
      return L"Xref";
  }
  return L"none";
}

}  // namespace

void BlockDlg::StartAction(PendingAction action) {
  if (closing_.load()) return;
  library::Directory* d = library::TheLibrary().Current();
  library::Block* b = blocks_.BlockAt(blocks_.Selected());
  if (d == nullptr || b == nullptr) return;
  pendingAction_ = action;
  pendingDirectoryPath_ = d->path;
  pendingBlock_ = b;
  pendingName_ = b->name;
  pendingPath_ = d->IsInternal() ? std::wstring() : d->DrawingPath(*b);
  options_->Store();
  StartClosing();
}

void BlockDlg::StartClosing() {
  CloseQuickPic();
  if (closing_.exchange(true)) return;
  LogLine(L"StopLoader\n");
  closingWorker_ = library::StopLoader([this] { ClosingWork(); });
}

// On the closing worker, after the loader ended; the dialog's thread only delivers posts now.
void BlockDlg::ClosingWork() {
  LogLine(L"Closing\n");
  options_->Store();
  library::SetBlockDialogShown(false);
  fw::ListCtrl& blocks = blocks_.Control();
  view_->Forget();
  blocks.DeleteAllItems();
  blocks.SetImageList(fw::CImageList(), fw::LVSIL_NORMAL);
  blocks.SetImageList(fw::CImageList(), fw::LVSIL_SMALL);
  ApplyView(kViewReport);

  settings::Options& options = settings::TheSettings().options;
  for (std::size_t i = 0; i < options.columnWidths.size(); ++i) {
    options.columnWidths[i] = blocks.GetColumnWidth(static_cast<int>(i));
  }
  for (std::size_t i = 0; i < options.dirColumnWidths.size(); ++i) {
    options.dirColumnWidths[i] = directories_.Control().GetColumnWidth(static_cast<int>(i));
  }
  settings::SaveIni(false);
  PostCommand(kCommandEndModal);
  PublishBlockDlg(nullptr);
  if (options.delCacheMemoryOnClose != 0) library::ReleaseAllImages(library::TheLibrary());
}

namespace {

// The action's directory and block as the library holds them when the action runs, found again
// by the directory's path and the block's name rather than kept as pointers from the click: the
// closing work and the workers of the showing run in between. Null when either is gone.
std::pair<const library::Directory*, const library::Block*> FindActionBlock(
    const std::wstring& directoryPath, const std::wstring& name) {
  library::Library& library = library::TheLibrary();
  std::lock_guard<fw::CriticalSection> hold(library.Lock());
  const library::Directory* d = library.FindByPath(directoryPath);
  if (d == nullptr) return {nullptr, nullptr};
  for (const auto& block : d->Blocks()) {
    if (block->name == name) return {d, block.get()};
  }
  return {nullptr, nullptr};
}

}  // namespace

// Runs once: the action is cleared before it runs.
void BlockDlg::RunPendingAction() {
  const PendingAction action = std::exchange(pendingAction_, PendingAction::kNone);
  if (action == PendingAction::kNone) return;
  // A name may hold line ends: the run log gets it written visibly, one line per entry.
  LogLine(L"Pending action: %s %s\n", ActionName(action),
          layermap::VisibleName(pendingPath_.empty() ? pendingName_ : pendingPath_).c_str());
  const auto [found, block] = FindActionBlock(pendingDirectoryPath_, pendingName_);
  if (found == nullptr) return;
  const library::Directory& d = *found;
  const library::Block& b = *block;
  const settings::Options& options = settings::TheSettings().options;
  switch (action) {
    case PendingAction::kNone:
      break;
    case PendingAction::kInsert:
      if (environment_.insertion != nullptr && environment_.askedBlockNames != nullptr) {
        insert::InsertBlock(d, b, insert::ExistingBlockModeOf(options.blockInsert), true,
                            *environment_.insertion, *environment_.askedBlockNames);
      }
      break;
    case PendingAction::kXref:
      if (environment_.insertion != nullptr) {
        insert::AttachBlock(d, b, options.overlayXRef != 0, *environment_.insertion);
      }
      break;
    case PendingAction::kOpen:
      if (environment_.pendingOpenPath != nullptr) {
        insert::OpenBlock(d, b, *environment_.pendingOpenPath);
      }
      break;
  }
}

}  // namespace ui

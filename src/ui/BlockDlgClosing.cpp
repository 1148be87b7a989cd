// Actions and the closing procedure: an action stores what is to be done and closes; the
// closing work runs once per showing, on the worker StopLoader starts, after the loader ended.
#include <mutex>

#include "fw/ImageList.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
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

// FIXME: the insertion, attach/overlay and open commands come with the insertion work; until
// then the pending action is only recorded in the run log.
void BlockDlg::RunPendingAction() {
  if (pendingAction_ == PendingAction::kNone) return;
  LogLine(L"Pending action: %s %s\n", ActionName(pendingAction_),
          pendingPath_.empty() ? pendingName_.c_str() : pendingPath_.c_str());
}

}  // namespace ui

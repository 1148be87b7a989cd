// The block list's events: the properties box of the selected block with the enabling of the
// buttons that depend on its drawing, the loader's filled note, and the double click.
#include <mutex>
#include <shared_mutex>

#include "dwgprobe/DrawingVersion.h"
#include "fw/Strings.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/DialogLoaderView.h"

namespace ui {
namespace {

// Drawings older than R13 (index 14) have no description we can write.
constexpr int kFirstVersionWithDescription = 14;


}  // namespace

void BlockDlg::OnBlockChanged(fw::Notify& notify) {
  if ((notify.newState & fw::LVIS_SELECTED) == 0 || (notify.oldState & fw::LVIS_SELECTED) != 0) {
    return;
  }
  ShowProperties(notify.item);
}

void BlockDlg::ShowProperties(int item) {
  library::Library& library = library::TheLibrary();
  // The item's block lives while the item does: blocks leave the list before they are deleted,
  // under these locks.
  std::lock_guard<fw::CriticalSection> hold(library.Lock());
  std::shared_lock fields(library::BlockFieldsLock());
  const library::Block* b = blocks_.BlockAt(item);
  library::Directory* d = library.Current();
  if (b == nullptr || d == nullptr || view_->ShownDirectory() != d) return;
  if (!d->IsInternal()) {
    bool readable = b->version <= formatLevel_;
    for (int id : {kIdInsert, kIdXref, kIdOpen}) GetDlgItem(id)->EnableWindow(readable);
    GetDlgItem(kIdEditDescription)
        ->EnableWindow(b->version >= kFirstVersionWithDescription && MayEdit());
  }
  SetDlgItemText(kIdProperties,
                 fw::Format(L"Block: %s\nDesc: %s\nFile Type: %s\nSize: %ld\nCreated: %s\n"
                            L"Modified: %s",
                            b->name.c_str(), b->description.c_str(),
                            dwgprobe::VersionName(b->version),
                            static_cast<long>(b->currentStatus.size),
                            BlockTimeText(b->created).c_str(), BlockTimeText(b->modified).c_str()));
}

void BlockDlg::ClearProperties() { SetDlgItemText(kIdProperties, L""); }

// The loader filled (or stopped filling) d's list: while d is still the directory on screen,
// its view, sort order and selection come back, and the list shows in place of the placeholder.
void BlockDlg::OnListFilled(fw::Notify& notify) {
  const auto* d = reinterpret_cast<const library::Directory*>(notify.itemData);
  if (!view_->IsLatestFill(notify.column)) return;
  library::Directory* current = library::TheLibrary().Current();
  bool complete = notify.item != 0;
  if (complete && current == d && view_->ShownDirectory() == d && library::IsBlockDialogShown()) {
    ApplyView(current->view);
    blocks_.Resort(current->sortStyle);
    view_->MarkFilled(*current);
    blocks_.Select(current->selectedIndex);
  }
  GetDlgItem(kIdPlaceholder)->ShowWindow(fw::SW_HIDE);
  blocks_.Control().ShowWindow(fw::SW_SHOW);
}

// The block the note names is probed; while it is still the selected one, its properties and the
// buttons that depend on its drawing are shown again.
void BlockDlg::OnSelectedBlockProbed(const fw::Notify& notify) {
  int item = blocks_.Selected();
  if (item >= 0 && blocks_.Control().GetItemData(item) == notify.itemData) ShowProperties(item);
}

void BlockDlg::OnBlockDoubleClick() {
  if (GetDlgItem(kIdInsert)->IsWindowEnabled()) StartAction(PendingAction::kInsert);
}

}  // namespace ui

// Quick find as the user drives it: every change of the find box's text searches from the top of
// the block list, Enter searches on from the selected block; a match only in another directory
// switches to that directory with the match selected once it is shown.
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "fw/UiDriver.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/BlockSort.h"
#include "ui/DialogLoaderView.h"
#include "ui/QuickFind.h"

namespace ui {
namespace {

// Holds a search's running flag for the life of the search; a search whose flag is already set
// (one of its kind is running further up the stack) does not start.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
  ~RunningFlag() {
    if (entered_) flag_ = false;
  }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool& flag_;
  bool entered_;
};

}  // namespace

library::Directory* BlockDlg::SearchableDirectory() const {
  library::Directory* d = library::TheLibrary().Current();
  // The list must show d's blocks: right after a switch the loader is still filling it.
  if (d == nullptr || !library::IsLoaded(*d) || !view_->IsFilled(*d)) return nullptr;
  return d;
}

void BlockDlg::OnFindText() {
  RunningFlag running(findRunning_);
  if (!running.Entered()) return;
  library::Directory* d = SearchableDirectory();
  if (d == nullptr) return;
  fw::CWaitCursor wait;
  std::wstring pattern = FindPattern(GetDlgItemText(kIdQuickFind));
  if (SelectMatch(pattern, 0)) return;
  ShowMatchElsewhere(pattern, d);
}

void BlockDlg::OnFindKey(fw::Notify& notify) {
  // Tab, Escape and the rest go on to the dialog.
  if (notify.key != fw::Key::kEnter) return;
  notify.handled = true;
  FindNext();
}

void BlockDlg::FindNext() {
  RunningFlag running(findNextRunning_);
  if (!running.Entered()) return;
  library::Directory* d = SearchableDirectory();
  if (d == nullptr) return;
  fw::CWaitCursor wait;
  std::wstring pattern = FindPattern(GetDlgItemText(kIdQuickFind));
  // From the item after the selected one (the first when none is), then the other directories,
  // then around again from the top of this list.
  if (SelectMatch(pattern, blocks_.Selected() + 1)) return;
  if (ShowMatchElsewhere(pattern, d)) return;
  SelectMatch(pattern, 0);
}

bool BlockDlg::SelectMatch(const std::wstring& pattern, int start) {
  int found = FindInList(pattern, blocks_.Control(), start);
  if (found < 0) return false;
  blocks_.Select(found);
  return true;
}

bool BlockDlg::ShowMatchElsewhere(const std::wstring& pattern, library::Directory* current) {
  std::optional<FoundBlock> found = FindInOtherDirectories(pattern, current);
  if (!found) return false;
  library::Directory* d = found->directory;
  // The loader lists d's blocks in their order and the list is then sorted by d's style: the
  // match will stand where that sort puts it.
  std::size_t position = 0;
  {
    std::lock_guard<fw::CriticalSection> hold(library::TheLibrary().Lock());
    std::shared_lock fields(library::BlockFieldsLock());
    std::vector<const library::Block*> blocks;
    blocks.reserve(d->BlockCount());
    for (const auto& b : d->Blocks()) blocks.push_back(b.get());
    position = SortedPosition(blocks, found->index, d->sortStyle);
  }
  SwitchDirectory(d);
  d->selectedIndex = static_cast<std::int32_t>(position);
  directories_.Select(directories_.RowOf(*d));
  return true;
}

}  // namespace ui

// The directory list's work: switching the current directory, Add, Delete, Move Up and Down,
// renaming by label edit, the context menu and Refresh.
#include <mutex>

#include "fw/FileName.h"
#include "fw/Menu.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/DirProps.h"
#include "ui/OptionControls.h"

namespace ui {
namespace {

using Hold = std::lock_guard<fw::CriticalSection>;

constexpr const wchar_t* kNewDirectoryDescription = L"New Directory";

bool BecameSelected(const fw::Notify& notify) {
  return (notify.newState & fw::LVIS_SELECTED) != 0 && (notify.oldState & fw::LVIS_SELECTED) == 0;
}

bool IsInLibrary(const library::Directory* d) {
  library::Library& library = library::TheLibrary();
  Hold hold(library.Lock());
  return d != nullptr && library.IndexOf(*d).has_value();
}

// A description a user may give: not empty, and without line ends or other control characters,
// which the settings file could not keep on one line.
bool IsAcceptableDescription(const std::wstring& text) {
  if (text.empty()) return false;
  for (wchar_t c : text) {
    if (c < L' ' || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

void BlockDlg::OnDirectoryChanged(fw::Notify& notify) {
  if (!BecameSelected(notify)) return;
  library::Directory* d = directories_.DirectoryAt(notify.item);
  if (!IsInLibrary(d) || d == library::TheLibrary().Current()) return;
  SwitchDirectory(d);
}

void BlockDlg::SwitchDirectory(library::Directory* d) {
  library::Library& library = library::TheLibrary();
  ClearProperties();
  options_->Store();
  library::Directory* old = library.Current();
  library.SetCurrent(d);
  // The internal directory keeps only placeholders, and its load waits for the drawing, so its
  // images are neither read nor released here.
  if (d != nullptr && !d->imagesLoaded && !d->IsInternal()) {
    fw::CWaitCursor wait;
    library::RunWhileLoaderIsOff(*d, [d] { (void)library::ReadImageCache(*d); });
  }
  options_->Load();
  if (old != nullptr && old != d && !old->IsInternal() &&
      settings::TheSettings().options.onlyCacheCurrent != 0 && IsInLibrary(old)) {
    library::RunWhileLoaderIsOff(*old, [old] { (void)library::ReleaseImages(*old); });
  }
  if (d != nullptr) library::QueueDirectory(*d);
}

void BlockDlg::OnAdd() {
  if (!MayEdit()) return;
  std::wstring start = environment_.pickerStartFolder ? *environment_.pickerStartFolder : L"";
  std::optional<std::wstring> folder =
      fw::BrowseForFolder(L"Select Directory", start, fw::BIF_RETURNONLYFSDIRS);
  if (!folder) return;
  while (folder->size() > 1 && folder->back() == fw::kPathSeparator) folder->pop_back();
  if (environment_.pickerStartFolder != nullptr) *environment_.pickerStartFolder = *folder;
  options_->Store();

  library::Library& library = library::TheLibrary();
  library::Directory* added = nullptr;
  {
    Hold hold(library.Lock());
    auto d = std::make_unique<library::Directory>();
    d->path = *folder;
    d->description = kNewDirectoryDescription;
    d->cacheFile = library::NewImageCacheName(library, settings::TheSettings().cachePath);
    added = &library.Append(std::move(d));
  }
  int row = directories_.InsertDirectory(kAppend, *added);
  directories_.Select(row);
}

void BlockDlg::OnDelete() {
  if (!MayEdit()) return;
  int row = directories_.Selected();
  library::Directory* d = directories_.DirectoryAt(row);
  if (!IsInLibrary(d)) return;
  if (d->IsInternal()) {
    MessageBox(L"You may not delete Internal Blocks", {}, fw::MB_OK | fw::MB_ICONEXCLAMATION);
    return;
  }
  std::wstring question = fw::Format(L"Are you sure you wish to delete '%s'?", d->description.c_str());
  if (MessageBox(question, {}, fw::MB_YESNO | fw::MB_ICONQUESTION) != fw::IDYES) return;
  int rows = directories_.Control().GetItemCount();
  if (rows <= 1) {
    ClearProperties();
    options_->Store();
    library::TheLibrary().SetCurrent(nullptr);
    directories_.Control().SetItemState(-1, 0, fw::LVIS_SELECTED);
  } else {
    directories_.Select(row > 0 ? row - 1 : row + 1);
  }
  LogLine(L"DeleteDirectory\n");
  library::StartDeleteDirectory(*d);
}

void BlockDlg::OnMove(int step) {
  if (!MayEdit()) return;
  library::Library& library = library::TheLibrary();
  Hold hold(library.Lock());
  library::Directory* d = library.Current();
  if (d == nullptr) return;
  int row = directories_.RowOf(*d);
  int other = row + step;
  if (row < 0 || other < 0 || other >= directories_.Control().GetItemCount()) return;
  library::Directory* neighbour = directories_.DirectoryAt(other);
  std::optional<std::size_t> at = library.IndexOf(*d);
  std::optional<std::size_t> neighbourAt = neighbour ? library.IndexOf(*neighbour) : std::nullopt;
  if (!at || !neighbourAt) return;
  directories_.Control().DeleteItem(other);
  directories_.InsertDirectory(row, *neighbour);
  d->listIndex = other;
  library.Swap(*at, *neighbourAt);
}

void BlockDlg::OnBeginLabelEdit(fw::Notify& notify) {
  library::Directory* d = directories_.DirectoryAt(notify.item);
  notify.refuse = !MayEdit() || !IsInLibrary(d) || d->IsInternal();
}

void BlockDlg::OnEndLabelEdit(fw::Notify& notify) {
  library::Directory* d = directories_.DirectoryAt(notify.item);
  if (!MayEdit() || !IsInLibrary(d) || d->IsInternal()) return;
  if (!IsAcceptableDescription(notify.text)) return;
  d->description = notify.text;
  notify.accept = true;
}

void BlockDlg::OnDirectoryMenu(fw::Notify& notify) {
  options_->Store();
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  fw::Menu menu;
  // Directory Properties changes the shared set-up: not for a user who may not edit it.
  menu.AppendMenu(fw::MF_STRING | (MayEdit() ? 0u : fw::MF_GRAYED), kMenuProperties,
                  L"Properties");
  menu.AppendMenu(fw::MF_SEPARATOR);
  bool reloadable = library::IsLoaded(*d) && !d->IsInternal();
  menu.AppendMenu(fw::MF_STRING | (reloadable ? 0u : fw::MF_GRAYED), kMenuReloadDirectory,
                  L"Reload Directory");
  fw::CRect rect = directories_.Control().GetWindowRect();
  int chosen = menu.TrackPopupMenu(fw::TPM_LEFTALIGN | fw::TPM_RIGHTBUTTON | fw::TPM_RETURNCMD,
                                   rect.left + notify.point.x, rect.top + notify.point.y, *this);
  if (chosen == kMenuReloadDirectory) {
    Refresh();
  } else if (chosen == kMenuProperties && MayEdit()) {
    DirPropsActions actions;
    actions.refresh = [this] { Refresh(); };
    actions.leaveLargeIcons = [this] {
      if (blocks_.View() != kViewLargeIcons) return;
      ApplyView(kViewReport);
      if (library::Directory* current = library::TheLibrary().Current()) {
        blocks_.Resort(current->sortStyle);
      }
    };
    actions.showDescription = [this] {
      library::Directory* current = library::TheLibrary().Current();
      int row = current != nullptr ? directories_.RowOf(*current) : -1;
      if (row >= 0) directories_.Control().SetItemText(row, 0, current->description);
    };
    DirProps dialog(std::move(actions));
    dialog.DoModal();
  }
}

// A fresh copy of the current directory (settings only) takes its place and is loaded anew;
// the old one goes once the loader is off it.
void BlockDlg::Refresh() {
  options_->Store();
  library::Library& library = library::TheLibrary();
  library::Directory* old = library.Current();
  if (old == nullptr || old->IsInternal()) return;
  std::unique_ptr<library::Directory> copy = old->CopySettings();
  library::Directory* fresh = copy.get();
  std::unique_ptr<library::Directory> replaced;
  {
    Hold hold(library.Lock());
    replaced = library.Replace(*old, std::move(copy));
    if (!replaced) return;
    int row = directories_.RowOf(*old);
    if (row >= 0) directories_.Control().SetItemData(row, reinterpret_cast<fw::ItemData>(fresh));
  }
  SwitchDirectory(fresh);
  library::RetireDirectory(std::move(replaced));
}

}  // namespace ui

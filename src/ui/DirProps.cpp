// The Directory Properties dialog: set-up, the timer that follows the loader, Browse, Apply
// (OK and Reload Blocks) and Save LSAs.
#include "ui/DirProps.h"

#include <array>
#include <mutex>
#include <shared_mutex>

#include "dwgprobe/DescriptionWriter.h"
#include "dwgprobe/DrawingVersion.h"
#include "fw/FileName.h"
#include "fw/ListBox.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "ui/SideDlgIds.h"

namespace ui {
namespace {

library::Directory* Current() { return library::TheLibrary().Current(); }

bool Reloadable(const library::Directory& d) { return d.loaded && !d.IsInternal(); }

std::vector<int> BlockVersions(const library::Directory& d) {
  std::shared_lock hold(library::BlockFieldsLock());
  std::vector<int> versions;
  versions.reserve(d.BlockCount());
  for (const auto& block : d.Blocks()) versions.push_back(block->version);
  return versions;
}

}  // namespace

DirProps::DirProps(DirPropsActions actions)
    : Dialog(kDirPropsTemplateId), actions_(std::move(actions)) {
  using fw::Event;
  On(kDirPropsTimer, Event::kTimer, [this] { Follow(); });
  On(kIdBrowseFolder, Event::kClicked, [this] { OnBrowse(); });
  On(kIdUseLargeImages, Event::kClicked, [this] { OnUseLargeImages(); });
  On(kIdReloadBlocks, Event::kClicked, [this] { OnReload(); });
  On(kIdSaveLsas, Event::kClicked, [this] { OnSaveLsas(); });
}

std::vector<std::wstring> DirProps::CountLines(std::span<const int> versions) {
  std::array<int, library::Block::kVersionCount> counts{};
  for (int version : versions) {
    if (version >= 0 && version < library::Block::kVersionCount)
      ++counts[static_cast<std::size_t>(version)];
  }
  std::vector<std::wstring> lines;
  for (int index = 0; index < library::Block::kVersionCount; ++index) {
    int count = counts[static_cast<std::size_t>(index)];
    if (count != 0) lines.push_back(fw::Format(L"%s\t%d", dwgprobe::VersionName(index), count));
  }
  lines.emplace_back(L"--------------------");
  lines.push_back(fw::Format(L"Total\t%d", static_cast<int>(versions.size())));
  return lines;
}

bool DirProps::OnInitDialog() {
  Dialog::OnInitDialog();
  library::Directory* d = Current();
  if (d == nullptr) {
    EndDialog(fw::IDCANCEL);
    return true;
  }
  SetDlgItemText(kIdDirDescription, d->description);
  SetDlgItemText(kIdDirPath, d->path);
  CheckDlgButton(kIdCacheOption, d->cacheOption ? 1 : 0);
  CheckDlgButton(kIdShowInsertionPoints, d->showInsertionPoints ? 1 : 0);
  CheckDlgButton(kIdUseLargeImages, d->useLargeImages ? 1 : 0);
  // The internal directory is the current drawing's: it has no folder or name of its own.
  if (d->IsInternal()) {
    for (int id : {kIdDirDescription, kIdDirPath, kIdBrowseFolder}) {
      GetDlgItem(id)->EnableWindow(false);
    }
  }
  Follow();
  SetTimer(kDirPropsTimer, kDirPropsTimerMs);
  return true;
}

// The buttons and the counts follow the loader while it fills the directory.
void DirProps::Follow() {
  const library::Directory* d = Current();
  if (d == nullptr) return;
  bool reloadable = Reloadable(*d);
  GetDlgItem(kIdReloadBlocks)->EnableWindow(reloadable);
  GetDlgItem(kIdSaveLsas)->EnableWindow(reloadable && d->lsaPending);
  FillCounts(*d);
}

void DirProps::FillCounts(const library::Directory& d) {
  auto& list = Item<fw::ListBox>(kIdFormatCounts);
  std::vector<std::wstring> lines = CountLines(BlockVersions(d));
  // Rebuilt only when it changed, so a user scrolling the list is not thrown back every second.
  bool same = list.GetCount() == static_cast<int>(lines.size());
  for (int i = 0; same && i < list.GetCount(); ++i)
    same = list.GetText(i) == lines[static_cast<std::size_t>(i)];
  if (same) return;
  list.ResetContent();
  for (const std::wstring& line : lines) list.AddString(line);
}

void DirProps::OnBrowse() {
  std::optional<std::wstring> folder = fw::BrowseForFolder(
      L"Select Directory", GetDlgItemText(kIdDirPath), fw::BIF_RETURNONLYFSDIRS);
  if (folder) SetDlgItemText(kIdDirPath, *folder);
}

void DirProps::OnUseLargeImages() {
  if (IsDlgButtonChecked(kIdUseLargeImages) == 0 && actions_.leaveLargeIcons) {
    actions_.leaveLargeIcons();
  }
}

// The controls into the directory; a new folder, or large images turned on or off (the image
// lists are made for one or the other), reloads it. Returns whether it did.
bool DirProps::Apply() {
  library::Directory* d = Current();
  if (d == nullptr) return false;
  bool useLarge = IsDlgButtonChecked(kIdUseLargeImages) != 0;
  bool largeChanged = useLarge != d->useLargeImages;
  std::wstring path = GetDlgItemText(kIdDirPath);
  while (path.size() > 1 && path.back() == fw::kPathSeparator) path.pop_back();
  // An emptied folder box names no folder: the directory keeps its own.
  bool pathChanged = !d->IsInternal() && !path.empty() && path != d->path;
  library::RunWhileLoaderIsOff(*d, [&] {
    d->useLargeImages = useLarge;
    d->showInsertionPoints = IsDlgButtonChecked(kIdShowInsertionPoints) != 0;
    d->cacheOption = IsDlgButtonChecked(kIdCacheOption) != 0;
    if (!d->IsInternal()) d->description = GetDlgItemText(kIdDirDescription);
    if (pathChanged) d->path = path;
  });
  bool refresh = (pathChanged || largeChanged) && !d->IsInternal();
  if (refresh && actions_.refresh) actions_.refresh();
  if (actions_.showDescription) actions_.showDescription();
  return refresh;
}

void DirProps::OnOK() {
  Apply();
  EndDialog(fw::IDOK);
}

void DirProps::OnReload() {
  GetDlgItem(kIdReloadBlocks)->EnableWindow(false);
  if (!Apply() && actions_.refresh) actions_.refresh();
}

// Failures of single writes are not reported: the block keeps its side-file description in the
// library, and the next probe finds the drawing still without it.
void DirProps::OnSaveLsas() {
  library::Directory* d = Current();
  if (d == nullptr) return;
  fw::CWaitCursor wait;
  library::RunWhileLoaderIsOff(*d, [d] {
    for (const auto& block : d->Blocks()) {
      if (!block->lsaPending) continue;
      (void)dwgprobe::WriteDescription(d->DrawingPath(*block), block->version, block->description);
      std::unique_lock hold(library::BlockFieldsLock());
      block->lsaPending = false;
    }
    d->lsaPending = false;
  });
  GetDlgItem(kIdSaveLsas)->EnableWindow(false);
}

}  // namespace ui

// The block list's user side: the views and the view button, sorting by column or menu, the
// block context menu and its actions, the tooltips of both lists, and QuickPic.
#include <mutex>
#include <shared_mutex>

#include "fw/Menu.h"
#include "fw/Strings.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/BlockSort.h"
#include "ui/DialogLoaderView.h"
#include "ui/QuickPic.h"

namespace ui {
namespace {

using LibraryHold = std::lock_guard<fw::CriticalSection>;

// Tooltips of the block list are cut to this many characters.
constexpr std::size_t kMaxTipLength = 79;

constexpr const wchar_t* kContextViewTexts[kViewCount] = {L"Large", L"Small", L"List", L"Report"};
// The Sort submenu in the order of the forward styles 1..6.
constexpr const wchar_t* kSortTexts[] = {L"Filename",           L"File Type",
                                         L"Description",        L"Size",
                                         L"Last Modified Time", L"Creation Time"};
constexpr int kFirstKeyedStyle = 1;

// The items the block's name is shown in, with the menu's id, when the button is enabled.
struct BlockAction {
  int buttonId;
  int menuId;
  const wchar_t* text;
};
constexpr BlockAction kBlockActions[] = {{kIdInsert, kMenuInsert, L"Insert "},
                                         {kIdXref, kMenuXref, L"XRef "},
                                         {kIdOpen, kMenuOpen, L"Open "}};

}  // namespace

// --- Views ---------------------------------------------------------------------------------------

void BlockDlg::OnNextView() {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  SetView(ViewButton::NextView(viewButton_.View(), d->useLargeImages));
}

void BlockDlg::OnViewMenu(const fw::Notify& notify) {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  std::optional<int> view = viewButton_.ChooseFromMenu(*this, notify.rightButton,
                                                       d->useLargeImages);
  if (view) SetView(*view);
}

void BlockDlg::SetView(int view) {
  ApplyView(view);
  if (library::Directory* d = library::TheLibrary().Current()) blocks_.Resort(d->sortStyle);
}

void BlockDlg::ApplyView(int view) {
  library::Directory* d = library::TheLibrary().Current();
  // A directory without large images has none to show in the icon view.
  if (view == kViewLargeIcons && d != nullptr && !d->useLargeImages) view = kViewSmallIcons;
  blocks_.SetView(view);
  viewButton_.SetView(blocks_.View());
}

// --- Sorting -------------------------------------------------------------------------------------

void BlockDlg::OnColumnClick(const fw::Notify& notify) {
  int style = ForwardStyleOfColumn(notify.column);
  if (style != 0) SortBy(style);
}

void BlockDlg::SortBy(int forwardStyle) {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  d->sortStyle = StyleAfterChoosing(d->sortStyle, forwardStyle);
  blocks_.Resort(d->sortStyle);
}

// --- The block context menu ----------------------------------------------------------------------

void BlockDlg::OnBlockMenu(const fw::Notify& notify) {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;

  fw::Menu views;
  int firstView = d->useLargeImages ? kViewLargeIcons : kViewSmallIcons;
  for (int view = firstView; view < kViewCount; ++view) {
    views.AppendMenu(fw::MF_STRING | (view == viewButton_.View() ? fw::MF_CHECKED : 0u),
                     kMenuViewFirst + view, kContextViewTexts[view]);
  }
  fw::Menu sorts;
  int checkedStyle = d->sortStyle % kReverseSortOffset;
  for (int style = kFirstKeyedStyle; style < kReverseSortOffset; ++style) {
    sorts.AppendMenu(fw::MF_STRING | (style == checkedStyle ? fw::MF_CHECKED : 0u),
                     kMenuSortFirst + style, kSortTexts[style - kFirstKeyedStyle]);
  }

  fw::Menu menu;
  if (const library::Block* b = blocks_.BlockAt(blocks_.Selected())) {
    std::wstring name;
    {
      LibraryHold hold(library::TheLibrary().Lock());
      std::shared_lock fields(library::BlockFieldsLock());
      name = b->name;
    }
    for (const BlockAction& action : kBlockActions) {
      if (GetDlgItem(action.buttonId)->IsWindowEnabled()) {
        menu.AppendMenu(fw::MF_STRING, action.menuId, action.text + name);
      }
    }
    menu.AppendMenu(fw::MF_SEPARATOR);
  }
  if (GetDlgItem(kIdEditDescription)->IsWindowEnabled()) {
    menu.AppendMenu(fw::MF_STRING, kMenuEditDescription, L"Edit Description");
    menu.AppendMenu(fw::MF_SEPARATOR);
  }
  menu.AppendSubMenu(sorts, L"Sort");
  menu.AppendSubMenu(views, L"View");
  // The separator only leads to Refresh: the internal directory's menu does not end in one.
  if (!d->IsInternal()) {
    menu.AppendMenu(fw::MF_SEPARATOR);
    menu.AppendMenu(fw::MF_STRING | (library::IsLoaded(*d) ? 0u : fw::MF_GRAYED),
                    kMenuRefreshDirectory, L"Refresh Directory");
  }
  fw::CRect rect = blocks_.Control().GetWindowRect();
  int chosen = menu.TrackPopupMenu(fw::TPM_LEFTALIGN | fw::TPM_RIGHTBUTTON | fw::TPM_RETURNCMD,
                                   rect.left + notify.point.x, rect.top + notify.point.y, *this);
  RunBlockMenuChoice(chosen);
}

void BlockDlg::RunBlockMenuChoice(int chosen) {
  if (chosen >= kMenuViewFirst && chosen < kMenuViewFirst + kViewCount) {
    SetView(chosen - kMenuViewFirst);
    return;
  }
  if (chosen >= kMenuSortFirst + kFirstKeyedStyle && chosen < kMenuSortFirst + kReverseSortOffset) {
    SortBy(chosen - kMenuSortFirst);
    return;
  }
  switch (chosen) {
    case kMenuInsert:
      StartAction(PendingAction::kInsert);
      break;
    case kMenuXref:
      StartAction(PendingAction::kXref);
      break;
    case kMenuOpen:
      StartAction(PendingAction::kOpen);
      break;
    case kMenuEditDescription:
      OnEditDescription();
      break;
    case kMenuRefreshDirectory:
      Refresh();
      break;
    default:
      break;
  }
}

// --- Tooltips ------------------------------------------------------------------------------------

// Outside the report view, whose columns show as much, the item's name and description.
void BlockDlg::OnBlockTip(fw::Notify& notify) {
  notify.text.clear();
  if (blocks_.View() == kViewReport) return;
  LibraryHold hold(library::TheLibrary().Lock());
  std::shared_lock fields(library::BlockFieldsLock());
  const library::Block* b = blocks_.BlockAt(notify.item);
  if (b == nullptr) return;
  std::wstring tip = b->name;
  if (!b->description.empty()) tip += L" / " + std::wstring(b->description);
  if (tip.size() > kMaxTipLength) tip.resize(kMaxTipLength);
  notify.text = std::move(tip);
}

// The directory list shows descriptions; its tooltip tells where a directory's drawings are.
void BlockDlg::OnDirectoryTip(fw::Notify& notify) {
  notify.text.clear();
  LibraryHold hold(library::TheLibrary().Lock());
  const library::Directory* d = directories_.DirectoryAt(notify.item);
  if (d == nullptr || !library::TheLibrary().IndexOf(*d) || d->IsInternal()) return;
  notify.text = d->path;
}

// --- QuickPic ------------------------------------------------------------------------------------

void BlockDlg::OnBlockClick(const fw::Notify& notify) {
  if (!notify.alt) return;
  library::Directory* d = library::TheLibrary().Current();
  int item = blocks_.Selected();
  if (d == nullptr || item < 0) return;
  library::Block copy;
  {
    // A copy, so the picture is drawn (reading the drawing) without holding the locks.
    LibraryHold hold(library::TheLibrary().Lock());
    std::shared_lock fields(library::BlockFieldsLock());
    const library::Block* b = blocks_.BlockAt(item);
    if (b == nullptr) return;
    copy = *b;
  }
  CloseQuickPic();
  quickPic_ = std::make_unique<QuickPic>([this] { PostCommand(kCommandQuickPicClosed); });
  fw::ListCtrl& list = blocks_.Control();
  quickPic_->Show(*this, *d, copy, list.GetImageList(fw::LVSIL_NORMAL),
                  list.GetImageList(fw::LVSIL_SMALL));
}

void BlockDlg::CloseQuickPic() {
  if (!quickPic_) return;
  quickPic_->Close();
  quickPic_.reset();
}

}  // namespace ui

// What the loader shows in the main dialog.
#include "ui/DialogLoaderView.h"

#include "dwgprobe/DrawingVersion.h"
#include "fw/Strings.h"
#include "library/Block.h"
#include "library/Directory.h"
#include "ui/BlockDlgIds.h"
#include "ui/MyList.h"
#include "ui/MyList2.h"

namespace ui {
namespace {

// The report columns of the block list.
enum BlockColumn { kColumnName, kColumnVersion, kColumnDescription, kColumnSize, kColumnCreated,
                   kColumnModified };

constexpr const wchar_t* kPlaceholderText = L"12345678";

std::wstring SizeText(const library::Block& b) {
  return fw::Format(L"%ld", static_cast<long>(b.currentStatus.size));
}

// The report's columns that the probe fills: format, size and the two times.
void ShowProbedTexts(fw::ListCtrl& list, int item, const library::Block& b) {
  list.SetItemText(item, kColumnVersion, dwgprobe::VersionName(b.version));
  list.SetItemText(item, kColumnSize, SizeText(b));
  list.SetItemText(item, kColumnCreated, BlockTimeText(b.created));
  list.SetItemText(item, kColumnModified, BlockTimeText(b.modified));
}

}  // namespace

DialogLoaderView::DialogLoaderView(MyList& blocks, MyList2& directories,
                                   fw::ListCtrl& placeholder)
    : blocks_(blocks), directories_(directories), placeholder_(placeholder) {}

void DialogLoaderView::Forget() {
  shown_.store(nullptr);
  filled_.store(nullptr);
}

void DialogLoaderView::UpdateBlock(const library::Directory& d, const library::Block& b) {
  if (shown_.load() != &d) return;
  fw::ListCtrl& list = blocks_.Control();
  int item = list.FindItemByData(reinterpret_cast<fw::ItemData>(&b));
  if (item < 0) return;
  list.SetItemImage(item, b.imageIndex);
  list.SetItemText(item, kColumnDescription, b.description);
  ShowProbedTexts(list, item, b);
  // The properties box and the buttons it enables were filled from the facts before the probe.
  if (list.GetItemState(item, fw::LVIS_SELECTED) != 0) {
    fw::Notify note;
    note.id = kIdSelectedBlockProbed;
    note.event = fw::Event::kCommand;
    note.itemData = reinterpret_cast<fw::ItemData>(&b);
    (void)handle_.PostNotify(std::move(note));
  }
}

void DialogLoaderView::ShowCount(const library::Directory& d) { directories_.ShowCount(d); }

void DialogLoaderView::ShowStatus(const library::Directory& d, std::wstring_view status) {
  directories_.ShowStatus(d, status);
}

void DialogLoaderView::ClearBlocks(library::Directory& d) {
  shown_.store(&d);
  filled_.store(nullptr);
  blocks_.Control().DeleteAllItems();
  ShowImages(d);
}

void DialogLoaderView::ShowImages(library::Directory& d) {
  blocks_.Control().SetImageList(d.LargeImages(), fw::LVSIL_NORMAL);
  blocks_.Control().SetImageList(d.SmallImages(), fw::LVSIL_SMALL);
}

bool DialogLoaderView::HasNoBlocks() const { return blocks_.Control().GetItemCount() == 0; }

void DialogLoaderView::ForgetBlocks(const library::Directory& d) {
  if (shown_.load() != &d) return;
  Forget();
  blocks_.Control().DeleteAllItems();
}

void DialogLoaderView::BeginFill(const library::Directory& d) {
  shown_.store(&d);
  filled_.store(nullptr);
  ++fillGeneration_;
  blocks_.Control().ShowWindow(fw::SW_HIDE);
  placeholder_.ShowWindow(fw::SW_SHOW);
  blocks_.Control().SetView(fw::LVS_ICON);
}

std::vector<int> DialogLoaderView::InsertPlaceholders(std::size_t count) {
  fw::ListCtrl& list = blocks_.Control();
  std::vector<int> items;
  items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    int item = list.InsertItem(static_cast<int>(i), kPlaceholderText);
    if (item >= 0) items.push_back(item);
  }
  list.Arrange(fw::LVA_DEFAULT);
  return items;
}

void DialogLoaderView::ShowBlock(int item, const library::Block& b) {
  fw::ListCtrl& list = blocks_.Control();
  list.SetItemText(item, kColumnName, b.name);
  list.SetItemImage(item, b.imageIndex);
  list.SetItemData(item, reinterpret_cast<fw::ItemData>(&b));
  list.SetItemText(item, kColumnDescription, b.description);
  ShowProbedTexts(list, item, b);
}

void DialogLoaderView::EndFill(const library::Directory& d, bool complete) {
  fw::Notify note;
  note.id = kIdListFilled;
  note.event = fw::Event::kCommand;
  note.itemData = reinterpret_cast<fw::ItemData>(&d);
  note.item = complete ? 1 : 0;
  note.column = static_cast<int>(fillGeneration_.load());
  (void)handle_.PostNotify(std::move(note));
}

void DialogLoaderView::ShowBlockFacts(const library::Block& b) {
  fw::ListCtrl& list = blocks_.Control();
  int item = list.FindItemByData(reinterpret_cast<fw::ItemData>(&b));
  if (item < 0) return;
  ShowProbedTexts(list, item, b);
}

void DialogLoaderView::RemoveDirectory(const library::Directory& d) {
  fw::ListCtrl& list = directories_.Control();
  int row = directories_.RowOf(d);
  if (row >= 0) {
    list.DeleteItem(row);
    for (int after = row; after < list.GetItemCount(); ++after) {
      if (library::Directory* other = directories_.DirectoryAt(after)) other->listIndex = after;
    }
  }
  ForgetBlocks(d);
}

}  // namespace ui

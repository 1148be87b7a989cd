// The list box's strings and choice.
#include "fw/ListBox.h"

namespace fw {

ListBox::ListBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
    : Control(dialog, index, controlTemplate, rect),
      items_((controlTemplate.style & LBS_SORT) != 0) {}

int ListBox::AddString(const std::wstring& text) {
  int index;
  {
    std::lock_guard guard(lock_);
    index = items_.Add(text);
    if (selected_ >= index) ++selected_;
  }
  NoteChange(kChangeItems);
  return index;
}

int ListBox::InsertString(int index, const std::wstring& text) {
  int inserted;
  {
    std::lock_guard guard(lock_);
    inserted = items_.Insert(index, text);
    if (inserted < 0) return LB_ERR;
    if (selected_ >= inserted) ++selected_;
  }
  NoteChange(kChangeItems);
  return inserted;
}

int ListBox::DeleteString(int index) {
  int count;
  {
    std::lock_guard guard(lock_);
    if (!items_.Delete(index)) return LB_ERR;
    if (selected_ == index) {
      selected_ = -1;
    } else if (selected_ > index) {
      --selected_;
    }
    count = items_.Count();
  }
  NoteChange(kChangeItems | kChangeSelection);
  return count;
}

void ListBox::ResetContent() {
  {
    std::lock_guard guard(lock_);
    items_.Clear();
    selected_ = -1;
  }
  NoteChange(kChangeItems | kChangeSelection);
}

int ListBox::GetCount() const {
  std::lock_guard guard(lock_);
  return items_.Count();
}

std::wstring ListBox::GetText(int index) const {
  std::lock_guard guard(lock_);
  return items_.Text(index);
}

int ListBox::GetCurSel() const {
  std::lock_guard guard(lock_);
  return selected_;
}

int ListBox::SetCurSel(int index) {
  {
    std::lock_guard guard(lock_);
    if (index != -1 && !items_.IsValid(index)) return LB_ERR;
    if (selected_ == index) return index;
    selected_ = index;
  }
  NoteChange(kChangeSelection);
  return index;
}

int ListBox::FindStringExact(int after, const std::wstring& text) const {
  std::lock_guard guard(lock_);
  return items_.FindExact(after, text);
}

ItemData ListBox::GetItemData(int index) const {
  std::lock_guard guard(lock_);
  return items_.Data(index);
}

bool ListBox::SetItemData(int index, ItemData data) {
  std::lock_guard guard(lock_);
  return items_.SetData(index, data);
}

}  // namespace fw

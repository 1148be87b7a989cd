// The string list and choice of combo boxes and list boxes.
#include "fw/StringListControl.h"

namespace fw {

StringListControl::StringListControl(Dialog& dialog, int index,
                                     const ControlTemplate& controlTemplate, CRect rect,
                                     bool sorted)
    : Control(dialog, index, controlTemplate, rect), items_(sorted) {}

int StringListControl::AddString(const std::wstring& text) {
  int index;
  {
    std::lock_guard guard(lock_);
    index = items_.Add(text);
    if (selected_ >= index) ++selected_;
  }
  NoteChange(kChangeItems);
  return index;
}

int StringListControl::InsertString(int index, const std::wstring& text) {
  int inserted;
  {
    std::lock_guard guard(lock_);
    inserted = items_.Insert(index, text);
    if (inserted < 0) return -1;
    if (selected_ >= inserted) ++selected_;
  }
  NoteChange(kChangeItems);
  return inserted;
}

int StringListControl::DeleteString(int index) {
  int count;
  {
    std::lock_guard guard(lock_);
    if (!items_.Delete(index)) return -1;
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

void StringListControl::ResetContent() {
  unsigned flags;
  {
    std::lock_guard guard(lock_);
    items_.Clear();
    selected_ = -1;
    flags = AfterChoice(-1);
  }
  NoteChange(kChangeItems | kChangeSelection | flags);
}

int StringListControl::GetCount() const {
  std::lock_guard guard(lock_);
  return items_.Count();
}

std::wstring StringListControl::ItemText(int index) const {
  std::lock_guard guard(lock_);
  return items_.Text(index);
}

int StringListControl::GetCurSel() const {
  std::lock_guard guard(lock_);
  return selected_;
}

int StringListControl::SetCurSel(int index) {
  unsigned flags;
  {
    std::lock_guard guard(lock_);
    if (index != -1 && !items_.IsValid(index)) return -1;
    selected_ = index;
    flags = AfterChoice(index);
  }
  NoteChange(kChangeSelection | flags);
  return index;
}

int StringListControl::FindStringExact(int after, const std::wstring& text) const {
  std::lock_guard guard(lock_);
  return items_.FindExact(after, text);
}

ItemData StringListControl::GetItemData(int index) const {
  std::lock_guard guard(lock_);
  return items_.Data(index);
}

bool StringListControl::SetItemData(int index, ItemData data) {
  std::lock_guard guard(lock_);
  return items_.SetData(index, data);
}

unsigned StringListControl::AfterChoice(int) { return 0; }

}  // namespace fw

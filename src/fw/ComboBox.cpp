// The combo box's list, choice and edit text.
#include "fw/ComboBox.h"

namespace fw {

ComboBox::ComboBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
    : Control(dialog, index, controlTemplate, rect),
      items_((controlTemplate.style & CBS_SORT) != 0) {}

bool ComboBox::IsEditable() const {
  unsigned kind = GetStyle() & 0x3;
  return kind == CBS_DROPDOWN || kind == CBS_SIMPLE;
}

std::wstring ComboBox::GetWindowText() const {
  bool editable = IsEditable();
  std::lock_guard guard(lock_);
  return editable ? editText_ : items_.Text(selected_);
}

void ComboBox::SetWindowText(const std::wstring& text) {
  if (!IsEditable()) {
    int found = FindStringExact(-1, text);
    if (found >= 0) SetCurSel(found);
    return;
  }
  {
    std::lock_guard guard(lock_);
    if (editText_ == text) return;
    editText_ = text;
  }
  NoteChange(kChangeText);
}

int ComboBox::AddString(const std::wstring& text) {
  int index;
  {
    std::lock_guard guard(lock_);
    index = items_.Add(text);
    if (selected_ >= index) ++selected_;
  }
  NoteChange(kChangeItems);
  return index;
}

int ComboBox::InsertString(int index, const std::wstring& text) {
  int inserted;
  {
    std::lock_guard guard(lock_);
    inserted = items_.Insert(index, text);
    if (inserted < 0) return CB_ERR;
    if (selected_ >= inserted) ++selected_;
  }
  NoteChange(kChangeItems);
  return inserted;
}

int ComboBox::DeleteString(int index) {
  int count;
  {
    std::lock_guard guard(lock_);
    if (!items_.Delete(index)) return CB_ERR;
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

void ComboBox::ResetContent() {
  {
    std::lock_guard guard(lock_);
    items_.Clear();
    selected_ = -1;
    editText_.clear();
  }
  NoteChange(kChangeItems | kChangeSelection | kChangeText);
}

int ComboBox::GetCount() const {
  std::lock_guard guard(lock_);
  return items_.Count();
}

std::wstring ComboBox::GetLBText(int index) const {
  std::lock_guard guard(lock_);
  return items_.Text(index);
}

int ComboBox::GetCurSel() const {
  std::lock_guard guard(lock_);
  return selected_;
}

int ComboBox::SetCurSel(int index) {
  bool editable = IsEditable();
  {
    std::lock_guard guard(lock_);
    if (index != -1 && !items_.IsValid(index)) return CB_ERR;
    selected_ = index;
    // Choosing an item puts its text into the edit part.
    if (editable && index >= 0) editText_ = items_.Text(index);
  }
  NoteChange(kChangeSelection | kChangeText);
  return index;
}

int ComboBox::FindStringExact(int after, const std::wstring& text) const {
  std::lock_guard guard(lock_);
  return items_.FindExact(after, text);
}

int ComboBox::SelectString(int after, const std::wstring& prefix) {
  int found;
  {
    std::lock_guard guard(lock_);
    found = items_.FindPrefix(after, prefix);
  }
  if (found < 0) return CB_ERR;
  return SetCurSel(found);
}

ItemData ComboBox::GetItemData(int index) const {
  std::lock_guard guard(lock_);
  return items_.Data(index);
}

bool ComboBox::SetItemData(int index, ItemData data) {
  std::lock_guard guard(lock_);
  return items_.SetData(index, data);
}

void ComboBox::LimitText(std::size_t limit) {
  std::lock_guard guard(lock_);
  limit_ = limit;
}

std::size_t ComboBox::GetLimitText() const {
  std::lock_guard guard(lock_);
  return limit_;
}

void ComboBox::StoreTypedText(const std::wstring& text) {
  {
    std::lock_guard guard(lock_);
    editText_ = limit_ == 0 ? text : text.substr(0, limit_);
    selected_ = -1;
  }
  NoteChange(kChangeText | kChangeSelection);
}

}  // namespace fw

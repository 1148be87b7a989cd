// The combo box's edit text on top of its string list.
#include "fw/ComboBox.h"

namespace fw {
namespace {

bool EditableStyle(unsigned style) {
  unsigned kind = style & 0x3;
  return kind == CBS_DROPDOWN || kind == CBS_SIMPLE;
}

}  // namespace

ComboBox::ComboBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
    : StringListControl(dialog, index, controlTemplate, rect,
                        (controlTemplate.style & CBS_SORT) != 0),
      editable_(EditableStyle(controlTemplate.style)) {}

bool ComboBox::IsEditable() const { return editable_; }

std::wstring ComboBox::GetWindowText() const {
  std::lock_guard guard(lock_);
  return editable_ ? editText_ : items_.Text(selected_);
}

void ComboBox::SetWindowText(const std::wstring& text) {
  if (!editable_) {
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

int ComboBox::SelectString(int after, const std::wstring& prefix) {
  int found;
  {
    std::lock_guard guard(lock_);
    found = items_.FindPrefix(after, prefix);
  }
  if (found < 0) return CB_ERR;
  return SetCurSel(found);
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

unsigned ComboBox::AfterChoice(int index) {
  if (!editable_) return kChangeText;
  if (index >= 0) {
    editText_ = items_.Text(index);
  } else if (items_.Count() == 0) {
    editText_.clear();
  }
  return kChangeText;
}

}  // namespace fw

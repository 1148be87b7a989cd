// User input delivered through a dialog's handlers.
#include "fw/UserInput.h"

#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"
#include "fw/ListBox.h"
#include "fw/ListCtrl.h"
#include "fw/OwnerDrawButton.h"

namespace fw {
namespace {

std::wstring Named(int id) { return L"control " + std::to_wstring(id); }

Status Wrong(int id, const std::wstring& what) { return Status::Failure(Named(id) + L" " + what); }

// Every selected item but `keep` (-1: every one) loses the selection, in display order.
void DeselectOthers(ListCtrl& list, int keep) {
  for (int other = list.GetNextItem(-1, LVNI_SELECTED); other >= 0;
       other = list.GetNextItem(other, LVNI_SELECTED)) {
    if (other != keep) list.SetItemState(other, 0, LVIS_SELECTED);
  }
}

}  // namespace

Result<Control*> UserInput::Usable(int id) const {
  Control* control = dialog_.GetDlgItem(id);
  if (control == nullptr) return Result<Control*>::Failure(L"no " + Named(id));
  if (!control->IsWindowVisible()) return Result<Control*>::Failure(Named(id) + L" is hidden");
  if (!control->IsWindowEnabled()) return Result<Control*>::Failure(Named(id) + L" is disabled");
  return Result<Control*>::Success(control);
}

Notify UserInput::NotifyFor(int id, Event event) const {
  Notify notify;
  notify.id = id;
  notify.event = event;
  return notify;
}

bool UserInput::ToCaptureHolder(Event event, Key key, const std::wstring& text) const {
  Dialog* holder = GetCapture();
  if (holder == nullptr || holder == &dialog_) return false;
  Notify notify = NotifyFor(kDialogId, event);
  notify.key = key;
  notify.text = text;
  holder->Raise(std::move(notify));
  return true;
}

Status UserInput::Click(int id) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  Control* control = usable.Value();
  switch (control->Kind()) {
    case ControlKind::kCheckBox: {
      auto* box = static_cast<Button*>(control);
      box->SetCheck(box->GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    }
    case ControlKind::kRadioButton:
      for (Control* member : dialog_.RadioGroup(id)) {
        static_cast<Button*>(member)->SetCheck(member == control ? BST_CHECKED : BST_UNCHECKED);
      }
      break;
    case ControlKind::kButton:
    case ControlKind::kOwnerDrawButton:
      break;
    case ControlKind::kGroupBox:
    case ControlKind::kStatic:
    case ControlKind::kEdit:
    case ControlKind::kComboBox:
    case ControlKind::kListBox:
    case ControlKind::kListCtrl:
    case ControlKind::kProgress:
      return Wrong(id, L"is not a button");
  }
  dialog_.GotoDlgCtrl(id);
  Notify notify = NotifyFor(id, Event::kClicked);
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::SetCheck(int id, bool on) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  Control* control = usable.Value();
  if (control->Kind() != ControlKind::kCheckBox && control->Kind() != ControlKind::kRadioButton) {
    return Wrong(id, L"is not a check box or radio button");
  }
  bool checked = static_cast<Button*>(control)->GetCheck() == BST_CHECKED;
  if (checked == on) return Status::Success();
  if (!on && control->Kind() == ControlKind::kRadioButton) {
    return Wrong(id, L"is a radio button, which a click cannot uncheck");
  }
  return Click(id);
}

Status UserInput::Type(int id, const std::wstring& text) {
  // The first key typed goes to the holder; the rest of the text is typed nowhere.
  if (ToCaptureHolder(Event::kKey, Key::kCharacter, text.substr(0, 1))) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  if (auto* edit = dynamic_cast<Edit*>(usable.Value())) {
    if (edit->IsReadOnly()) return Wrong(id, L"is read-only");
    edit->StoreTypedText(edit->TypedText(text));
  } else if (auto* combo = dynamic_cast<ComboBox*>(usable.Value()); combo && combo->IsEditable()) {
    combo->StoreTypedText(text);
  } else {
    return Wrong(id, L"takes no typed text");
  }
  dialog_.GotoDlgCtrl(id);
  Notify notify = NotifyFor(id, Event::kTextChange);
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::PressKey(int id, Key key) {
  if (ToCaptureHolder(Event::kKey, key)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  dialog_.GotoDlgCtrl(id);
  Notify notify = NotifyFor(id, Event::kKey);
  notify.key = key;
  dialog_.Dispatch(notify);
  return Status::Success();
}

Result<int> UserInput::FindItem(int id, const std::wstring& text) const {
  Control* control = dialog_.GetDlgItem(id);
  int found = -1;
  if (auto* strings = dynamic_cast<StringListControl*>(control)) {
    for (int at = 0; at < strings->GetCount() && found < 0; ++at) {
      if (strings->ItemText(at) == text) found = at;
    }
  } else if (auto* listCtrl = dynamic_cast<ListCtrl*>(control)) {
    found = listCtrl->FindItemByExactText(text);
  } else {
    return Result<int>::Failure(control == nullptr ? L"no " + Named(id) : Named(id) + L" has no items");
  }
  if (found < 0) return Result<int>::Failure(Named(id) + L" has no item \"" + text + L"\"");
  return Result<int>::Success(found);
}

Status UserInput::ChooseItem(int id, int position, bool alt) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  Control* control = usable.Value();
  dialog_.GotoDlgCtrl(id);
  if (auto* strings = dynamic_cast<StringListControl*>(control)) {
    if (strings->SetCurSel(position) < 0) return Wrong(id, L"has no item " + std::to_wstring(position));
    Notify notify = NotifyFor(id, Event::kSelChange);
    notify.item = position;
    notify.itemData = strings->GetItemData(position);
    dialog_.Dispatch(notify);
    return Status::Success();
  }
  auto* listCtrl = dynamic_cast<ListCtrl*>(control);
  if (listCtrl == nullptr) return Wrong(id, L"has no items");
  if (position < 0 || position >= listCtrl->GetItemCount()) {
    return Wrong(id, L"has no item " + std::to_wstring(position));
  }
  // A plain click leaves the clicked item alone selected; the platform reports the items that
  // lose the selection first, then the clicked one, then the click.
  DeselectOthers(*listCtrl, position);
  listCtrl->SetItemState(position, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Notify notify = NotifyFor(id, Event::kClicked);
  notify.item = position;
  notify.itemData = listCtrl->GetItemData(position);
  notify.alt = alt;
  CRect rect = listCtrl->GetItemRect(position);
  notify.point = CPoint{rect.left + 1, rect.top + 1};
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::ClickEmpty(int id, bool alt) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  auto* listCtrl = dynamic_cast<ListCtrl*>(usable.Value());
  if (listCtrl == nullptr) return Wrong(id, L"is not a list control");
  dialog_.GotoDlgCtrl(id);
  DeselectOthers(*listCtrl, -1);
  Notify notify = NotifyFor(id, Event::kClicked);
  notify.alt = alt;
  CRect client = listCtrl->GetClientRect();
  notify.point = CPoint{client.right - 1, client.bottom - 1};
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::DoubleClickItem(int id, int position) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Control* control = dialog_.GetDlgItem(id);
  if (dynamic_cast<ListBox*>(control) == nullptr && dynamic_cast<ListCtrl*>(control) == nullptr) {
    return control == nullptr ? Status::Failure(L"no " + Named(id))
                              : Wrong(id, L"is not a list that takes double clicks");
  }
  Status chosen = ChooseItem(id, position);
  if (!chosen) return chosen;
  Notify notify = NotifyFor(id, Event::kDoubleClicked);
  notify.item = position;
  if (auto* listCtrl = dynamic_cast<ListCtrl*>(control)) notify.itemData = listCtrl->GetItemData(position);
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::RightClick(int id, int position) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  Notify notify = NotifyFor(id, Event::kRightClicked);
  if (auto* listCtrl = dynamic_cast<ListCtrl*>(usable.Value())) {
    if (position >= listCtrl->GetItemCount()) return Wrong(id, L"has no item " + std::to_wstring(position));
    dialog_.GotoDlgCtrl(id);
    if (position >= 0) {
      if (listCtrl->GetItemState(position, LVIS_SELECTED) == 0) {
        DeselectOthers(*listCtrl, -1);
      }
      listCtrl->SetItemState(position, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      notify.itemData = listCtrl->GetItemData(position);
      CRect rect = listCtrl->GetItemRect(position);
      notify.point = CPoint{rect.left + 1, rect.top + 1};
    } else {
      // Below the last item, or at the bottom edge when the items fill the view.
      CRect client = listCtrl->GetClientRect();
      notify.point = CPoint{client.right - 1, client.bottom - 1};
    }
    notify.item = position;
  } else if (position >= 0) {
    return Wrong(id, L"has no items to right-click");
  }
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::ClickColumn(int id, int column) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  auto* listCtrl = dynamic_cast<ListCtrl*>(usable.Value());
  if (listCtrl == nullptr) return Wrong(id, L"is not a list control");
  if (listCtrl->GetView() != LVS_REPORT || (listCtrl->GetStyle() & LVS_NOCOLUMNHEADER) != 0) {
    return Wrong(id, L"shows no column headers");
  }
  if (column < 0 || column >= listCtrl->GetColumnCount()) {
    return Wrong(id, L"has no column " + std::to_wstring(column));
  }
  Notify notify = NotifyFor(id, Event::kColumnClick);
  notify.column = column;
  dialog_.Dispatch(notify);
  return Status::Success();
}

Status UserInput::EditLabel(int id, int position, const std::wstring& newText) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  auto* listCtrl = dynamic_cast<ListCtrl*>(usable.Value());
  if (listCtrl == nullptr) return Wrong(id, L"is not a list control");
  if (!listCtrl->CanEditLabels()) return Wrong(id, L"does not let labels be edited");
  // The user selects the item, then clicks it again to edit.
  Status chosen = ChooseItem(id, position);
  if (!chosen) return chosen;
  Notify begin = NotifyFor(id, Event::kBeginLabelEdit);
  begin.item = position;
  begin.itemData = listCtrl->GetItemData(position);
  begin.text = listCtrl->GetItemText(position, 0);
  dialog_.Dispatch(begin);
  if (begin.refuse) return Status::Success();
  Notify end = NotifyFor(id, Event::kEndLabelEdit);
  end.item = position;
  end.itemData = begin.itemData;
  end.text = newText;
  dialog_.Dispatch(end);
  if (end.accept) {
    // The handler may have moved the item; the label goes to the item it edited.
    int now = listCtrl->GetItemData(position) == end.itemData
                  ? position
                  : listCtrl->FindItemByData(end.itemData);
    if (now >= 0) listCtrl->SetItemText(now, 0, newText);
  }
  return Status::Success();
}

Status UserInput::DropDown(int id, bool rightButton) {
  if (ToCaptureHolder(Event::kMouseDown)) return Status::Success();
  Result<Control*> usable = Usable(id);
  if (!usable) return Status::Failure(usable.Message());
  auto* button = dynamic_cast<OwnerDrawButton*>(usable.Value());
  if (button == nullptr || button->GetDropDownWidth() <= 0) return Wrong(id, L"has no drop-down part");
  dialog_.GotoDlgCtrl(id);
  Notify notify = NotifyFor(id, Event::kDropDown);
  notify.rightButton = rightButton;
  dialog_.Dispatch(notify);
  return Status::Success();
}

Result<std::wstring> UserInput::InfoTip(int id, int position) {
  Control* control = dialog_.GetDlgItem(id);
  auto* listCtrl = dynamic_cast<ListCtrl*>(control);
  if (listCtrl == nullptr) {
    return Result<std::wstring>::Failure(control == nullptr ? L"no " + Named(id)
                                                            : Named(id) + L" is not a list control");
  }
  if (!listCtrl->IsWindowVisible()) return Result<std::wstring>::Failure(Named(id) + L" is hidden");
  Notify notify = NotifyFor(id, Event::kInfoTip);
  notify.item = position;
  notify.itemData = listCtrl->GetItemData(position);
  dialog_.Dispatch(notify);
  return Result<std::wstring>::Success(notify.text);
}

void UserInput::Cancel() {
  if (ToCaptureHolder(Event::kKey, Key::kEscape)) return;
  dialog_.ProcessKey(Key::kEscape);
}

}  // namespace fw

// The exchange calls of DoDataExchange.
#include "fw/DataExchange.h"

#include <cerrno>
#include <cstdint>
#include <cwchar>

#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"
#include "fw/ListBox.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"

namespace fw {

void DataExchange::Fail(int id, const std::wstring& message) {
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  failedId_ = id;
  failed_ = true;
}

void DataExchange::Text(int id, std::wstring& value) {
  if (Skip()) return;
  Control* control = dialog_.GetDlgItem(id);
  if (control == nullptr) return;
  if (saveAndValidate_) {
    value = control->GetWindowText();
  } else {
    control->SetWindowText(value);
  }
}

void DataExchange::Text(int id, int& value) {
  if (Skip()) return;
  Control* control = dialog_.GetDlgItem(id);
  if (control == nullptr) return;
  if (!saveAndValidate_) {
    control->SetWindowText(std::to_wstring(value));
    return;
  }
  std::wstring text = control->GetWindowText();
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  long number = std::wcstol(begin, &end, 10);
  while (end != nullptr && (*end == L' ' || *end == L'\t')) ++end;
  if (end == begin || end == nullptr || *end != L'\0' || errno == ERANGE || number < INT32_MIN ||
      number > INT32_MAX) {
    Fail(id, L"Please enter an integer.");
    return;
  }
  value = static_cast<int>(number);
}

void DataExchange::Check(int id, bool& value) {
  if (Skip()) return;
  auto* button = dynamic_cast<Button*>(dialog_.GetDlgItem(id));
  if (button == nullptr) return;
  if (saveAndValidate_) {
    value = button->GetCheck() == BST_CHECKED;
  } else {
    button->SetCheck(value ? BST_CHECKED : BST_UNCHECKED);
  }
}

void DataExchange::Radio(int firstId, int& index) {
  if (Skip()) return;
  std::vector<Control*> group = dialog_.RadioGroup(firstId);
  if (saveAndValidate_) {
    index = -1;
    for (std::size_t at = 0; at < group.size(); ++at) {
      if (static_cast<Button*>(group[at])->GetCheck() == BST_CHECKED) {
        index = static_cast<int>(at);
        break;
      }
    }
    return;
  }
  for (std::size_t at = 0; at < group.size(); ++at) {
    static_cast<Button*>(group[at])->SetCheck(static_cast<int>(at) == index ? BST_CHECKED
                                                                             : BST_UNCHECKED);
  }
}

void DataExchange::ComboIndex(int id, int& index) {
  if (Skip()) return;
  auto* combo = dynamic_cast<ComboBox*>(dialog_.GetDlgItem(id));
  if (combo == nullptr) return;
  if (saveAndValidate_) {
    index = combo->GetCurSel();
  } else {
    combo->SetCurSel(index);
  }
}

void DataExchange::ComboString(int id, std::wstring& value) {
  if (Skip()) return;
  auto* combo = dynamic_cast<ComboBox*>(dialog_.GetDlgItem(id));
  if (combo == nullptr) return;
  if (saveAndValidate_) {
    value = combo->GetWindowText();
    return;
  }
  if (combo->SelectString(-1, value) == CB_ERR && combo->IsEditable()) {
    combo->SetWindowText(value);
  }
}

void DataExchange::ListIndex(int id, int& index) {
  if (Skip()) return;
  auto* list = dynamic_cast<ListBox*>(dialog_.GetDlgItem(id));
  if (list == nullptr) return;
  if (saveAndValidate_) {
    index = list->GetCurSel();
  } else {
    list->SetCurSel(index);
  }
}

void DataExchange::MaxChars(int id, const std::wstring& value, std::size_t count) {
  if (Skip()) return;
  Control* control = dialog_.GetDlgItem(id);
  if (!saveAndValidate_) {
    if (auto* edit = dynamic_cast<Edit*>(control)) edit->SetLimitText(count);
    if (auto* combo = dynamic_cast<ComboBox*>(control)) combo->LimitText(count);
    return;
  }
  if (value.size() > count) {
    Fail(id, Format(L"Please enter no more than %d characters.", static_cast<int>(count)));
  }
}

}  // namespace fw

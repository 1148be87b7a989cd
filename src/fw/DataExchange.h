// Data exchange between a dialog's controls and its members, as DoDataExchange writes it: each
// call loads the control from the member or, when saving, stores the control into the member
// and validates it. After a failed validation the remaining calls do nothing and UpdateData
// reports the failure. Dialog's thread.
#pragma once

#include <cstddef>
#include <string>

namespace fw {

class Dialog;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate)
      : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

  bool IsSaving() const { return saveAndValidate_; }
  bool Failed() const { return failedId_ != 0 || failed_; }
  // The control whose validation failed (it gets the focus), 0 when none did.
  int FailedId() const { return failedId_; }

  // The text of an edit, static or editable combo box.
  void Text(int id, std::wstring& value);
  // A whole number in an edit; saving text that is not one fails with the platform's message.
  void Text(int id, int& value);
  void Check(int id, bool& value);
  // The radio group that starts with `firstId`: the index of the checked button, -1 for none.
  void Radio(int firstId, int& index);
  // A combo box's chosen index (-1: none).
  void ComboIndex(int id, int& index);
  // A combo box's text; loading chooses the first item that starts with it, or, in an editable
  // combo without such an item, sets the text.
  void ComboString(int id, std::wstring& value);
  // A list box's chosen index (-1: none).
  void ListIndex(int id, int& index);
  // Loading limits what the user can type into the edit; saving fails, with the platform's
  // message, for a longer value.
  void MaxChars(int id, const std::wstring& value, std::size_t count);

 private:
  bool Skip() const { return Failed(); }
  void Fail(int id, const std::wstring& message);

  Dialog& dialog_;
  bool saveAndValidate_;
  int failedId_ = 0;
  bool failed_ = false;
};

}  // namespace fw

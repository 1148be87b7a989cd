// A combo box: a drop-down list (CBS_DROPDOWNLIST) whose text is the chosen item, or an editable
// drop-down (CBS_DROPDOWN) whose text the user types; CBS_SORT keeps the list sorted. Changes by
// the program raise nothing, as on the platform. Any thread (see Control).
#pragma once

#include <cstddef>

#include "fw/Control.h"
#include "fw/StringItems.h"

namespace fw {

class ComboBox final : public Control {
 public:
  ComboBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect);

  bool IsEditable() const;
  // The edit text of an editable combo; the chosen item's text of a drop-down list.
  std::wstring GetWindowText() const override;
  // An editable combo takes the text; a drop-down list chooses the item with that text, if any.
  void SetWindowText(const std::wstring& text) override;

  int AddString(const std::wstring& text);
  int InsertString(int index, const std::wstring& text);
  // Returns the count left, CB_ERR for a bad index.
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  std::wstring GetLBText(int index) const;
  int GetCurSel() const;
  // -1 clears the choice; returns the index, or CB_ERR for an index out of range.
  int SetCurSel(int index);
  int FindStringExact(int after, const std::wstring& text) const;
  // Chooses the first item after `after` starting with `prefix`; its index, or CB_ERR.
  int SelectString(int after, const std::wstring& prefix);
  ItemData GetItemData(int index) const;
  bool SetItemData(int index, ItemData data);
  // The most characters the user can type into an editable combo (0: no limit).
  void LimitText(std::size_t limit);
  std::size_t GetLimitText() const;
  // Stores what the user typed (editable combos): the text, cut to the limit, and no choice.
  void StoreTypedText(const std::wstring& text);

 private:
  StringItems items_;
  int selected_ = -1;
  std::wstring editText_;
  std::size_t limit_ = 0;
};

}  // namespace fw

// A combo box: a drop-down list (CBS_DROPDOWNLIST) whose text is the chosen item, or an editable
// drop-down (CBS_DROPDOWN) whose text the user types; CBS_SORT keeps the list sorted. Any thread
// (see Control).
#pragma once

#include <cstddef>

#include "fw/StringListControl.h"

namespace fw {

// The platform's error result of the string-list calls.
inline constexpr int CB_ERR = -1;

class ComboBox final : public StringListControl {
 public:
  ComboBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect);

  bool IsEditable() const;
  // The edit text of an editable combo; the chosen item's text of a drop-down list.
  std::wstring GetWindowText() const override;
  // An editable combo takes the text; a drop-down list chooses the item with that text, if any.
  void SetWindowText(const std::wstring& text) override;
  std::wstring GetLBText(int index) const { return ItemText(index); }
  // Chooses the first item after `after` starting with `prefix`; its index, or CB_ERR.
  int SelectString(int after, const std::wstring& prefix);
  // The most characters the user can type into an editable combo (0: no limit).
  void LimitText(std::size_t limit);
  std::size_t GetLimitText() const;
  // Stores what the user typed (editable combos): the text, cut to the limit, and no choice.
  void StoreTypedText(const std::wstring& text);

 private:
  // Choosing an item puts its text into the edit part; emptying the list empties it.
  unsigned AfterChoice(int index) override;

  const bool editable_;
  std::wstring editText_;
  std::size_t limit_ = 0;
};

}  // namespace fw

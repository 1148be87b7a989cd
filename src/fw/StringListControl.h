// What combo boxes and list boxes share: a list of strings with item data, kept in order or
// sorted (CBS_SORT, LBS_SORT), and one chosen item. Changes by the program raise nothing, as on
// the platform. Any thread (see Control).
#pragma once

#include "fw/Control.h"
#include "fw/StringItems.h"

namespace fw {

class StringListControl : public Control {
 public:
  // Appends, or inserts at the sorted place; returns the index.
  int AddString(const std::wstring& text);
  // Inserts at `index` (-1: the end) without sorting; -1 for an index past the end.
  int InsertString(int index, const std::wstring& text);
  // Returns the count left, -1 for a bad index.
  int DeleteString(int index);
  virtual void ResetContent();
  int GetCount() const;
  // Empty for a bad index.
  std::wstring ItemText(int index) const;
  int GetCurSel() const;
  // -1 clears the choice; returns the index, or -1 for an index out of range.
  int SetCurSel(int index);
  // The first item after `after` (-1: from the start, wrapping around) equal to `text` without
  // regard to case, or -1.
  int FindStringExact(int after, const std::wstring& text) const;
  ItemData GetItemData(int index) const;
  bool SetItemData(int index, ItemData data);

 protected:
  StringListControl(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect,
                    bool sorted);
  // Under lock_, after the choice changed to `index` (-1: none); returns more change flags.
  virtual unsigned AfterChoice(int index);

  StringItems items_;  // guarded by lock_
  int selected_ = -1;  // guarded by lock_
};

}  // namespace fw

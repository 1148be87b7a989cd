// A list box with one chosen item; LBS_SORT keeps it sorted. Changes by the program raise
// nothing, as on the platform. Any thread (see Control).
#pragma once

#include "fw/Control.h"
#include "fw/StringItems.h"

namespace fw {

class ListBox final : public Control {
 public:
  ListBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect);

  int AddString(const std::wstring& text);
  int InsertString(int index, const std::wstring& text);
  // Returns the count left, LB_ERR for a bad index.
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  std::wstring GetText(int index) const;
  int GetCurSel() const;
  // -1 clears the choice; returns LB_ERR for an index out of range.
  int SetCurSel(int index);
  int FindStringExact(int after, const std::wstring& text) const;
  ItemData GetItemData(int index) const;
  bool SetItemData(int index, ItemData data);

 private:
  StringItems items_;
  int selected_ = -1;
};

}  // namespace fw

// Popup menus: items with command ids, separators, submenus, checked and greyed items. Built and
// shown on the dialog's thread; the UI driver shows it and returns the choice.
#pragma once

#include <string>
#include <vector>

#include "fw/WindowStyles.h"

namespace fw {

class Dialog;

struct MenuItem {
  unsigned flags = MF_STRING;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED, MF_DISABLED
  int id = 0;
  std::wstring text;
  std::vector<MenuItem> submenu;  // the items of an MF_POPUP item

  bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool IsSubmenu() const { return (flags & MF_POPUP) != 0; }
  bool IsChecked() const { return (flags & MF_CHECKED) != 0; }
  bool IsGreyed() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

class Menu {
 public:
  // An item (MF_STRING with its flags) or a separator (MF_SEPARATOR).
  void AppendMenu(unsigned flags, int id = 0, const std::wstring& text = {});
  void AppendSubMenu(const Menu& submenu, const std::wstring& text, unsigned flags = MF_STRING);
  // By command id, in submenus too. Each returns the item's previous MF_CHECKED or MF_GRAYED
  // bits, or -1 (as unsigned) when no item has the id.
  unsigned CheckMenuItem(int id, unsigned check);
  unsigned EnableMenuItem(int id, unsigned enable);
  int GetMenuItemCount() const { return static_cast<int>(items_.size()); }
  const std::vector<MenuItem>& Items() const { return items_; }

  // Shows the menu through the UI driver at `point` (screen pixels) for `owner`. With
  // TPM_RETURNCMD returns the chosen command, 0 for none; otherwise posts the chosen command to
  // `owner` and returns nonzero when one was chosen. Dialog's thread.
  int TrackPopupMenu(unsigned flags, int x, int y, Dialog& owner) const;

 private:
  std::vector<MenuItem> items_;
};

}  // namespace fw

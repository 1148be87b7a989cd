// Popup menus and their display through the UI driver.
#include "fw/Menu.h"

#include "fw/Dialog.h"
#include "fw/UiDriver.h"
#include "fw/UiRequests.h"

namespace fw {
namespace {

MenuItem* FindById(std::vector<MenuItem>& items, int id) {
  for (MenuItem& item : items) {
    if (item.IsSubmenu()) {
      if (MenuItem* found = FindById(item.submenu, id)) return found;
    } else if (!item.IsSeparator() && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

constexpr unsigned kNoItem = static_cast<unsigned>(-1);

}  // namespace

void Menu::AppendMenu(unsigned flags, int id, const std::wstring& text) {
  items_.push_back(MenuItem{flags & ~MF_POPUP, id, text, {}});
}

void Menu::AppendSubMenu(const Menu& submenu, const std::wstring& text, unsigned flags) {
  items_.push_back(MenuItem{flags | MF_POPUP, 0, text, submenu.items_});
}

unsigned Menu::CheckMenuItem(int id, unsigned check) {
  MenuItem* item = FindById(items_, id);
  if (item == nullptr) return kNoItem;
  unsigned previous = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

unsigned Menu::EnableMenuItem(int id, unsigned enable) {
  MenuItem* item = FindById(items_, id);
  if (item == nullptr) return kNoItem;
  unsigned previous = item->flags & (MF_GRAYED | MF_DISABLED);
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

int Menu::TrackPopupMenu(unsigned flags, int x, int y, Dialog& owner) const {
  PopupRequest request;
  request.flags = flags;
  request.point = CPoint{x, y};
  request.ownerCaption = owner.GetWindowText();
  int chosen = GetUiDriver().TrackPopupMenu(*this, request);
  if ((flags & TPM_RETURNCMD) != 0) return chosen;
  if (chosen == 0) return 0;
  owner.PostCommand(chosen);
  return 1;
}

}  // namespace fw

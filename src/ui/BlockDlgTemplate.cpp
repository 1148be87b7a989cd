// The main dialog's layout, in dialog units as the resource compiler takes them: the directory
// list and its buttons on the left, the block list on the right, two rows of buttons and options
// along the top.
#include "ui/BlockDlgTemplate.h"

#include "ui/BlockDlgIds.h"

namespace ui {

fw::DialogTemplate BlockDlgTemplate() {
  using fw::ControlTemplate;
  constexpr int kTopRow = 5;
  constexpr int kSecondRow = 25;
  constexpr int kButtonHeight = 14;
  constexpr int kComboDropHeight = 100;
  constexpr unsigned kBlockListStyle = fw::LVS_REPORT | fw::LVS_SINGLESEL | fw::LVS_SHOWSELALWAYS |
                                       fw::LVS_SHAREIMAGELISTS | fw::LVS_AUTOARRANGE | fw::WS_BORDER;

  fw::DialogTemplate dialog;
  dialog.id = kBlockDlgTemplateId;
  dialog.cx = 520;
  dialog.cy = 346;
  dialog.caption = L"Quorvane";
  dialog.fontName = L"MS Sans Serif";
  dialog.fontPointSize = 8;
  dialog.style = fw::DS_MODALFRAME | fw::DS_SETFONT | fw::DS_CENTER | fw::WS_POPUP |
                 fw::WS_CAPTION | fw::WS_SYSMENU;
  dialog.controls = {
      // Top row.
      ControlTemplate::PushButton(kIdPreferences, L"Preferences", 2, kTopRow, 50, kButtonHeight),
      ControlTemplate::ComboBox(kIdScheme, 55, kTopRow, 72, kComboDropHeight,
                                fw::CBS_DROPDOWNLIST | fw::CBS_SORT)
          .Style(fw::WS_VSCROLL),
      ControlTemplate::Label(L"Quick Find:", 132, kTopRow + 2, 40, 8),
      ControlTemplate::Edit(kIdQuickFind, 175, kTopRow, 100, 12).Style(fw::ES_AUTOHSCROLL),
      ControlTemplate::Label(L"Scale:", 280, kTopRow + 2, 30, 8),
      ControlTemplate::ComboBox(kIdScale, 315, kTopRow, 45, kComboDropHeight,
                                fw::CBS_DROPDOWN | fw::CBS_SORT | fw::CBS_AUTOHSCROLL)
          .Style(fw::WS_VSCROLL),
      ControlTemplate::DefPushButton(kIdInsert, L"Insert", 365, kTopRow, 50, kButtonHeight),
      ControlTemplate::PushButton(kIdOpen, L"Open", 420, kTopRow, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdXref, L"Xref/A", 470, kTopRow, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdZuZizazad, L"ZuZizazad", 495, kTopRow, 20, kButtonHeight)
          .Hidden(),
      // Second row.
      ControlTemplate::PushButton(kIdClose, L"Close", 2, kSecondRow, 50, kButtonHeight),
      ControlTemplate::PushButton(kIdSchemes, L"Schemes", 55, kSecondRow, 50, kButtonHeight),
      ControlTemplate::OwnerDrawButton(kIdViewButton, L"3", 105, kSecondRow, 27, 16),
      ControlTemplate::PushButton(kIdHelp, L"Help", 137, kSecondRow, 35, kButtonHeight),
      ControlTemplate::PushButton(kIdPrint, L"Print", 175, kSecondRow, 50, kButtonHeight),
      ControlTemplate::PushButton(kIdEditDescription, L"Edit Descrip.", 230, kSecondRow, 45,
                                  kButtonHeight),
      ControlTemplate::Label(L"Rotation:", 280, kSecondRow + 2, 33, 8),
      ControlTemplate::ComboBox(kIdRotation, 315, kSecondRow, 45, kComboDropHeight,
                                fw::CBS_DROPDOWN | fw::CBS_SORT | fw::CBS_AUTOHSCROLL)
          .Style(fw::WS_VSCROLL),
      ControlTemplate::CheckBox(kIdExplode, L"Explode", 365, kSecondRow + 2, 50, 10),
      ControlTemplate::CheckBox(kIdMultipleInsert, L"Multiple Insert", 420, kSecondRow + 2, 50,
                                10),
      ControlTemplate::CheckBox(kIdRepeat, L"Repeat", 470, kSecondRow + 2, 45, 10),
      ControlTemplate::CheckBox(kIdLocalize, L"Localize", 470, kSecondRow + 2, 45, 10).Hidden(),
      // The directories on the left.
      ControlTemplate::ListCtrl(kIdDirectories, 2, 45, 98, 170,
                                fw::LVS_REPORT | fw::LVS_SINGLESEL | fw::LVS_SHOWSELALWAYS |
                                    fw::LVS_EDITLABELS | fw::WS_BORDER),
      ControlTemplate::PushButton(kIdAdd, L"Add", 2, 220, 50, kButtonHeight),
      ControlTemplate::PushButton(kIdDelete, L"Delete", 55, 220, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdMoveUp, L"Move Up", 2, 240, 50, kButtonHeight),
      ControlTemplate::PushButton(kIdMoveDown, L"Move Down", 55, 240, 45, kButtonHeight),
      ControlTemplate::Label(L"Item Properties", 2, 260, 98, 8),
      ControlTemplate::Label(L"No Block Selected", 2, 270, 98, 74, kIdProperties)
          .Style(fw::WS_BORDER | fw::SS_NOPREFIX),
      // The blocks on the right, with the placeholder list shown in their place while they fill.
      ControlTemplate::ListCtrl(kIdBlocks, 105, 45, 413, 299, kBlockListStyle),
      ControlTemplate::ListCtrl(kIdPlaceholder, 105, 45, 413, 299,
                                fw::LVS_ICON | fw::LVS_SINGLESEL | fw::WS_BORDER)
          .Hidden(),
  };
  return dialog;
}

}  // namespace ui

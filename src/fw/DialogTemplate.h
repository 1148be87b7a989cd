// Dialog templates: the dialog's size, font, caption and styles, and per control its id, kind,
// caption, rectangle and style bits, all in dialog units as the platform's resource compiler
// writes them; and the conversion of dialog units to pixels for the template's font.
#pragma once

#include <string>
#include <vector>

#include "fw/Geometry.h"
#include "fw/WindowStyles.h"

namespace fw {

enum class ControlKind {
  kButton,           // push button (default push button by BS_DEFPUSHBUTTON)
  kCheckBox,         // automatic check box
  kRadioButton,      // automatic radio button; WS_GROUP starts a group
  kGroupBox,         // a labelled frame around other controls
  kOwnerDrawButton,  // a push button its owner draws, optionally with a drop-down part
  kStatic,           // text, bordered by WS_BORDER or SS_SUNKEN
  kEdit,
  kComboBox,         // CBS_DROPDOWNLIST, or CBS_DROPDOWN (editable); CBS_SORT sorts
  kListBox,
  kListCtrl,         // the list view: icon, small icon, list or report (LVS_*)
  kProgress,
};

// One control of a template. The builders give each kind the styles the resource compiler gives
// the matching statement (visible, tab stop where it takes focus); the modifiers add or remove.
struct ControlTemplate {
  int id = IDC_STATIC;
  ControlKind kind = ControlKind::kStatic;
  std::wstring caption;
  CRect rect;  // dialog units: left, top, right, bottom
  unsigned style = 0;
  unsigned exStyle = 0;

  static ControlTemplate PushButton(int id, std::wstring caption, int x, int y, int cx, int cy);
  static ControlTemplate DefPushButton(int id, std::wstring caption, int x, int y, int cx,
                                       int cy);
  static ControlTemplate OwnerDrawButton(int id, std::wstring caption, int x, int y, int cx,
                                         int cy);
  static ControlTemplate CheckBox(int id, std::wstring caption, int x, int y, int cx, int cy);
  static ControlTemplate RadioButton(int id, std::wstring caption, int x, int y, int cx, int cy);
  static ControlTemplate GroupBox(std::wstring caption, int x, int y, int cx, int cy);
  static ControlTemplate Label(std::wstring caption, int x, int y, int cx, int cy,
                               int id = IDC_STATIC);
  static ControlTemplate Edit(int id, int x, int y, int cx, int cy);
  static ControlTemplate ComboBox(int id, int x, int y, int cx, int cy, unsigned comboStyle);
  static ControlTemplate ListBox(int id, int x, int y, int cx, int cy);
  static ControlTemplate ListCtrl(int id, int x, int y, int cx, int cy, unsigned listStyle);
  static ControlTemplate Progress(int id, int x, int y, int cx, int cy);

  ControlTemplate& Style(unsigned add) {
    style |= add;
    return *this;
  }
  ControlTemplate& ExStyle(unsigned add) {
    exStyle |= add;
    return *this;
  }
  ControlTemplate& Hidden() {
    style &= ~WS_VISIBLE;
    return *this;
  }
  ControlTemplate& Disabled() {
    style |= WS_DISABLED;
    return *this;
  }
  ControlTemplate& Group() { return Style(WS_GROUP); }
};

struct DialogTemplate {
  int id = 0;  // the resource id the template is found by; 0 for one built in code
  int cx = 0;  // client size in dialog units
  int cy = 0;
  std::wstring caption;
  std::wstring fontName = L"MS Sans Serif";
  int fontPointSize = 8;
  unsigned style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  unsigned exStyle = 0;
  std::vector<ControlTemplate> controls;
};

// A modal dialog's template without controls: its id, client size, caption, the 8-point
// "MS Sans Serif" font, a modal frame, centred.
DialogTemplate ModalDialogTemplate(int id, int cx, int cy, std::wstring caption);

// The dialog base units of a font: the average character width and the character height in
// pixels at 96 dots per inch, as the platform's dialog manager measures them. The fonts dialogs
// use have their measured values; others are estimated from the point size.
CSize DialogBaseUnits(const std::wstring& fontName, int pointSize);

// Dialog units to pixels: x by base width / 4, y by base height / 8, each edge rounded on its own
// as the platform does.
CRect MapDialogRect(const CRect& dialogUnits, CSize baseUnits);

}  // namespace fw

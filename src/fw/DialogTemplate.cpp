// Template builders with the resource compiler's default styles, and dialog-unit conversion.
#include "fw/DialogTemplate.h"

#include <cmath>
#include <utility>

#include "fw/Strings.h"

namespace fw {
namespace {

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

ControlTemplate Make(int id, ControlKind kind, std::wstring caption, int x, int y, int cx, int cy,
                     unsigned style) {
  ControlTemplate control;
  control.id = id;
  control.kind = kind;
  control.caption = std::move(caption);
  control.rect = CRect{x, y, x + cx, y + cy};
  control.style = kChild | style;
  return control;
}

struct KnownFont {
  const wchar_t* name;
  int pointSize;
  CSize baseUnits;
};

// Measured by the platform's rule (average width of the 52 letters, rounded) at 96 dpi.
constexpr KnownFont kKnownFonts[] = {
    {L"MS Sans Serif", 8, {6, 13}},
    {L"MS Shell Dlg", 8, {6, 13}},
    {L"MS Shell Dlg 2", 8, {6, 13}},
    {L"Tahoma", 8, {6, 13}},
    {L"Segoe UI", 9, {7, 15}},
};

}  // namespace

ControlTemplate ControlTemplate::PushButton(int id, std::wstring caption, int x, int y, int cx,
                                            int cy) {
  return Make(id, ControlKind::kButton, std::move(caption), x, y, cx, cy,
              BS_PUSHBUTTON | WS_TABSTOP);
}

ControlTemplate ControlTemplate::DefPushButton(int id, std::wstring caption, int x, int y, int cx,
                                               int cy) {
  return Make(id, ControlKind::kButton, std::move(caption), x, y, cx, cy,
              BS_DEFPUSHBUTTON | WS_TABSTOP);
}

ControlTemplate ControlTemplate::OwnerDrawButton(int id, std::wstring caption, int x, int y,
                                                 int cx, int cy) {
  return Make(id, ControlKind::kOwnerDrawButton, std::move(caption), x, y, cx, cy,
              BS_OWNERDRAW | WS_TABSTOP);
}

ControlTemplate ControlTemplate::CheckBox(int id, std::wstring caption, int x, int y, int cx,
                                          int cy) {
  return Make(id, ControlKind::kCheckBox, std::move(caption), x, y, cx, cy,
              BS_AUTOCHECKBOX | WS_TABSTOP);
}

ControlTemplate ControlTemplate::RadioButton(int id, std::wstring caption, int x, int y, int cx,
                                             int cy) {
  return Make(id, ControlKind::kRadioButton, std::move(caption), x, y, cx, cy,
              BS_AUTORADIOBUTTON);
}

ControlTemplate ControlTemplate::GroupBox(std::wstring caption, int x, int y, int cx, int cy) {
  return Make(IDC_STATIC, ControlKind::kGroupBox, std::move(caption), x, y, cx, cy, BS_GROUPBOX);
}

ControlTemplate ControlTemplate::Label(std::wstring caption, int x, int y, int cx, int cy,
                                       int id) {
  return Make(id, ControlKind::kStatic, std::move(caption), x, y, cx, cy, SS_LEFT | WS_GROUP);
}

ControlTemplate ControlTemplate::Edit(int id, int x, int y, int cx, int cy) {
  return Make(id, ControlKind::kEdit, L"", x, y, cx, cy, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP)
      .ExStyle(WS_EX_CLIENTEDGE);
}

ControlTemplate ControlTemplate::ComboBox(int id, int x, int y, int cx, int cy,
                                          unsigned comboStyle) {
  return Make(id, ControlKind::kComboBox, L"", x, y, cx, cy, comboStyle | WS_TABSTOP);
}

ControlTemplate ControlTemplate::ListBox(int id, int x, int y, int cx, int cy) {
  return Make(id, ControlKind::kListBox, L"", x, y, cx, cy,
              LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP);
}

ControlTemplate ControlTemplate::ListCtrl(int id, int x, int y, int cx, int cy,
                                          unsigned listStyle) {
  return Make(id, ControlKind::kListCtrl, L"", x, y, cx, cy, listStyle | WS_BORDER | WS_TABSTOP);
}

ControlTemplate ControlTemplate::Progress(int id, int x, int y, int cx, int cy) {
  return Make(id, ControlKind::kProgress, L"", x, y, cx, cy, WS_BORDER);
}

DialogTemplate ModalDialogTemplate(int id, int cx, int cy, std::wstring caption) {
  DialogTemplate dialog;
  dialog.id = id;
  dialog.cx = cx;
  dialog.cy = cy;
  dialog.caption = std::move(caption);
  dialog.fontName = L"MS Sans Serif";
  dialog.fontPointSize = 8;
  dialog.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  return dialog;
}

CSize DialogBaseUnits(const std::wstring& fontName, int pointSize) {
  for (const KnownFont& font : kKnownFonts) {
    if (font.pointSize == pointSize && EqualsNoCase(fontName, font.name)) return font.baseUnits;
  }
  // Other fonts: a line is about 1.22 em and the average letter 6/13 of a line, which is what
  // the measured fonts show.
  int size = pointSize > 0 ? pointSize : 8;
  int height = static_cast<int>(std::lround(size * 96.0 / 72.0 * 1.22));
  int width = std::max(1, static_cast<int>(std::lround(height * 6.0 / 13.0)));
  return CSize{width, std::max(1, height)};
}

CRect MapDialogRect(const CRect& dialogUnits, CSize baseUnits) {
  return CRect{MulDiv(dialogUnits.left, baseUnits.cx, 4), MulDiv(dialogUnits.top, baseUnits.cy, 8),
               MulDiv(dialogUnits.right, baseUnits.cx, 4),
               MulDiv(dialogUnits.bottom, baseUnits.cy, 8)};
}

}  // namespace fw

// The scheme dialogs' layouts in dialog units, as the resource compiler takes them.
#include "layermap/SchemeDlgTemplates.h"

#include "fw/UiDriver.h"
#include "layermap/SchemeDlgIds.h"

namespace layermap {
namespace {

using fw::ControlTemplate;

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kComboDropHeight = 100;
constexpr unsigned kReportStyle =
    fw::LVS_REPORT | fw::LVS_SINGLESEL | fw::LVS_SHOWSELALWAYS | fw::WS_BORDER;

}  // namespace

fw::DialogTemplate SchemePrefsTemplate() {
  fw::DialogTemplate dialog = fw::ModalDialogTemplate(kSchemePrefsTemplateId, 450, 210,
                                                      L"Quorvane - Layer Mapping Schemes");
  constexpr int kSide = 360;
  dialog.controls = {
      ControlTemplate::ListCtrl(kIdSchemes, 5, 5, 150, 180, kReportStyle),
      ControlTemplate::PushButton(kIdAddScheme, L"Add", 5, 190, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdDeleteScheme, L"Delete", 55, 190, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdCopyScheme, L"Copy", 105, 190, 45, kButtonHeight),
      ControlTemplate::ListCtrl(kIdMaps, 160, 5, 195, 180, kReportStyle),
      ControlTemplate::PushButton(kIdNewMap, L"New", 160, 190, 45, kButtonHeight),
      ControlTemplate::PushButton(kIdDeleteMap, L"Delete", 210, 190, 45, kButtonHeight),
      ControlTemplate::DefPushButton(fw::IDOK, L"Close", 395, 5, kButtonWidth, kButtonHeight),
      ControlTemplate::CheckBox(kIdDefaultToByLayer, L"Set default to ByLayer", kSide, 75, 85, 10),
      ControlTemplate::GroupBox(L"Unknowns?", kSide, 95, 85, 40),
      ControlTemplate::RadioButton(kIdIgnore, L"Ignore", kSide + 5, 105, 75, 10).Group(),
      ControlTemplate::RadioButton(kIdAskForMap, L"Ask for new map", kSide + 5, 115, 75, 10),
      ControlTemplate::RadioButton(kIdDefaultTo, L"Default to:", kSide + 5, 125, 75, 10),
      ControlTemplate::Edit(kIdUnknownValue, kSide, 140, 85, 12)
          .Style(fw::ES_AUTOHSCROLL | fw::WS_GROUP),
      ControlTemplate::CheckBox(kIdUnknownIsVariable, L"Is Variable", kSide, 155, 85, 10),
  };
  return dialog;
}

fw::DialogTemplate SchemeTypeTemplate() {
  fw::DialogTemplate dialog =
      fw::ModalDialogTemplate(kSchemeTypeTemplateId, 269, 58, L"Quorvane - Scheme Type");
  dialog.controls = {
      ControlTemplate::GroupBox(L"Type", 5, 5, 200, 25),
      ControlTemplate::RadioButton(kIdLayerKind, L"Layer", 10, 15, 45, 10).Group(),
      ControlTemplate::RadioButton(kIdLinetypeKind, L"Linetype", 55, 15, 50, 10),
      ControlTemplate::RadioButton(kIdColorKind, L"Color", 105, 15, 45, 10),
      ControlTemplate::RadioButton(kIdBlockKind, L"Block", 150, 15, 45, 10),
      ControlTemplate::Label(L"Name:", 5, 39, 25, 8),
      ControlTemplate::Edit(kIdSchemeName, 35, 37, 170, 12)
          .Style(fw::ES_AUTOHSCROLL | fw::WS_GROUP),
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 214, 5, kButtonWidth, kButtonHeight),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 214, 25, kButtonWidth, kButtonHeight),
  };
  return dialog;
}

fw::DialogTemplate NewMapTemplate() {
  fw::DialogTemplate dialog =
      fw::ModalDialogTemplate(kNewMapTemplateId, 200, 90, L"Quorvane - New Map");
  dialog.controls = {
      ControlTemplate::Label(L"From:", 5, 5, 40, 8),
      ControlTemplate::ComboBox(kIdFrom, 5, 15, 67, kComboDropHeight,
                                fw::CBS_DROPDOWN | fw::CBS_AUTOHSCROLL)
          .Style(fw::WS_VSCROLL),
      ControlTemplate::CheckBox(kIdText, L"Text", 5, 32, 40, 10),
      ControlTemplate::CheckBox(kIdDimension, L"Dimension", 50, 32, 50, 10),
      ControlTemplate::PushButton(kIdColor, L"Color", 86, 15, 54, 15).Hidden(),
      ControlTemplate::Label(L"To:", 5, 46, 40, 8),
      ControlTemplate::ComboBox(kIdTo, 5, 56, 135, kComboDropHeight,
                                fw::CBS_DROPDOWN | fw::CBS_AUTOHSCROLL)
          .Style(fw::WS_VSCROLL),
      ControlTemplate::CheckBox(kIdIsVariable, L"Is A Variable", 5, 73, 70, 10),
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 145, 5, kButtonWidth, kButtonHeight),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 145, 25, kButtonWidth, kButtonHeight),
  };
  return dialog;
}

}  // namespace layermap

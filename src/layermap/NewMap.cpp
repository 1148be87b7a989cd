// The New Map dialog's lists, its arrangement by scheme kind, the Text and Dimension boxes, the
// colour button and the validation on OK.
#include "layermap/NewMap.h"

#include "arx/arxHeaders.h"
#include "fw/ComboBox.h"
#include "fw/DataExchange.h"
#include "fw/Strings.h"
#include "layermap/CompanionVariables.h"
#include "layermap/DrawingTableNames.h"
#include "layermap/PseudoNames.h"
#include "layermap/ResBuf.h"
#include "layermap/SchemeDlgIds.h"
#include "layermap/SchemeDlgRules.h"

namespace layermap {
namespace {

// A companion variable is offered only while AutoLISP holds a string in it.
bool HoldsString(const wchar_t* variable) {
  ResBuf value;
  std::wstring text;
  return value.GetSym(variable) && value.GetString(0, text);
}

bool IsHiddenLinetype(const std::wstring& name) {
  return fw::EqualsNoCase(name, L"BYBLOCK") || fw::EqualsNoCase(name, L"BYLAYER");
}

}  // namespace

NewMap::NewMap() : Dialog(kNewMapTemplateId) {
  using fw::Event;
  On(kIdText, Event::kClicked, [this] { OnPseudoBoxClicked(); });
  On(kIdDimension, Event::kClicked, [this] { OnPseudoBoxClicked(); });
  On(kIdColor, Event::kClicked, [this] { OnColor(); });
  // A target picked from the list is what the list says it is; a typed one may be a variable.
  On(kIdTo, Event::kSelChange, [this] { GetDlgItem(kIdIsVariable)->EnableWindow(false); });
  On(kIdTo, Event::kTextChange, [this] { GetDlgItem(kIdIsVariable)->EnableWindow(true); });
}

void NewMap::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Text(kIdFrom, from);
  exchange.Text(kIdTo, to);
  exchange.Check(kIdIsVariable, isVariable);
}

bool NewMap::OnInitDialog() {
  FillToList();
  if (!asked) FillFromList();
  Dialog::OnInitDialog();
  if (asked) GetDlgItem(kIdFrom)->EnableWindow(false);
  ArrangeForKind();
  ShowPseudoName();
  return true;
}

void NewMap::FillToList() {
  auto& toList = Item<fw::ComboBox>(kIdTo);
  for (const CompanionVariable& companion : CompanionVariables()) {
    if (HoldsString(companion.variable)) toList.AddString(companion.description);
  }
  for (const std::wstring& layer : CurrentLayerNames()) toList.AddString(layer);
}

void NewMap::FillFromList() {
  auto& fromList = Item<fw::ComboBox>(kIdFrom);
  switch (kind) {
    case SchemeKind::kLayer:
      for (const std::wstring& layer : CurrentLayerNames()) fromList.AddString(layer);
      break;
    case SchemeKind::kLinetype:
      for (const std::wstring& linetype : CurrentLinetypeNames()) {
        if (!IsHiddenLinetype(linetype)) fromList.AddString(linetype);
      }
      break;
    case SchemeKind::kColor:
    case SchemeKind::kBlock:
      break;
  }
}

void NewMap::ArrangeForKind() {
  fw::Control& text = *GetDlgItem(kIdText);
  fw::Control& dimension = *GetDlgItem(kIdDimension);
  fw::Control& color = *GetDlgItem(kIdColor);
  switch (kind) {
    case SchemeKind::kLayer:
      text.EnableWindow(false);
      dimension.EnableWindow(false);
      WidenFromOverColorButton();
      break;
    case SchemeKind::kLinetype:
      text.EnableWindow(!asked);
      dimension.EnableWindow(!asked);
      WidenFromOverColorButton();
      break;
    case SchemeKind::kColor:
      // A colour is picked with the button, never typed.
      text.EnableWindow(false);
      dimension.EnableWindow(false);
      color.ShowWindow(fw::SW_SHOW);
      if (asked) {
        color.EnableWindow(false);
      } else {
        GetDlgItem(kIdFrom)->EnableWindow(false);
      }
      break;
    case SchemeKind::kBlock:
      text.EnableWindow(false);
      dimension.EnableWindow(false);
      text.ShowWindow(fw::SW_HIDE);
      dimension.ShowWindow(fw::SW_HIDE);
      break;
  }
}

// The From box reaches the right edge of the (hidden) Color button.
void NewMap::WidenFromOverColorButton() {
  fw::Control& fromBox = *GetDlgItem(kIdFrom);
  fw::CRect rect = fromBox.GetWindowRect();
  rect.right = GetDlgItem(kIdColor)->GetWindowRect().right;
  fromBox.MoveWindow(rect);
}

// A From that is one of the pseudo-names shows as its boxes and cannot be typed over.
void NewMap::ShowPseudoName() {
  if (!from.starts_with(L"*")) return;
  bool text = from == kTextObjects || from == kTextAndDimensionObjects;
  bool dimension = from == kDimensionObjects || from == kTextAndDimensionObjects;
  CheckDlgButton(kIdText, text ? 1 : 0);
  CheckDlgButton(kIdDimension, dimension ? 1 : 0);
  GetDlgItem(kIdFrom)->EnableWindow(false);
}

void NewMap::OnPseudoBoxClicked() {
  std::wstring pseudoName =
      PseudoNameFor(IsDlgButtonChecked(kIdText) != 0, IsDlgButtonChecked(kIdDimension) != 0);
  if (!pseudoName.empty()) {
    SetDlgItemText(kIdFrom, pseudoName);
    GetDlgItem(kIdFrom)->EnableWindow(false);
    return;
  }
  if (GetDlgItemText(kIdFrom).starts_with(L"*")) SetDlgItemText(kIdFrom, L"");
  GetDlgItem(kIdFrom)->EnableWindow(true);
}

// The host's colour dialog, without the ByLayer and ByBlock choices. A call that fails or is
// cancelled keeps the colour shown before.
void NewMap::OnColor() {
  int start = ColorDialogStart(GetDlgItemText(kIdFrom));
  ResBuf arguments;
  if (!arguments.AppendString(L"acad_colordlg") ||
      !arguments.AppendShort(static_cast<short>(start)) || !arguments.AppendBool(false)) {
    return;
  }
  ResBuf answer;
  int status = acedInvoke(arguments.Head(), answer.BeginFillByHost());
  answer.Reindex();
  int chosen = 0;
  if (status != RTNORM || !answer.GetInteger(0, chosen)) return;
  SetDlgItemText(kIdFrom, std::to_wstring(chosen));
}

void NewMap::OnOK() {
  if (!UpdateData(true)) return;
  from = fw::ToUpper(fw::Trim(from));
  to = fw::ToUpper(fw::Trim(to));
  if (std::optional<std::wstring> error = NewMapError(from, to, existingFroms)) {
    MessageBox(*error);
    return;
  }
  // A target picked from the list: a companion description becomes its variable, anything
  // else is a layer, whatever the box said before the pick.
  if (!GetDlgItem(kIdIsVariable)->IsWindowEnabled()) {
    std::optional<std::wstring> variable = CompanionVariableForDescription(to);
    isVariable = variable.has_value();
    if (variable) to = *variable;
  }
  EndDialog(fw::IDOK);
}

}  // namespace layermap

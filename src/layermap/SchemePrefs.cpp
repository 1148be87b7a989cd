// The Layer Mapping Schemes dialog's handlers.
#include "layermap/SchemePrefs.h"

#include "fw/DataExchange.h"
#include "fw/Edit.h"
#include "fw/ListCtrl.h"
#include "layermap/NewMap.h"
#include "layermap/SchemeDlgIds.h"
#include "layermap/SchemeTable.h"
#include "layermap/SchemeType.h"

namespace layermap {
namespace {

constexpr const wchar_t* kVariablePrefix = L"Variable: ";
constexpr int kColumnMargin = 10;

bool BecameSelected(const fw::Notify& notify) {
  return (notify.newState & fw::LVIS_SELECTED) != 0 && (notify.oldState & fw::LVIS_SELECTED) == 0;
}

std::wstring ShownTarget(const MapScheme& scheme, const PatternMap& map) {
  return scheme.IsVariable(map.from) ? kVariablePrefix + map.to : map.to;
}

void SetUpColumns(fw::ListCtrl& list, const wchar_t* first, const wchar_t* second) {
  int width = list.GetClientRect().Width() / 2 - kColumnMargin;
  list.SetExtendedStyle(list.GetExtendedStyle() | fw::LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, first, fw::LVCFMT_LEFT, width);
  list.InsertColumn(1, second, fw::LVCFMT_LEFT, width);
}

void SelectRow(fw::ListCtrl& list, int row) {
  list.SetItemState(row, fw::LVIS_SELECTED | fw::LVIS_FOCUSED,
                    fw::LVIS_SELECTED | fw::LVIS_FOCUSED);
}

}  // namespace

SchemePrefs::SchemePrefs() : Dialog(kSchemePrefsTemplateId) {
  using fw::Event;
  On(kIdSchemes, Event::kItemChanged, [this](fw::Notify& notify) {
    if (BecameSelected(notify)) OnSchemeSelected(notify.item);
  });
  On(kIdSchemes, Event::kDoubleClicked,
     [this](fw::Notify& notify) { OnSchemeDoubleClick(notify.item); });
  On(kIdAddScheme, Event::kClicked, [this] { OnAddScheme(false); });
  On(kIdCopyScheme, Event::kClicked, [this] { OnAddScheme(true); });
  On(kIdDeleteScheme, Event::kClicked, [this] { OnDeleteScheme(); });
  On(kIdNewMap, Event::kClicked, [this] { OnNewMap(); });
  On(kIdMaps, Event::kDoubleClicked, [this](fw::Notify& notify) { OnMapDoubleClick(notify.item); });
  On(kIdDeleteMap, Event::kClicked, [this] { OnDeleteMap(); });
  for (int radio : {kIdIgnore, kIdAskForMap, kIdDefaultTo}) {
    On(radio, Event::kClicked, [this] { EnableDefaultControls(); });
  }
}

bool SchemePrefs::OnInitDialog() {
  Dialog::OnInitDialog();
  selectedName_.reset();
  chosenScheme.reset();
  SetUpLists();
  auto& schemes = Item<fw::ListCtrl>(kIdSchemes);
  for (const SchemeTable::Entry& entry : SchemeMap().Entries()) {
    AppendSchemeRow(entry.name, *entry.scheme);
  }
  int row = schemes.FindItemByExactText(directoryScheme);
  if (row >= 0) SelectSchemeRow(row);
  EnableDefaultControls();
  return true;
}

void SchemePrefs::SetUpLists() {
  SetUpColumns(Item<fw::ListCtrl>(kIdSchemes), L"Scheme", L"Type");
  SetUpColumns(Item<fw::ListCtrl>(kIdMaps), L"From", L"To");
}

int SchemePrefs::AppendSchemeRow(const std::wstring& name, const MapScheme& scheme) {
  auto& schemes = Item<fw::ListCtrl>(kIdSchemes);
  int row = schemes.InsertItem(schemes.GetItemCount(), name);
  schemes.SetItemText(row, 1, ShownName(scheme.GetKind()));
  return row;
}

void SchemePrefs::SelectSchemeRow(int row) { SelectRow(Item<fw::ListCtrl>(kIdSchemes), row); }

MapScheme* SchemePrefs::Selected() const {
  return selectedName_ ? SchemeMap().Find(*selectedName_) : nullptr;
}

void SchemePrefs::OnSchemeSelected(int row) {
  StoreUnknowns();
  Item<fw::ListCtrl>(kIdMaps).DeleteAllItems();
  std::wstring name = Item<fw::ListCtrl>(kIdSchemes).GetItemText(row, 0);
  MapScheme* scheme = SchemeMap().Find(name);
  selectedName_ = scheme != nullptr ? std::optional<std::wstring>(name) : std::nullopt;
  if (scheme == nullptr) return;
  ShowMaps(*scheme);
  ShowUnknowns(*scheme);
}

void SchemePrefs::ShowMaps(const MapScheme& scheme) {
  auto& maps = Item<fw::ListCtrl>(kIdMaps);
  for (const PatternMap& map : scheme.Maps()) {
    int row = maps.InsertItem(maps.GetItemCount(), map.from);
    maps.SetItemText(row, 1, ShownTarget(scheme, map));
  }
}

void SchemePrefs::ShowUnknowns(const MapScheme& scheme) {
  int radio = kIdIgnore;
  switch (scheme.GetUnknownMode()) {
    case UnknownMode::kIgnore:
      radio = kIdIgnore;
      break;
    case UnknownMode::kAsk:
      radio = kIdAskForMap;
      break;
    case UnknownMode::kSpecific:
      radio = kIdDefaultTo;
      break;
  }
  CheckRadioButton(kIdAskForMap, kIdDefaultTo, radio);
  EnableDefaultControls();
  SetDlgItemText(kIdUnknownValue, scheme.GetUnknownValue());
  CheckDlgButton(kIdUnknownIsVariable, scheme.GetUnknownIsVariable() ? 1 : 0);
  // A Block scheme maps the whole insertion: there are no objects' colours to reset.
  bool block = scheme.GetKind() == SchemeKind::kBlock;
  GetDlgItem(kIdDefaultToByLayer)->EnableWindow(!block);
  CheckDlgButton(kIdDefaultToByLayer, !block && scheme.GetDefaultToByLayer() ? 1 : 0);
}

void SchemePrefs::StoreUnknowns() {
  MapScheme* scheme = Selected();
  if (scheme == nullptr) return;
  scheme->SetDefaultToByLayer(IsDlgButtonChecked(kIdDefaultToByLayer) != 0);
  scheme->SetUnknownValue(GetDlgItemText(kIdUnknownValue));
  scheme->SetUnknownIsVariable(IsDlgButtonChecked(kIdUnknownIsVariable) != 0);
  switch (GetCheckedRadioButton(kIdAskForMap, kIdDefaultTo)) {
    case kIdIgnore:
      scheme->SetUnknownMode(UnknownMode::kIgnore);
      break;
    case kIdAskForMap:
      scheme->SetUnknownMode(UnknownMode::kAsk);
      break;
    case kIdDefaultTo:
      scheme->SetUnknownMode(UnknownMode::kSpecific);
      break;
    default:
      break;
  }
}

void SchemePrefs::EnableDefaultControls() {
  bool specific = IsDlgButtonChecked(kIdDefaultTo) != 0;
  GetDlgItem(kIdUnknownValue)->EnableWindow(specific);
  GetDlgItem(kIdUnknownIsVariable)->EnableWindow(specific);
}

void SchemePrefs::OnAddScheme(bool copy) {
  MapScheme* original = Selected();
  if (copy && original == nullptr) return;
  SchemeType type;
  type.existingNames = SchemeMap().Names();
  type.copy = copy;
  if (copy) type.kind = static_cast<int>(original->GetKind());
  if (type.DoModal() != fw::IDOK) return;
  std::optional<SchemeKind> kind = SchemeKindFromValue(type.kind);
  if (!kind) return;
  auto scheme = copy ? std::make_unique<MapScheme>(*original) : std::make_unique<MapScheme>();
  scheme->SetKind(*kind);
  MapScheme* added = SchemeMap().Add(type.name, std::move(scheme));
  if (added == nullptr) return;
  SelectSchemeRow(AppendSchemeRow(type.name, *added));
}

void SchemePrefs::OnDeleteScheme() {
  auto& schemes = Item<fw::ListCtrl>(kIdSchemes);
  int row = schemes.GetNextItem(-1, fw::LVNI_SELECTED);
  if (row < 0) return;
  std::wstring name = schemes.GetItemText(row, 0);
  if (schemes.GetItemCount() == 1) {
    schemes.SetItemState(-1, 0, fw::LVIS_SELECTED | fw::LVIS_FOCUSED);
    Item<fw::ListCtrl>(kIdMaps).DeleteAllItems();
    selectedName_.reset();
  } else {
    SelectSchemeRow(row > 0 ? row - 1 : row + 1);
  }
  schemes.DeleteItem(row);
  // Directories that name it keep the name, which then maps nothing.
  SchemeMap().Remove(name);
  if (selectedName_ == name) selectedName_.reset();
}

void SchemePrefs::OnSchemeDoubleClick(int row) {
  if (row < 0) return;
  chosenScheme = Item<fw::ListCtrl>(kIdSchemes).GetItemText(row, 0);
  OnOK();
}

void SchemePrefs::OnNewMap() {
  MapScheme* scheme = Selected();
  if (scheme == nullptr) return;
  NewMap dialog;
  dialog.kind = scheme->GetKind();
  for (const PatternMap& map : scheme->Maps()) dialog.existingFroms.push_back(map.from);
  if (dialog.DoModal() != fw::IDOK || !scheme->SetMap(dialog.from, dialog.to)) return;
  scheme->SetVariable(dialog.from, dialog.isVariable);
  auto& maps = Item<fw::ListCtrl>(kIdMaps);
  int row = maps.InsertItem(maps.GetItemCount(), dialog.from);
  maps.SetItemText(row, 1, ShownTarget(*scheme, PatternMap{dialog.from, dialog.to}));
}

void SchemePrefs::OnMapDoubleClick(int row) {
  MapScheme* scheme = Selected();
  if (scheme == nullptr || row < 0) return;
  auto& maps = Item<fw::ListCtrl>(kIdMaps);
  std::wstring oldFrom = maps.GetItemText(row, 0);
  const std::wstring* oldTo = scheme->FindMap(oldFrom);
  if (oldTo == nullptr) return;
  NewMap dialog;
  dialog.kind = scheme->GetKind();
  dialog.from = oldFrom;
  dialog.to = *oldTo;
  dialog.isVariable = scheme->IsVariable(oldFrom);
  if (dialog.DoModal() != fw::IDOK) return;
  if (dialog.from != oldFrom) scheme->RemoveMap(oldFrom);
  if (!scheme->SetMap(dialog.from, dialog.to)) return;
  scheme->SetVariable(dialog.from, dialog.isVariable);
  // A From changed to that of another map replaced that map: its row goes too.
  int other = maps.FindItemByExactText(dialog.from);
  if (dialog.from != oldFrom && other >= 0 && other != row) {
    maps.DeleteItem(other);
    if (other < row) --row;
  }
  maps.SetItemText(row, 0, dialog.from);
  maps.SetItemText(row, 1, ShownTarget(*scheme, PatternMap{dialog.from, dialog.to}));
}

void SchemePrefs::OnDeleteMap() {
  MapScheme* scheme = Selected();
  auto& maps = Item<fw::ListCtrl>(kIdMaps);
  int row = maps.GetNextItem(-1, fw::LVNI_SELECTED);
  if (scheme == nullptr || row < 0) return;
  scheme->RemoveMap(maps.GetItemText(row, 0));
  maps.DeleteItem(row);
  if (maps.GetItemCount() > 0) SelectRow(maps, row > 0 ? row - 1 : 0);
}

void SchemePrefs::OnOK() {
  StoreUnknowns();
  EndDialog(fw::IDOK);
}

}  // namespace layermap

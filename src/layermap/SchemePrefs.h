// The Layer Mapping Schemes dialog: lists the schemes and the maps of the selected one, adds,
// copies and deletes schemes, adds, edits and deletes maps, and holds each scheme's rule for
// unknown names. Every change goes into the scheme table at once; only the unknowns controls
// wait until another scheme is selected or the dialog is closed with Close (Escape drops what
// they hold). Host main thread, modal.
#pragma once

#include <optional>
#include <string>

#include "fw/Dialog.h"
#include "layermap/MapScheme.h"

namespace layermap {

class SchemePrefs : public fw::Dialog {
 public:
  SchemePrefs();

  // In: the scheme of the current library directory, selected when the dialog opens.
  std::wstring directoryScheme;
  // Out: the scheme double-clicked, which the caller makes the current directory's.
  std::optional<std::wstring> chosenScheme;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void SetUpLists();
  int AppendSchemeRow(const std::wstring& name, const MapScheme& scheme);
  void SelectSchemeRow(int row);
  void OnSchemeSelected(int row);
  void ShowMaps(const MapScheme& scheme);
  void ShowUnknowns(const MapScheme& scheme);
  void StoreUnknowns();
  void EnableDefaultControls();
  MapScheme* Selected() const;

  void OnAddScheme(bool copy);
  void OnDeleteScheme();
  void OnSchemeDoubleClick(int row);
  void OnNewMap();
  void OnMapDoubleClick(int row);
  void OnDeleteMap();

  // The selected scheme, by name (a scheme deleted meanwhile is then simply not found).
  std::optional<std::wstring> selectedName_;
};

}  // namespace layermap

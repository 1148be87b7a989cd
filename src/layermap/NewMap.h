// The New Map dialog: enters or edits one map of a scheme, and is the question a scheme in mode
// Ask puts to the user during an insertion (the asked form, its From locked). It changes no
// scheme itself: the caller stores what it returns on OK. Host main thread, modal.
#pragma once

#include <string>
#include <vector>

#include "fw/Dialog.h"
#include "layermap/MapScheme.h"

namespace layermap {

class NewMap : public fw::Dialog {
 public:
  NewMap();

  // In: the scheme's kind, whether an insertion asks, the texts to start with and the From
  // patterns the scheme already has (empty when a map is edited: no duplicate test).
  SchemeKind kind = SchemeKind::kLayer;
  bool asked = false;
  std::vector<std::wstring> existingFroms;
  // In and out: on OK From and To are upper case and trimmed, and `isVariable` tells whether
  // the To names an AutoLISP variable.
  std::wstring from;
  std::wstring to;
  bool isVariable = false;

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void FillToList();
  void FillFromList();
  void ArrangeForKind();
  void WidenFromOverColorButton();
  void ShowPseudoName();
  void OnPseudoBoxClicked();
  void OnColor();
};

}  // namespace layermap

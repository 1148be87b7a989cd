// The Scheme Type dialog: asks for the name and kind of a new or copied scheme. It changes no
// scheme itself. Host main thread, modal.
#pragma once

#include <string>
#include <vector>

#include "fw/Dialog.h"
#include "layermap/MapScheme.h"

namespace layermap {

class SchemeType : public fw::Dialog {
 public:
  SchemeType();

  // In: the names of every scheme (a new name may equal none of them, whatever the case) and,
  // for a copy, the kind the copy keeps (the kind buttons are then disabled).
  std::vector<std::wstring> existingNames;
  bool copy = false;
  // In and out: the kind's radio position (SchemeKind value, -1 for none) and, on OK, the
  // trimmed name.
  int kind = -1;
  std::wstring name;

  // The title, blanks, then the maker's name, so that the name stands at the right end of a
  // caption bar `windowWidth` pixels wide.
  static std::wstring PaddedCaption(int windowWidth);

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  bool OnInitDialog() override;
  void OnOK() override;
};

}  // namespace layermap

// The Edit Block Description dialog: one edit holding a block's description, at most 70
// characters. It changes nothing itself. Dialog's thread, modal.
#pragma once

#include <string>

#include "fw/Dialog.h"

namespace ui {

class EditDesc : public fw::Dialog {
 public:
  EditDesc();

  std::wstring description;

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
};

}  // namespace ui

// A check box: clicking it toggles its check. Any thread (see Control).
#pragma once

#include "fw/Button.h"

namespace fw {

class CheckBox final : public Button {
 public:
  using Button::Button;
};

}  // namespace fw

// A radio button: clicking it checks it and unchecks the others of its group, the run of radio
// buttons from one with WS_GROUP up to the next control with WS_GROUP. Any thread (see Control).
#pragma once

#include "fw/Button.h"

namespace fw {

class RadioButton final : public Button {
 public:
  using Button::Button;
};

}  // namespace fw

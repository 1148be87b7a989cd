// The block list where the main dialog has it, for benchmarks that measure the list without the
// dialog around it.
#pragma once

#include "fw/DialogTemplate.h"

namespace bench {

inline constexpr int kListId = 253;

// A dialog holding only a report list of the block list's size and place.
inline fw::DialogTemplate BlockListTemplate() {
  fw::DialogTemplate dialog;
  dialog.cx = 520;
  dialog.cy = 346;
  dialog.controls = {fw::ControlTemplate::ListCtrl(kListId, 105, 45, 413, 299,
                                                   fw::LVS_REPORT | fw::LVS_SINGLESEL)};
  return dialog;
}

}  // namespace bench

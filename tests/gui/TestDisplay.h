// The windows of a test program on the display it was given (xvfb-run's); false without one.
#pragma once

#include "gui/Windows.h"

namespace guitest {

inline bool OpenTestDisplay() {
  static char name[] = "gui_window_tests";
  static char* argv[] = {name, nullptr};
  static int argc = 1;
  return gui::StartWindows(argc, argv);
}

}  // namespace guitest

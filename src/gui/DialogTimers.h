// The timers of a dialog the user drives: one wxTimer per timer the dialog set, firing
// Event::kTimer on the GUI thread. GUI thread only.
#pragma once

#include <map>
#include <memory>

#include <wx/timer.h>

#include "fw/Dialog.h"

namespace gui {

class DialogTimers {
 public:
  explicit DialogTimers(fw::Dialog& dialog) : dialog_(dialog) {}
  ~DialogTimers();
  DialogTimers(const DialogTimers&) = delete;
  DialogTimers& operator=(const DialogTimers&) = delete;

  // Starts the timers the dialog set since the last call and stops those it killed.
  void Follow();

 private:
  struct Running {
    std::unique_ptr<wxTimer> timer;
    unsigned elapse = 0;
  };
  fw::Dialog& dialog_;
  std::map<int, Running> running_;
};

}  // namespace gui

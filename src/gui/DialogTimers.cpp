// wx timers following a dialog's timers.
#include "gui/DialogTimers.h"

#include <algorithm>
#include <vector>

namespace gui {

DialogTimers::~DialogTimers() {
  for (auto& [id, running] : running_) running.timer->Stop();
}

void DialogTimers::Follow() {
  const std::vector<int> ids = dialog_.TimerIds();
  for (auto it = running_.begin(); it != running_.end();) {
    if (std::find(ids.begin(), ids.end(), it->first) == ids.end()) {
      it->second.timer->Stop();
      it = running_.erase(it);
    } else {
      ++it;
    }
  }
  for (int id : ids) {
    const unsigned elapse = std::max(1u, dialog_.TimerElapse(id));
    Running& running = running_[id];
    if (running.timer && running.elapse == elapse) continue;
    if (!running.timer) {
      running.timer = std::make_unique<wxTimer>();
      running.timer->Bind(wxEVT_TIMER, [this, id](wxTimerEvent&) {
        if (!dialog_.IsEnded()) dialog_.FireTimer(id);
      });
    }
    running.elapse = elapse;
    running.timer->Start(static_cast<int>(elapse));
  }
}

}  // namespace gui

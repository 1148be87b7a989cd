// What a windowing presenter adds to the script engine of HeadlessUiDriver: it shows each dialog
// the engine runs as a window, mirrors the changes the engine takes from the dialog's queue,
// keeps its windows alive while the engine waits, and saves the active dialog as a picture. The
// engine stays the one place that takes steps, answers questions and writes the `ui:` lines, so a
// script runs the same with windows and without.
//
// Threads: every member runs on the dialog's thread (the presenter's GUI thread).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "fw/DialogQueue.h"
#include "fw/Result.h"

namespace fw {

class Dialog;

class UiPresenter {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~UiPresenter() = default;

  // The dialog is shown (after InitDialog): the presenter builds its window.
  virtual void Shown(Dialog& dialog, bool modal) = 0;
  // The changes the engine took from the dialog's queue since the last call; the presenter
  // redraws those controls from their current state.
  virtual void Changed(Dialog& dialog, const std::vector<ControlChange>& changes) = 0;
  // The dialog is about to finish its showing: the presenter destroys its window.
  virtual void Ending(Dialog& dialog) = 0;
  // Waits as DialogQueue::WaitUntil does (a post, a wake or the deadline), while the window
  // system's events are handled.
  virtual bool WaitUntil(Dialog& dialog, Clock::time_point deadline) = 0;
  // Before an action step: handles the window system's pending events, so the step meets an
  // idle dialog that shows its model.
  virtual void Settle(Dialog& dialog) = 0;
  // Saves the dialog's window as a PNG file.
  virtual Status Screenshot(Dialog& dialog, const std::wstring& path) = 0;
};

}  // namespace fw

// Shows the dialogs of the framework as wx windows: builds a DialogWindow for each showing,
// hands it the changes taken from the dialog's queue, and runs the wx event loop while a modal
// loop waits. Loader threads reach it only through the dialogs' wakers, which queue one note per
// batch to a handler that lives as long as the process; the GUI thread checks the showing the
// note names before it touches the dialog. It also serves the script engine (fw::UiPresenter).
//
// Threads: every member runs on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "fw/UiPresenter.h"

class wxWindow;

namespace gui {

class DialogWindow;

class DialogPresenter final : public fw::UiPresenter {
 public:
  DialogPresenter();
  ~DialogPresenter() override;
  DialogPresenter(const DialogPresenter&) = delete;
  DialogPresenter& operator=(const DialogPresenter&) = delete;

  void SetOwnerWindow(wxWindow* owner) { owner_ = owner; }
  // The innermost shown dialog's window, else the owner window: what questions open over.
  wxWindow* ActiveWindow() const;

  // Delivers the posted messages of every modeless dialog and shows their changes.
  void DeliverModeless();
  // Takes the dialog's changes and shows them.
  void TakeChanges(fw::Dialog& dialog);

  // --- fw::UiPresenter ----------------------------------------------------------------------
  void Shown(fw::Dialog& dialog, bool modal) override;
  void Changed(fw::Dialog& dialog, const std::vector<fw::ControlChange>& changes) override;
  void Ending(fw::Dialog& dialog) override;
  bool WaitUntil(fw::Dialog& dialog, Clock::time_point deadline) override;
  void Settle(fw::Dialog& dialog) override;
  fw::Status Screenshot(fw::Dialog& dialog, const std::wstring& path) override;

  // The window sink's note for a showing (GUI thread): `dialog` is only trusted once it is
  // found among the dialogs shown now with the same showing open.
  void Deliver(const fw::Dialog* dialog, std::uint64_t session);

 private:
  struct Showing;
  // Runs the window system's events for up to `milliseconds`.
  void Pump(int milliseconds);

  wxWindow* owner_ = nullptr;
  std::map<const fw::Dialog*, std::unique_ptr<Showing>> shown_;
  std::vector<fw::Dialog*> order_;  // shown dialogs, innermost last
  const fw::Dialog* waiting_ = nullptr;  // the dialog whose modal loop waits now
  bool waitingWoken_ = false;
};

}  // namespace gui

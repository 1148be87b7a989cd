// Where the dialogs' wakers send their notes: a wx event handler made once and never destroyed,
// so a waker that runs on a loader thread after its dialog, its window or even the window
// system has gone still finds it. Each note names one showing of one dialog; only the GUI
// thread looks the dialog up, among those shown now.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <wx/event.h>

namespace fw {
class Dialog;
}

namespace gui {

class DialogPresenter;

struct WakeNote {
  const fw::Dialog* dialog = nullptr;  // never used before the GUI thread found it shown
  std::uint64_t session = 0;
  std::atomic<bool> queued{false};  // one note in the queue at a time: a batch makes one
};

class NoteSink final : public wxEvtHandler {
 public:
  static NoteSink& Get();
  // Any thread: queues the note unless it is queued already; nothing once windows stopped.
  static void Post(const std::shared_ptr<WakeNote>& note);
  // GUI thread.
  void SetPresenter(DialogPresenter* presenter) { presenter_ = presenter; }
  // Set by StartWindows and StopWindows.
  static void SetOpen(bool open);

 private:
  NoteSink();
  void OnNote(wxThreadEvent& event);

  DialogPresenter* presenter_ = nullptr;  // GUI thread only
};

}  // namespace gui

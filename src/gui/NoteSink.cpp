// The process-long receiver of the dialogs' wake notes.
#include "gui/NoteSink.h"

#include "gui/DialogPresenter.h"

namespace gui {
namespace {

std::atomic<bool> sinkOpen{false};

}  // namespace

NoteSink::NoteSink() { Bind(wxEVT_THREAD, &NoteSink::OnNote, this); }

NoteSink& NoteSink::Get() {
  // Never destroyed: a waker may run at any time in the process's life.
  static NoteSink* sink = new NoteSink;
  return *sink;
}

void NoteSink::SetOpen(bool open) {
  if (open) Get();
  sinkOpen = open;
}

void NoteSink::Post(const std::shared_ptr<WakeNote>& note) {
  if (!sinkOpen.load() || note->queued.exchange(true)) return;
  auto* event = new wxThreadEvent(wxEVT_THREAD);
  event->SetPayload(note);
  Get().QueueEvent(event);
}

void NoteSink::OnNote(wxThreadEvent& event) {
  auto note = event.GetPayload<std::shared_ptr<WakeNote>>();
  note->queued = false;
  if (presenter_ != nullptr) presenter_->Deliver(note->dialog, note->session);
}

}  // namespace gui

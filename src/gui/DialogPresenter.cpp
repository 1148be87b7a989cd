// The dialogs' windows, their wake notes and the event loop that runs while a modal loop waits.
#include "gui/DialogPresenter.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/evtloop.h>
#include <wx/image.h>

#include "fw/Dialog.h"
#include "fw/File.h"
#include "fw/Png.h"
#include "gui/DialogWindow.h"
#include "gui/NoteSink.h"

namespace gui {
namespace {

// How long one turn of a waiting loop lets the window system run before it looks at the
// dialog's queue again.
constexpr int kPumpSliceMs = 10;
// How long a screenshot lets the window system lay out and paint before it reads the window.
constexpr int kPaintSettleMs = 150;

// True when every pixel is the same: a window that was not painted yet.
bool IsBlank(const wxImage& image) {
  const unsigned char* rgb = image.GetData();
  const std::size_t bytes = static_cast<std::size_t>(image.GetWidth()) * image.GetHeight() * 3;
  for (std::size_t i = 3; i < bytes; ++i) {
    if (rgb[i] != rgb[i % 3]) return false;
  }
  return true;
}

wxImage Capture(wxWindow* window, bool fromScreen) {
  const wxSize size = window->GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  if (fromScreen) {
    wxScreenDC screen;
    const wxPoint origin = window->ClientToScreen(wxPoint(0, 0));
    memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
  } else {
    wxClientDC client(window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  }
  memory.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

}  // namespace

struct DialogPresenter::Showing {
  std::unique_ptr<DialogWindow> window;
  std::shared_ptr<WakeNote> note;
};

DialogPresenter::DialogPresenter() { NoteSink::Get().SetPresenter(this); }

DialogPresenter::~DialogPresenter() {
  NoteSink::Get().SetPresenter(nullptr);
  shown_.clear();
}

wxWindow* DialogPresenter::ActiveWindow() const {
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    auto found = shown_.find(*it);
    if (found != shown_.end()) return found->second->window->Client();
  }
  return owner_;
}

void DialogPresenter::Shown(fw::Dialog& dialog, bool modal) {
  auto showing = std::make_unique<Showing>();
  showing->note = std::make_shared<WakeNote>();
  showing->note->dialog = &dialog;
  showing->note->session = dialog.Queue().Session();
  showing->window = std::make_unique<DialogWindow>(dialog, ActiveWindow(), modal,
                                                   [this, &dialog] { TakeChanges(dialog); });
  dialog.Queue().SetWaker([note = showing->note] { NoteSink::Post(note); });
  shown_[&dialog] = std::move(showing);
  order_.push_back(&dialog);
}

void DialogPresenter::Changed(fw::Dialog& dialog, const std::vector<fw::ControlChange>& changes) {
  auto found = shown_.find(&dialog);
  if (found != shown_.end()) found->second->window->Apply(changes);
}

void DialogPresenter::TakeChanges(fw::Dialog& dialog) {
  std::vector<fw::ControlChange> changes = dialog.Queue().TakeChanges();
  if (!changes.empty()) Changed(dialog, changes);
}

void DialogPresenter::Ending(fw::Dialog& dialog) {
  dialog.Queue().SetWaker(nullptr);
  std::erase(order_, &dialog);
  auto found = shown_.find(&dialog);
  if (found == shown_.end()) return;
  // The note may still be queued: it names a showing no longer found, and is dropped.
  std::unique_ptr<Showing> showing = std::move(found->second);
  shown_.erase(found);
}

void DialogPresenter::DeliverModeless() {
  std::vector<fw::Dialog*> dialogs = order_;
  for (fw::Dialog* dialog : dialogs) {
    // A handler may have ended another of them meanwhile.
    if (!shown_.contains(dialog) || dialog->IsModal() || !dialog->OnDialogThread()) continue;
    dialog->DeliverPosted();
    if (shown_.contains(dialog)) TakeChanges(*dialog);
  }
}

void DialogPresenter::Deliver(const fw::Dialog* dialog, std::uint64_t session) {
  auto found = shown_.find(dialog);
  if (found == shown_.end() || found->second->note->session != session) return;
  auto* shown = const_cast<fw::Dialog*>(dialog);
  if (shown->Queue().Session() != session || !shown->OnDialogThread()) return;
  if (dialog == waiting_) {
    // Its modal loop delivers and takes the changes itself when the wait returns.
    waitingWoken_ = true;
    return;
  }
  shown->DeliverPosted();
  if (shown_.contains(dialog)) TakeChanges(*shown);
}

void DialogPresenter::Pump(int milliseconds) {
  // A loop of our own, as a modal dialog has: it works whether a main loop runs or not.
  wxGUIEventLoop loop;
  wxEventLoopActivator activate(&loop);
  const int dispatched = loop.DispatchTimeout(static_cast<unsigned long>(milliseconds));
  if (wxTheApp != nullptr) {
    wxTheApp->ProcessPendingEvents();
    if (dispatched < 0) wxTheApp->ProcessIdle();
  }
}

bool DialogPresenter::WaitUntil(fw::Dialog& dialog, Clock::time_point deadline) {
  const fw::Dialog* outer = std::exchange(waiting_, &dialog);
  bool ready = false;
  for (;;) {
    // Without waiting: a post or a wake since the last look.
    if (dialog.Queue().WaitUntil(Clock::now()) || std::exchange(waitingWoken_, false)) {
      ready = true;
      break;
    }
    const Clock::time_point now = Clock::now();
    if (now >= deadline) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    Pump(static_cast<int>(std::clamp<long long>(left.count(), 1, kPumpSliceMs)));
    if (dialog.IsEnded()) {
      ready = true;
      break;
    }
  }
  waiting_ = outer;
  return ready;
}

void DialogPresenter::Settle(fw::Dialog&) {
  wxGUIEventLoop loop;
  wxEventLoopActivator activate(&loop);
  // Bounded: a window system that keeps producing events does not hold the step up.
  for (int i = 0; i < 1000 && loop.Pending(); ++i) loop.Dispatch();
  if (wxTheApp != nullptr) {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
  }
}

fw::Status DialogPresenter::Screenshot(fw::Dialog& dialog, const std::wstring& path) {
  auto found = shown_.find(&dialog);
  if (found == shown_.end()) return fw::Status::Failure(L"the dialog has no window");
  wxDialog* window = found->second->window->Client();
  window->Raise();
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(kPaintSettleMs);
  while (Clock::now() < until) Pump(kPumpSliceMs);
  window->Update();
  wxImage image = Capture(window, false);
  if (!image.IsOk() || IsBlank(image)) image = Capture(window, true);
  if (!image.IsOk()) return fw::Status::Failure(L"the dialog's window could not be read");
  const std::size_t pixelBytes = static_cast<std::size_t>(image.GetWidth()) * image.GetHeight() * 3;
  fw::Result<std::vector<std::uint8_t>> png = fw::EncodePng(
      std::span<const std::uint8_t>(image.GetData(), pixelBytes), image.GetWidth(),
      image.GetHeight(), false);
  if (!png) return fw::Status::Failure(png.Message());
  const std::vector<std::uint8_t>& bytes = png.Value();
  fw::CFile file;
  fw::CFileException error(fw::CFileException::none, path);
  if (!file.Open(path, fw::CFile::modeCreate | fw::CFile::modeWrite | fw::CFile::typeBinary,
                 &error)) {
    return fw::Status::Failure(error.Message());
  }
  try {
    file.Write(bytes.data(), bytes.size());
    file.Close();
  } catch (const fw::CFileException& failure) {
    return fw::Status::Failure(failure.Message());
  }
  return fw::Status::Success();
}

}  // namespace gui

// Runs work on the GUI thread for a caller on any thread: on the GUI thread at once; from
// another (the loader reports its errors from its own) queued to the GUI thread while the caller
// waits for the answer, as a message box asked from a worker does on the platform.
#pragma once

#include <future>
#include <memory>
#include <thread>
#include <utility>

#include <wx/app.h>

namespace gui {

class GuiThread {
 public:
  // The calling thread is the GUI thread.
  GuiThread() : thread_(std::this_thread::get_id()) {}

  template <typename Work>
  auto Call(Work work) -> decltype(work()) {
    using Answer = decltype(work());
    if (std::this_thread::get_id() == thread_) return work();
    auto task = std::make_shared<std::packaged_task<Answer()>>(std::move(work));
    std::future<Answer> answer = task->get_future();
    wxTheApp->CallAfter([task] { (*task)(); });
    return answer.get();
  }

 private:
  std::thread::id thread_;
};

}  // namespace gui

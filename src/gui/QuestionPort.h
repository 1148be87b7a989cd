// Carries the framework's questions to the real question windows (WxQuestions) on the GUI
// thread: asked there, they are answered at once; asked from another thread (the loader reports
// its errors from its own), they are queued to the GUI thread and the asking thread waits for
// the answer, as a message box asked from a worker does on the platform.
#pragma once

#include <functional>
#include <future>
#include <memory>
#include <thread>

#include <wx/app.h>

#include "gui/WxQuestions.h"

namespace gui {

class QuestionPort {
 public:
  explicit QuestionPort(std::function<wxWindow*()> parent);

  WxQuestions& Questions() { return questions_; }
  // Runs `ask` on the GUI thread and returns what it returns.
  template <typename Ask>
  auto OnGuiThread(Ask ask) -> decltype(ask(std::declval<WxQuestions&>())) {
    using Answer = decltype(ask(questions_));
    if (std::this_thread::get_id() == guiThread_) return ask(questions_);
    auto task = std::make_shared<std::packaged_task<Answer()>>(
        [this, ask = std::move(ask)]() mutable { return ask(questions_); });
    std::future<Answer> answer = task->get_future();
    wxTheApp->CallAfter([task] { (*task)(); });
    return answer.get();
  }

 private:
  WxQuestions questions_;
  std::thread::id guiThread_;
};

}  // namespace gui

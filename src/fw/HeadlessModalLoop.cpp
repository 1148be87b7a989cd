// The headless driver's modal loop: posted messages, timers and script actions on the dialog's
// thread, with every wait bounded.
#include <algorithm>

#include "fw/BackgroundWork.h"
#include "fw/Dialog.h"
#include "fw/DialogDump.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Strings.h"
#include "fw/Transcript.h"
#include "fw/UserInput.h"

namespace fw {
namespace {

// How often wait-idle asks the background work again; posts to the dialog end a pause early.
constexpr std::chrono::milliseconds kIdlePollInterval{5};

std::wstring Seconds(std::chrono::milliseconds limit) {
  return std::to_wstring((limit.count() + 999) / 1000) + L" s";
}

}  // namespace

HeadlessUiDriver::Next HeadlessUiDriver::PeekNext(std::optional<UiStep>& head,
                                                   std::uint64_t& taken) const {
  std::lock_guard guard(lock_);
  taken = stepsTaken_;
  if (steps_.empty()) return Next::kNone;
  head = steps_.front();
  return head->IsAnswer() ? Next::kAnswer : Next::kAction;
}

std::optional<UiStep> HeadlessUiDriver::TakeAction() {
  std::lock_guard guard(lock_);
  if (steps_.empty() || steps_.front().IsAnswer()) return std::nullopt;
  UiStep step = std::move(steps_.front());
  steps_.pop_front();
  ++stepsTaken_;
  return step;
}

void HeadlessUiDriver::TakeNotes(Dialog& dialog) {
  // Without a presenter nothing is drawn: the state is read when a dump asks. The notes are
  // taken all the same, so that they coalesce as they do for a presenter that draws, and
  // counted.
  std::vector<ControlChange> changes = dialog.Queue().TakeChanges();
  if (changes.empty()) return;
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    ++changeNotes_;
    presenter = presenter_;
  }
  if (presenter != nullptr) presenter->Changed(dialog, changes);
}

bool HeadlessUiDriver::WaitUntil(Dialog& dialog, Clock::time_point deadline) {
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    presenter = presenter_;
  }
  if (presenter != nullptr) return presenter->WaitUntil(dialog, deadline);
  return dialog.Queue().WaitUntil(deadline);
}

void HeadlessUiDriver::DeliverAll(Dialog& dialog) {
  TakeNotes(dialog);
  dialog.DeliverPosted();
  std::vector<Dialog*> modeless;
  {
    std::lock_guard guard(lock_);
    modeless = modelessDialogs_;
  }
  for (Dialog* other : modeless) {
    {
      // A handler may have destroyed it meanwhile.
      std::lock_guard guard(lock_);
      if (std::find(modelessDialogs_.begin(), modelessDialogs_.end(), other) ==
          modelessDialogs_.end()) {
        continue;
      }
    }
    if (!other->OnDialogThread()) continue;
    other->DeliverPosted();
    TakeNotes(*other);
  }
  TakeNotes(dialog);
}

void HeadlessUiDriver::FireTimers(Dialog& dialog) {
  for (int id : dialog.TimerIds()) {
    if (dialog.IsEnded()) return;
    dialog.FireTimer(id);
  }
}

int HeadlessUiDriver::RunModal(Dialog& dialog) {
  dialog.BeginShowing(true);
  std::chrono::milliseconds limit;
  {
    std::lock_guard guard(lock_);
    modalDialogs_.push_back(&dialog);
    limit = waitLimit_;
  }
  // A handler that throws leaves the loop: the showing still ends and the driver forgets it.
  struct Showing {
    HeadlessUiDriver& driver;
    Dialog& dialog;
    ~Showing() {
      if (!dialog.IsShown()) return;
      if (driver.presenter_ != nullptr) driver.presenter_->Ending(dialog);
      dialog.FinishShowing();
      std::lock_guard guard(driver.lock_);
      std::erase(driver.modalDialogs_, &dialog);
    }
  } showing{*this, dialog};
  dialog.InitDialog();
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    Emit("ui: dialog " + TranscriptQuoted(dialog.GetWindowText()) + " shown");
    presenter = presenter_;
  }
  if (presenter != nullptr) presenter->Shown(dialog, true);
  bool escapeSent = false;
  Clock::time_point escapeDeadline;
  std::uint64_t waitedAfter = ~std::uint64_t{0};
  Clock::time_point answerDeadline;
  for (;;) {
    DeliverAll(dialog);
    if (dialog.IsEnded()) break;
    std::optional<UiStep> head;
    std::uint64_t taken = 0;
    switch (PeekNext(head, taken)) {
      case Next::kAction: {
        FireTimers(dialog);
        DeliverAll(dialog);
        if (dialog.IsEnded()) break;
        if (presenter != nullptr) {
          // The window system's own events first: the step meets an idle dialog.
          presenter->Settle(dialog);
          DeliverAll(dialog);
          if (dialog.IsEnded()) break;
        }
        if (std::optional<UiStep> step = TakeAction()) RunAction(dialog, *step);
        break;
      }
      case Next::kAnswer: {
        // A question will take it: from a handler of a posted message, another thread, or
        // after this dialog ends. Wait for a post, a note or the answer being taken.
        if (taken != waitedAfter) {
          waitedAfter = taken;
          answerDeadline = Clock::now() + limit;
        }
        if (Clock::now() >= answerDeadline) {
          Fail(&*head, L"no question took this answer while the dialog \"" +
                           dialog.GetWindowText() + L"\" waited " + Seconds(limit));
          break;
        }
        WaitUntil(dialog, answerDeadline);
        break;
      }
      case Next::kNone: {
        if (!escapeSent) {
          escapeSent = true;
          escapeDeadline = Clock::now() + limit;
          // Straight to the dialog: a window holding the mouse capture would take a user's
          // Escape, and the script has no step left to press it again.
          dialog.ProcessKey(Key::kEscape);
          break;
        }
        if (Clock::now() >= escapeDeadline) {
          Fail(nullptr, L"the dialog \"" + dialog.GetWindowText() + L"\" did not end within " +
                            Seconds(limit) + L" after Escape");
          dialog.EndDialog(IDCANCEL);
          break;
        }
        WaitUntil(dialog, escapeDeadline);
        break;
      }
    }
  }
  int code = dialog.EndCode();
  if (presenter != nullptr) presenter->Ending(dialog);
  dialog.FinishShowing();
  {
    std::lock_guard guard(lock_);
    std::erase(modalDialogs_, &dialog);
    Emit("ui: dialog " + TranscriptQuoted(dialog.GetWindowText()) + " ended " +
         std::to_string(code));
  }
  return code;
}

void HeadlessUiDriver::ShowModeless(Dialog& dialog) {
  dialog.BeginShowing(false);
  {
    std::lock_guard guard(lock_);
    modelessDialogs_.push_back(&dialog);
  }
  dialog.InitDialog();
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    Emit("ui: dialog " + TranscriptQuoted(dialog.GetWindowText()) + " shown");
    presenter = presenter_;
  }
  if (presenter != nullptr) presenter->Shown(dialog, false);
}

void HeadlessUiDriver::DestroyModeless(Dialog& dialog) {
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    std::erase(modelessDialogs_, &dialog);
    Emit("ui: dialog " + TranscriptQuoted(dialog.GetWindowText()) + " destroyed");
    presenter = presenter_;
  }
  if (presenter != nullptr && dialog.IsShown()) presenter->Ending(dialog);
  dialog.FinishShowing();
}

bool HeadlessUiDriver::WaitIdle(Dialog& dialog) {
  std::chrono::milliseconds limit;
  {
    std::lock_guard guard(lock_);
    limit = waitLimit_;
  }
  Clock::time_point deadline = Clock::now() + limit;
  for (;;) {
    DeliverAll(dialog);
    if (dialog.IsEnded()) return true;
    if (IsBackgroundIdle()) {
      // What the work posted before it went idle is delivered before the next step.
      DeliverAll(dialog);
      return true;
    }
    Clock::time_point now = Clock::now();
    if (now >= deadline) return false;
    WaitUntil(dialog, std::min(deadline, now + kIdlePollInterval));
  }
}

void HeadlessUiDriver::RunAction(Dialog& dialog, const UiStep& step) {
  UserInput input(dialog);
  auto emitAll = [this](const std::vector<std::string>& lines) {
    std::lock_guard guard(lock_);
    for (const std::string& line : lines) Emit(line);
  };
  // The item an action names by its text.
  auto item = [&](Status& status) {
    Result<int> found = input.FindItem(step.id, step.text);
    if (!found) status = Status::Failure(found.Message());
    return found ? found.Value() : -1;
  };
  Status status = Status::Success();
  switch (step.verb) {
    case StepVerb::kClick:
      status = input.Click(step.id);
      break;
    case StepVerb::kCheck:
      status = input.SetCheck(step.id, step.on);
      break;
    case StepVerb::kText:
      status = input.Type(step.id, step.text);
      break;
    case StepVerb::kKey:
      status = input.PressKey(step.id, step.key);
      break;
    case StepVerb::kChoose: {
      int position = item(status);
      if (status) status = input.ChooseItem(step.id, position);
      break;
    }
    case StepVerb::kAltClick: {
      // Without an item: a click with Alt held on the list's empty space.
      if (!step.hasText) {
        status = input.ClickEmpty(step.id, true);
        break;
      }
      int position = item(status);
      if (status) status = input.ChooseItem(step.id, position, true);
      break;
    }
    case StepVerb::kDoubleClick: {
      int position = item(status);
      if (status) status = input.DoubleClickItem(step.id, position);
      break;
    }
    case StepVerb::kRightClick: {
      int position = step.hasText ? item(status) : -1;
      if (status) status = input.RightClick(step.id, position);
      break;
    }
    case StepVerb::kColumn:
      status = input.ClickColumn(step.id, step.number);
      break;
    case StepVerb::kLabel: {
      int position = item(status);
      if (status) status = input.EditLabel(step.id, position, step.newText);
      break;
    }
    case StepVerb::kDrop:
      status = input.DropDown(step.id);
      break;
    case StepVerb::kTip: {
      int position = item(status);
      if (!status) break;
      Result<std::wstring> tip = input.InfoTip(step.id, position);
      if (!tip) {
        status = Status::Failure(tip.Message());
        break;
      }
      emitAll({"ui: tip " + std::to_string(step.id) + " " + TranscriptQuoted(step.text) + " " +
               TranscriptQuoted(tip.Value())});
      break;
    }
    case StepVerb::kWaitIdle:
      if (!WaitIdle(dialog)) {
        std::lock_guard guard(lock_);
        status = Status::Failure(L"the background work was still busy after " + Seconds(waitLimit_));
      }
      break;
    case StepVerb::kDump: {
      Control* control = dialog.GetDlgItem(step.id);
      if (control == nullptr) {
        status = Status::Failure(L"no control " + std::to_wstring(step.id));
        break;
      }
      emitAll(DumpControl(*control));
      break;
    }
    case StepVerb::kDumpDialog:
      emitAll(DumpDialog(dialog));
      break;
    case StepVerb::kClose:
      input.Cancel();
      break;
    case StepVerb::kScreenshot:
      status = Screenshot(dialog, step);
      break;
    case StepVerb::kAnswerMessage:
    case StepVerb::kAnswerMenu:
    case StepVerb::kAnswerFolder:
    case StepVerb::kAnswerFile:
    case StepVerb::kAnswerPrint:
    case StepVerb::kAnswerColor:
      // Answers wait for their questions; TakeAction never hands one out.
      break;
  }
  if (!status) Fail(&step, status.Message());
}

// The script's PATH goes into the line as it was written, so the transcript holds no absolute
// path; the file is written where the PATH leads from the current folder.
Status HeadlessUiDriver::Screenshot(Dialog& dialog, const UiStep& step) {
  UiPresenter* presenter = nullptr;
  {
    std::lock_guard guard(lock_);
    presenter = presenter_;
  }
  std::string shown = "ui: screenshot " + TranscriptQuoted(step.text) + " -> ";
  if (presenter == nullptr) {
    std::lock_guard guard(lock_);
    Emit(shown + "no windows");
    return Status::Success();
  }
  presenter->Settle(dialog);
  Status saved = presenter->Screenshot(dialog, AnswerPath(step.text));
  if (saved) {
    std::lock_guard guard(lock_);
    Emit(shown + "saved");
  }
  return saved;
}

}  // namespace fw

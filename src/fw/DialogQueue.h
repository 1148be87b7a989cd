// The posted-message queue of one dialog, and the notes that tell its presenter which controls
// changed. The dialog and every DialogHandle share it, so a thread that posts never touches a
// dialog that has gone: a post to a showing that has ended is dropped.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "fw/Notify.h"

namespace fw {

// What changed in a control since its presenter last looked; the presenter reads the control's
// current state, so several changes of one kind make one note.
enum ChangeFlags : unsigned {
  kChangeText = 0x01,       // caption or text
  kChangeState = 0x02,      // enabled, visible, checked, styles, position, focus
  kChangeItems = 0x04,      // items added, removed, reordered, or their texts or images
  kChangeSelection = 0x08,  // selection or item states
  kChangeLayout = 0x10,     // view, columns, image lists, scrolling, range
};

// The index under which changes of the dialog itself (caption, size) are noted.
inline constexpr int kDialogChangeIndex = -1;

struct ControlChange {
  int controlIndex = 0;  // position in the dialog's template, or kDialogChangeIndex
  unsigned flags = 0;
};

class DialogQueue {
 public:
  enum class Kind {
    kCommand,    // value: the command id
    kEndDialog,  // value: the end code
    kNotify,     // a control's notification raised on another thread
  };
  struct Message {
    Kind kind = Kind::kCommand;
    int value = 0;
    Notify notify;
  };
  using Clock = std::chrono::steady_clock;

  // Dialog thread: starts a showing run by the calling thread; returns its number, which posts
  // must carry. Messages and notes left from an earlier showing are gone.
  std::uint64_t Open();
  // Dialog thread: ends the showing; what is queued is dropped, and so is every later post.
  void Close();
  bool IsOpen() const;
  // The showing now open (0 when none).
  std::uint64_t Session() const;
  // True on the thread that opened the showing now open.
  bool OnDialogThread() const;

  // Any thread. Queues the message for the showing `session`; false (dropped) when that showing
  // is not open.
  bool Post(std::uint64_t session, Message message);
  // Dialog thread: the oldest queued message.
  std::optional<Message> TakeNext();
  bool HasMessages() const;
  // Dialog thread: waits until a message is queued, Wake is called, or the deadline passes; true
  // unless the deadline passed. Change notes do not end the wait: a presenter that draws is
  // woken by its waker and repaints at its own pace.
  bool WaitUntil(Clock::time_point deadline);
  // Any thread: ends a wait early (the presenter has something else to look at).
  void Wake();

  // Any thread: notes that a control changed. The first note after the presenter took the
  // changes wakes it; further notes only add flags.
  void NoteChange(int controlIndex, unsigned flags);
  // Presenter, on the dialog thread: the changes since the last call, each control once.
  std::vector<ControlChange> TakeChanges();

  // The presenter's way to wake its event loop, called on the posting thread after each post and
  // each first note, without any lock held. It may run once more after it was replaced, so it
  // must stay safe to call for the life of the process.
  void SetWaker(std::function<void()> waker);

 private:
  void Signal(std::unique_lock<std::mutex>& guard);

  mutable std::mutex lock_;
  std::condition_variable signalled_;
  std::uint64_t session_ = 0;
  std::uint64_t lastSession_ = 0;
  std::thread::id thread_;
  bool woken_ = false;
  std::deque<Message> messages_;
  std::vector<unsigned> pendingFlags_;  // by control index + 1 (the dialog itself first)
  std::vector<int> dirtyControls_;      // the indexes with flags, in the order first noted
  std::function<void()> waker_;
};

}  // namespace fw

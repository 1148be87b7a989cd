// A handle through which any thread posts to one showing of a dialog: commands and the end of
// the modal loop, delivered in order on the dialog's thread. Holding a handle keeps the queue,
// never the dialog: once that showing has ended, posts are dropped, so a worker that outlives
// the dialog cannot reach it.
#pragma once

#include <cstdint>
#include <memory>

#include "fw/Notify.h"

namespace fw {

class DialogQueue;

class DialogHandle {
 public:
  DialogHandle() = default;  // posts nowhere

  // Any thread. Each returns false when the showing has ended (the post was dropped).
  bool PostCommand(int id) const;
  bool EndDialog(int code) const;
  bool PostNotify(Notify notify) const;
  // True while the showing is open.
  bool IsOpen() const;

 private:
  friend class Dialog;
  DialogHandle(std::shared_ptr<DialogQueue> queue, std::uint64_t session)
      : queue_(std::move(queue)), session_(session) {}

  std::shared_ptr<DialogQueue> queue_;
  std::uint64_t session_ = 0;
};

}  // namespace fw

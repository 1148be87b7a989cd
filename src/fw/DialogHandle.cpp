// Posting to a dialog's showing from any thread.
#include "fw/DialogHandle.h"

#include <utility>

#include "fw/DialogQueue.h"

namespace fw {

bool DialogHandle::PostCommand(int id) const {
  if (!queue_) return false;
  return queue_->Post(session_, DialogQueue::Message{DialogQueue::Kind::kCommand, id, {}});
}

bool DialogHandle::EndDialog(int code) const {
  if (!queue_) return false;
  return queue_->Post(session_, DialogQueue::Message{DialogQueue::Kind::kEndDialog, code, {}});
}

bool DialogHandle::PostNotify(Notify notify) const {
  if (!queue_) return false;
  return queue_->Post(session_,
                      DialogQueue::Message{DialogQueue::Kind::kNotify, 0, std::move(notify)});
}

bool DialogHandle::IsOpen() const { return queue_ && queue_->Session() == session_ && session_ != 0; }

}  // namespace fw

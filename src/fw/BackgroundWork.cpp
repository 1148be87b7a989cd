// The installed background-idle question.
#include "fw/BackgroundWork.h"

#include <mutex>
#include <utility>

namespace fw {
namespace {

struct IdleCheck {
  std::mutex lock;
  std::function<bool()> check;
};

// Never destroyed, so a module unloading at exit can still remove its hook.
IdleCheck& TheIdleCheck() {
  static IdleCheck* const idleCheck = new IdleCheck;
  return *idleCheck;
}

}  // namespace

void SetBackgroundIdleCheck(std::function<bool()> check) {
  IdleCheck& idleCheck = TheIdleCheck();
  std::lock_guard guard(idleCheck.lock);
  idleCheck.check = std::move(check);
}

bool IsBackgroundIdle() {
  std::function<bool()> check;
  {
    IdleCheck& idleCheck = TheIdleCheck();
    std::lock_guard guard(idleCheck.lock);
    check = idleCheck.check;
  }
  // Asked without the lock, so the hook may be replaced while it runs.
  return !check || check();
}

}  // namespace fw

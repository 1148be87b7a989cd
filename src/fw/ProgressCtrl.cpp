// The progress bar's range and position.
#include "fw/ProgressCtrl.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace fw {

void ProgressCtrl::SetRange(short lower, short upper) {
  SetRange32(static_cast<std::uint16_t>(lower), static_cast<std::uint16_t>(upper));
}

void ProgressCtrl::SetRange32(int lower, int upper) {
  {
    std::lock_guard guard(lock_);
    lower_ = lower;
    upper_ = upper;
    position_ = Clamp(position_);
  }
  NoteChange(kChangeLayout);
}

void ProgressCtrl::GetRange(int& lower, int& upper) const {
  std::lock_guard guard(lock_);
  lower = lower_;
  upper = upper_;
}

int ProgressCtrl::SetPos(int position) {
  int previous;
  {
    std::lock_guard guard(lock_);
    previous = position_;
    position_ = Clamp(position);
    if (position_ == previous) return previous;
  }
  NoteChange(kChangeState);
  return previous;
}

int ProgressCtrl::GetPos() const {
  std::lock_guard guard(lock_);
  return position_;
}

int ProgressCtrl::OffsetPos(int delta) { return SetPos(GetPos() + delta); }

int ProgressCtrl::SetStep(int step) {
  std::lock_guard guard(lock_);
  return std::exchange(step_, step);
}

// Stepping past the end starts again at the bottom, as the platform's bar does.
int ProgressCtrl::StepIt() {
  int previous;
  {
    std::lock_guard guard(lock_);
    previous = position_;
    long long next = static_cast<long long>(position_) + step_;
    position_ = next > upper_ ? lower_ + static_cast<int>(next - upper_) : static_cast<int>(next);
    position_ = Clamp(position_);
  }
  NoteChange(kChangeState);
  return previous;
}

int ProgressCtrl::Clamp(int position) const {
  int low = std::min(lower_, upper_);
  int high = std::max(lower_, upper_);
  return std::clamp(position, low, high);
}

}  // namespace fw

// A progress bar: a range and a position inside it. Any thread (see Control); the printing loop
// moves it from the dialog's thread while the presenter shows it.
#pragma once

#include "fw/Control.h"

namespace fw {

class ProgressCtrl final : public Control {
 public:
  using Control::Control;

  // The 16-bit range of the platform's first call (values as unsigned 16-bit numbers), and the
  // 32-bit one. The position is kept inside the range.
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  // Each returns the previous position.
  int SetPos(int position);
  int GetPos() const;
  int OffsetPos(int delta);
  int SetStep(int step);
  int StepIt();

 private:
  int Clamp(int position) const;  // under lock_

  int lower_ = 0;
  int upper_ = 100;
  int position_ = 0;
  int step_ = 10;
};

}  // namespace fw

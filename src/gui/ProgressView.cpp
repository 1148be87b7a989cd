// Progress bars as wx gauges over the model's range.
#include "gui/ProgressView.h"

#include <wx/gauge.h>

#include "fw/ProgressCtrl.h"
#include "gui/DialogWindow.h"

namespace gui {

ProgressView::ProgressView(DialogWindow& owner, fw::Control& control)
    : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  gauge_ = new wxGauge(owner.Client(), wxID_ANY, 100, rect.GetPosition(), rect.GetSize());
  Update(fw::kChangeState | fw::kChangeLayout);
}

wxWindow* ProgressView::Window() { return gauge_; }

void ProgressView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  auto& progress = static_cast<fw::ProgressCtrl&>(Control());
  int lower = 0;
  int upper = 0;
  progress.GetRange(lower, upper);
  // wx gauges start at 0: the model's range is shifted there.
  const int range = upper > lower ? upper - lower : 1;
  if (gauge_->GetRange() != range) gauge_->SetRange(range);
  const int value = std::clamp(progress.GetPos() - lower, 0, range);
  if (gauge_->GetValue() != value) gauge_->SetValue(value);
}

}  // namespace gui

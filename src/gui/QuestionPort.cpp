// The questions' way to the GUI thread.
#include "gui/QuestionPort.h"

namespace gui {

QuestionPort::QuestionPort(std::function<wxWindow*()> parent)
    : questions_(std::move(parent)), guiThread_(std::this_thread::get_id()) {}

}  // namespace gui

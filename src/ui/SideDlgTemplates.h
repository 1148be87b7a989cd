// The templates of the main dialog's side dialogs, among the module's resources.
#pragma once

#include "fw/DialogTemplate.h"

namespace ui {

fw::DialogTemplate PrefsTemplate();
fw::DialogTemplate DirPropsTemplate();
fw::DialogTemplate EditDescTemplate();

}  // namespace ui

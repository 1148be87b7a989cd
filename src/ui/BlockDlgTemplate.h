// The main dialog's template: every control with its id, kind, caption, position and styles.
#pragma once

#include "fw/DialogTemplate.h"

namespace ui {

// The template of BlockDlg, with the id kBlockDlgTemplateId; the module registers it among its
// resources.
fw::DialogTemplate BlockDlgTemplate();

}  // namespace ui

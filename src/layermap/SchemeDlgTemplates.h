// The templates of the three scheme dialogs, among the module's resources.
#pragma once

#include "fw/DialogTemplate.h"

namespace layermap {

fw::DialogTemplate SchemePrefsTemplate();
fw::DialogTemplate SchemeTypeTemplate();
fw::DialogTemplate NewMapTemplate();

}  // namespace layermap

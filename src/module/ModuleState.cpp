#include "module/ModuleState.h"

namespace module {

ModuleState& TheModule() {
  static ModuleState state;
  return state;
}

}  // namespace module

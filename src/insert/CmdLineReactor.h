// The editor reactor that finishes an insertion after the host's command has ended.
#pragma once

#include "arx/aced.h"

namespace insert {

// One instance for the life of the module; attached to the host editor at set-up and removed
// at quit. Its notifications run on the host's main thread.
class CmdLineReactor : public AcEditorReactor {};

CmdLineReactor& TheCmdLineReactor();

}  // namespace insert

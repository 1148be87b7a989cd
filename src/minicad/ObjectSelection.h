// The host's "Select objects:" prompt, as commands without a pointing device take it: Last (the
// last object drawn), ALL (every object of model space), or an AutoLISP expression naming an
// object, such as (entlast); Enter ends the selection.
#pragma once

#include <optional>
#include <vector>

#include "arx/dbid.h"

namespace minicad {

class CommandContext;

// The objects chosen, in the order chosen, each once; nothing when the command is over
// (cancelled, or failed on an answer that selects nothing the host understands).
std::optional<std::vector<AcDbObjectId>> SelectObjects(CommandContext& context);

}  // namespace minicad

// The prompts -INSERT and -XREF share once the block is known: the insertion point (with the
// Scale and Rotate options that fix scale and rotation beforehand), then the scale factors and
// the rotation that were not fixed.
#pragma once

#include <optional>

#include "arx/gepnt3d.h"
#include "arx/gescl3d.h"

namespace minicad {

class CommandContext;

struct InsertPlacement {
  AcGePoint3d position;
  AcGeScale3d scale;
  double rotation = 0;  // radians
};

// Nothing when the command is over (cancelled, or failed on an answer it cannot use).
std::optional<InsertPlacement> AskInsertPlacement(CommandContext& context);

}  // namespace minicad

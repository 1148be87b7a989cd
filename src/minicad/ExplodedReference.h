// Exploding a block reference: the block's objects as the reference places them.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "arx/dbents.h"

namespace minicad {

// Copies of the block's objects (belonging to no database, with the block's layers, colours
// and linetypes), moved, scaled and rotated as the reference places the block; a nested
// reference stays a reference. Nothing when the reference cannot be exploded: an external
// reference, a block of a drawing this host cannot read, or a reference scaled differently
// along x and y (its circles would become ellipses).
std::optional<std::vector<std::unique_ptr<AcDbEntity>>> ExplodeReference(
    const AcDbBlockReference& reference);

}  // namespace minicad

// Reading the body of a drawing file (layout in DrawingBodyFormat.h) into an empty database.
#pragma once

#include <cstdint>
#include <span>

#include "fw/Result.h"

class AcDbImpDatabase;

namespace minicad {

// Fills `database`, which must be empty (built without a default drawing). Every count, index,
// length and number is checked before it is used: a body that is cut short, names a record that
// does not exist, holds a name that cannot be one, a number that is no ordinary number, or a
// block that places itself fails with a text naming what and where, and so does content whose
// check sum does not match (unless `verifyChecksum` is off, for fuzzing the reader behind it).
// On failure `database` holds part of the drawing and is to be thrown away.
fw::Status DecodeDrawing(std::span<const std::uint8_t> body, AcDbImpDatabase& database,
                         bool verifyChecksum = true);

}  // namespace minicad

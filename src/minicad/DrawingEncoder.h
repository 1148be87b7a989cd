// Writing a database as the body of a drawing file (layout in DrawingBodyFormat.h).
#pragma once

#include <cstdint>
#include <vector>

class AcDbImpDatabase;

namespace minicad {

// The database as it is now. Objects open for write by the caller are written as they are.
std::vector<std::uint8_t> EncodeDrawing(const AcDbImpDatabase& database);

}  // namespace minicad

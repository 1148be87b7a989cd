// What DBLIST prints: every object of a drawing, one line each.
//
// Line form, fields separated by " | ":
//   OWNER | TYPE | layer LAYER | color INDEX | linetype LINETYPE
// and for a block reference five more fields:
//   | block NAME | at X,Y,Z | scale SX,SY,SZ | rotation DEGREES
// OWNER is "*Model_Space" or the name of the block the object belongs to; TYPE is LINE, CIRCLE,
// ARC, TEXT, ATTDEF, DIMENSION or INSERT; INDEX is 0 (ByBlock) to 256 (ByLayer); LINETYPE is the
// name as the drawing has it ("ByLayer", "Continuous", "HIDDEN"). Numbers have at most six
// decimals, without trailing zeros ("10", "2.5", "-0.333333"). Model space comes first, then
// each block definition in the order of the block table (layouts and erased blocks left out);
// objects in the order they were added, erased ones left out. Names are written as they are.
#pragma once

#include <string>
#include <vector>

class AcDbImpDatabase;

namespace minicad {

std::vector<std::wstring> ListDrawing(const AcDbImpDatabase& database);

// A number as the list writes it.
std::wstring ListNumber(double value);

}  // namespace minicad

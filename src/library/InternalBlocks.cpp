// The internal directory's blocks: the block definitions of the current drawing.
#include "library/LoaderControl.h"

namespace library {

// FIXME: the current drawing's block table comes with the host's drawing database; until then
// the internal directory lists nothing.
std::vector<InternalBlock> ReadInternalBlocks() { return {}; }

}  // namespace library

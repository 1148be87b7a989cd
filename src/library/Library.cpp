#include "library/Library.h"

namespace library {

// FIXME: the library model comes with the directories and their cache files; until then the
// library is always empty.
void EmptyLibrary() {}

}  // namespace library

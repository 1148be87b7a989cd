// The lock over the fields of blocks that the dialog shows while the loader works.
#pragma once

#include <shared_mutex>

namespace library {

// The loader thread holds it exclusively while it changes a block's facts (status, flags, the
// probe's results); the dialog's thread holds it shared while it reads blocks it shows (the
// properties box, sort keys). Held only for such short reads and writes, never while waiting for
// another thread, and never while the library lock is taken after it (the library lock comes
// first when both are held).
std::shared_mutex& BlockFieldsLock();

}  // namespace library

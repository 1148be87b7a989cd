#include "library/Loader.h"

namespace library {

// FIXME: the loader thread comes with the directory loader; until then no loader ever runs, so
// there is nothing to stop or requeue.
void StopLoader() {}

void RequeueCurrent() {}

bool IsLoaderRunning() { return false; }

fw::CEvent& LoaderStoppedEvent() {
  static fw::CEvent stopped(false, false);
  return stopped;
}

}  // namespace library

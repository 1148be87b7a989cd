#include "insert/CmdLineReactor.h"

namespace insert {

// FIXME: the reactor acts on the ends of "-INSERT", "-XREF" and "EXPLODE" once insertions exist;
// until then it keeps the editor's do-nothing notifications.
CmdLineReactor& TheCmdLineReactor() {
  static CmdLineReactor reactor;
  return reactor;
}

}  // namespace insert

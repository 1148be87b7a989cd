// The QUORVA button on the shared ribbon or toolbar.
#include "module/Exports.h"

// FIXME: the button is handed to the ribbon assembly or the toolbar module once those outside
// components have stand-ins; until then there is nothing to hand it to.
int TarveshSetupToolbar() { return 1; }

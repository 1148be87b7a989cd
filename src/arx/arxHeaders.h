// Everything of the host interface that the module uses, in one include.
#pragma once

#include "arx/accmd.h"
#include "arx/acdocman.h"
#include "arx/aced.h"
#include "arx/acutads.h"
#include "arx/adesk.h"
#include "arx/rxdefs.h"
#include "arx/rxdlinkr.h"
#include "arx/rxobject.h"

// Everything of the host interface that the module uses, in one include.
#pragma once

#include "arx/accmd.h"
#include "arx/acdbads.h"
#include "arx/acdocman.h"
#include "arx/aced.h"
#include "arx/acedads.h"
#include "arx/acutads.h"
#include "arx/adesk.h"
#include "arx/adscodes.h"
#include "arx/adsdef.h"
#include "arx/dbid.h"
#include "arx/rxdefs.h"
#include "arx/rxdlinkr.h"
#include "arx/rxobject.h"

// Utility functions of the host: printing on its command line.
#pragma once

#include "arx/adesk.h"

// Prints on the host's command line with the runtime's wide printf rules; returns the number of
// characters printed.
int acutPrintf(const ACHAR* format, ...);

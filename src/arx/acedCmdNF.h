// Running a host command synchronously from module code.
#pragma once

#include "arx/adsdef.h"

class AcApDocument;

// Runs the command the token list names, inside the running command of the current document,
// as a nested command that editor reactors hear. Each element answers the next prompt: text
// as typed (a name may hold blanks), numbers and points written out, RTNONE for Enter, and the
// text "\\" for a pause, where the next input line answers instead. When the list runs out the
// command takes its answers from the input as usual. RTNORM when the command ended, RTCAN when
// it was cancelled, RTERROR when it failed, is unknown, the list holds a value of another type,
// or no document command runs. The list stays the caller's.
int acedCmdS(const resbuf* rb, bool forFutureUse = false, AcApDocument* pForFutureUse = nullptr);

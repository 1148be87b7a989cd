// The one hook through which the framework asks whether the module's background work (the
// directory loader) is idle: its queue empty and the thread waiting for work. The headless
// driver's `wait-idle` step asks it; with no hook installed the work counts as idle.
#pragma once

#include <functional>

namespace fw {

// Installs the question (an empty function removes it). It is asked on the dialog's thread
// while the loader may run, so it must only read state the loader guards, and must not wait
// for the dialog's thread.
void SetBackgroundIdleCheck(std::function<bool()> check);
// Any thread.
bool IsBackgroundIdle();

}  // namespace fw

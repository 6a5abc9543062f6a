#pragma once

namespace qb::app {
// Waits `milliseconds` (0 up to one day) in 50 ms steps, processing the calling thread's
// pending events before each step, so the window stays responsive and other handlers may run
// inside the wait (among them the calls of jobs to the window's thread). The loop runs at
// least once: every wait lasts at least 50 ms, also for 0 or a negative number. On a thread
// without events it is a plain pause in 50 ms steps.
void ResponsiveWait(int milliseconds);
} // namespace qb::app

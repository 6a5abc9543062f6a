#pragma once

namespace qb::app {
// Waits `milliseconds` (0 up to one day), handling the calling thread's events as they come
// meanwhile, so the window stays responsive and other handlers may run inside the wait (among
// them the calls of jobs to the window's thread). Every wait lasts at least 50 ms, also for 0
// or a negative number, and handles the events pending when it begins. On a thread without
// events it is a plain pause.
void ResponsiveWait(int milliseconds);
} // namespace qb::app

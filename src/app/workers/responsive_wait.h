#pragma once

namespace qb::app {
// Waits `milliseconds` (0 up to one day) in 50 ms steps, processing the calling thread's
// pending events before each step, so the window stays responsive and other handlers may run
// inside the wait. The loop runs at least once: every wait lasts at least 50 ms.
void ResponsiveWait(int milliseconds);
} // namespace qb::app

#pragma once

#include <functional>

namespace qb::net {

// True on the thread of the application object (the window's thread); false when there is no
// application object.
bool onApplicationThread();

// Runs `work` on a thread of its own while the calling thread keeps processing its events, and
// returns when `work` has returned. Handlers may therefore run inside this call. An exception
// of `work` is raised again here.
void runWhileProcessingEvents(const std::function<void()>& work);

} // namespace qb::net

#pragma once

#include <functional>

namespace qb::app {

// The places where the window's thread handles events while a handler is still running: other
// handlers may run there and replace the window's state under the waiting one.
enum class NestedLoop {
    Wait,       // the shared wait (ResponsiveWait)
    Request,    // a blocking request that keeps events flowing, or work run that way
    Events,     // a handler lets the window handle its pending events (processPendingEvents)
    ViewScript, // an awaited script or load of the information view
    Dialog,     // a modal dialog or message box
};

// Test seam: `observer` runs on the application's thread at the start of every nested event
// loop, as a handler that runs inside the loop would; an empty function removes it. It is not
// run again while it runs, so it may itself enter nested loops.
void setNestedLoopObserver(std::function<void(NestedLoop)> observer);

// Tells the observer that the calling thread begins a nested loop of this kind; does nothing
// off the application's thread or without an observer.
void nestedLoopBegins(NestedLoop kind);

// Lets the window handle its pending events in the middle of a handler, as
// QCoreApplication::processEvents() does.
void processPendingEvents();

} // namespace qb::app

#pragma once
// Accessibility events the program raises itself (an announced warning, the focus back on a
// cell), through one door: Qt passes them on to a screen reader while one is listening, and a
// watcher (the tests') sees every one of them, listening or not.

#include <functional>

class QAccessibleEvent;

namespace movik {

void RaiseAccessibleEvent(QAccessibleEvent* event);

// Sees every event raised above; an empty function stops watching.
void WatchAccessibleEvents(std::function<void(QAccessibleEvent*)> watcher);

}  // namespace movik

#pragma once

namespace led {

// Waits without freezing the window: a local event loop runs until the time is up.
void PauseMs(int ms);

// The same wait for the places that must not return before the time is up, even when
// the event loop is asked to quit early.
void BusyWaitMs(int ms);

} // namespace led

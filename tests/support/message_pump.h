// Bounded message pumping for tests: drain what is pending, or wait a little for
// something asynchronous (posted messages, timers) to arrive.
#pragma once
#include <windows.h>
#include <functional>

namespace testsupport {

// Dispatches every pending message of this thread; stops after maxMessages so a
// window that keeps posting to itself cannot hang a test. Returns the count.
int PumpPending(int maxMessages = 10000);

// Pumps until pred() is true or timeoutMs passed. Returns pred()'s last value.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 2000);

// Pumps for about the given time (timers, delayed shows).
void PumpFor(DWORD ms);

}  // namespace testsupport
